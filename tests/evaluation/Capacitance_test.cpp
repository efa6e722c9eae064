// Capacitance, loss tangent and permittivity from a single-frequency reading, and the electrode
// area of the four geometries.
#include "evaluation/Capacitance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace ymt;

namespace {
constexpr double kPi = 3.14159265358979323846;
}

TEST(Capacitance, PureCapacitiveReadingGivesItsCapacitanceAndNoLoss) {
    const double z = 1 / (2 * kPi * 1000 * 100e-9); // 100 nF at 1 kHz
    const CapacitanceValues v = CapacitanceFromReading(1.0, z, -90.0);
    EXPECT_NEAR(v.CapNF, 100.0, 1e-9);
    EXPECT_LT(v.TanD, 1e-9);
    EXPECT_EQ(ResultText(CapacitanceResult(v.CapNF)), QStringLiteral("100.000"));
}

TEST(Capacitance, LossyReadingGivesCotangentOfTheta) {
    // theta = -89 degrees: tand = cot(89°) = 0.017455 -> 174.55 in units of 1e-4.
    const double z = 2000;
    const CapacitanceValues v = CapacitanceFromReading(10.0, z, -89.0);
    const double theta = -89.0 * kPi / 180;
    EXPECT_NEAR(v.CapNF, -1 / (std::sin(theta) * 2 * kPi * 10000 * z) * 1e9, 1e-12);
    EXPECT_NEAR(v.TanD, std::fabs(std::cos(theta) / std::sin(theta)) * 1e4, 1e-9);
}

TEST(Capacitance, NothingMeasuredGivesZeroAndDashesNeverInfinity) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double readings[][3] = {{1, 0, -90},   {1, 1000, 0},   {0, 1000, -90},   {-1, 1000, -90},
                                  {1, nan, -90}, {1, 1000, nan}, {inf, 1000, -90}, {1, 1000, 180}};
    for (const auto& r : readings) {
        const CapacitanceValues v = CapacitanceFromReading(r[0], r[1], r[2]);
        EXPECT_TRUE(std::isfinite(v.CapNF) && std::isfinite(v.TanD)) << r[0] << ' ' << r[1];
        if (r[2] != 180) {
            EXPECT_EQ(v.CapNF, 0) << r[0] << ' ' << r[1] << ' ' << r[2];
            EXPECT_EQ(v.TanD, 0);
        }
        EXPECT_FALSE(ResultText(CapacitanceResult(v.CapNF)).contains(QStringLiteral("inf")));
    }
    EXPECT_EQ(ResultText(CapacitanceResult(0)), QStringLiteral("---"));
    EXPECT_EQ(ResultText(LossTangentResult(0, LossTangentUnit::Per10000)), QStringLiteral("---"));
    EXPECT_EQ(ResultText(PermittivityResult(0)), QStringLiteral("---"));
}

TEST(Capacitance, PermittivityFromCapacitanceAndGeometry) {
    EXPECT_NEAR(RelativePermittivity(10, 1, 100), 10 / (100 * 8.85e-6), 1e-9);
    EXPECT_EQ(ResultText(PermittivityResult(RelativePermittivity(10, 1, 100))),
              QStringLiteral("11299"));
    EXPECT_EQ(RelativePermittivity(0, 1, 100), 0);
    EXPECT_EQ(RelativePermittivity(10, 1, 0), 0);
    EXPECT_EQ(RelativePermittivity(10, 1, -5), 0);
}

TEST(Capacitance, LossTangentLabelFollowsTheUnit) {
    EXPECT_EQ(ResultText(LossTangentResult(123.4, LossTangentUnit::Per10000)),
              QStringLiteral("123.4"));
    EXPECT_EQ(ResultText(LossTangentResult(123.4, LossTangentUnit::PerMille)),
              QStringLiteral("12.3"));
}

TEST(ElectrodeArea, FourGeometries) {
    EXPECT_FALSE(AreaFromDimensions(GeometryKind::Arbitrary, 10, 10));
    EXPECT_NEAR(*AreaFromDimensions(GeometryKind::CircularDisc, 10, 99), 78.5398163397, 1e-9);
    EXPECT_DOUBLE_EQ(*AreaFromDimensions(GeometryKind::RectangularDisc, 4, 2.5), 10.0);
    EXPECT_NEAR(*AreaFromDimensions(GeometryKind::Ring, 10, 4), 65.9734457254, 1e-9);
    EXPECT_NEAR(*AreaFromDimensions(GeometryKind::Ring, 10, 0), 78.5398163397, 1e-9);
}

TEST(ElectrodeArea, RingWithoutOpeningOrOverflowGivesNoArea) {
    EXPECT_FALSE(AreaFromDimensions(GeometryKind::Ring, 4, 10));
    EXPECT_FALSE(AreaFromDimensions(GeometryKind::Ring, 10, 10));
    EXPECT_FALSE(AreaFromDimensions(GeometryKind::CircularDisc, 1e308, 0));
    EXPECT_FALSE(AreaFromDimensions(GeometryKind::RectangularDisc, 1e200, 1e200));
}

TEST(ElectrodeArea, TypedAreaGivesDiameterOrSquareSide) {
    EXPECT_NEAR(DimensionsFromArea(GeometryKind::CircularDisc, 100)->Dimension1, 11.2838, 1e-4);
    EXPECT_EQ(DimensionsFromArea(GeometryKind::Ring, 100)->Dimension2, 0);
    const Dimensions square = *DimensionsFromArea(GeometryKind::RectangularDisc, 49);
    EXPECT_DOUBLE_EQ(square.Dimension1, 7);
    EXPECT_DOUBLE_EQ(square.Dimension2, 7);
    EXPECT_FALSE(DimensionsFromArea(GeometryKind::Arbitrary, 49));
}

TEST(ElectrodeArea, NonPositiveOrNonFiniteValuesTakeTheDefault) {
    EXPECT_EQ(PositiveOr(-2, 1.0), 1.0);
    EXPECT_EQ(PositiveOr(-0.0, 100.0), 100.0);
    EXPECT_EQ(PositiveOr(std::numeric_limits<double>::infinity(), 10.0), 10.0);
    EXPECT_EQ(PositiveOr(2.5, 1.0), 2.5);
}

// The distance and area are used as their fields show them; a dimension as typed, but a value
// that would show as 0.000 takes the default in both.
TEST(ElectrodeArea, FieldsUseTheShownValueAndDimensionsTheTypedOne) {
    EXPECT_DOUBLE_EQ(ShownPositive(1.23456, 1.0), 1.235);
    EXPECT_EQ(ShownPositive(0.0004, 100.0), 100.0);
    EXPECT_EQ(TypedPositive(1.23456, 10.0), 1.23456);
    EXPECT_EQ(TypedPositive(0.0004, 10.0), 10.0);
    EXPECT_EQ(TypedPositive(-1, 10.0), 10.0);
}

TEST(Capacitance, PointCountIsAWholeNumberFromOneElseTen) {
    EXPECT_EQ(CapacitancePointCount(QStringLiteral(" 25 ")), 25);
    EXPECT_EQ(CapacitancePointCount(QStringLiteral("1")), 1);
    EXPECT_EQ(CapacitancePointCount(QStringLiteral("1000")), 1000);
    for (const char* text : {"0", "-3", "2.5", "", "ten", "5x"})
        EXPECT_EQ(CapacitancePointCount(QString::fromLatin1(text)), 10) << text;
}
