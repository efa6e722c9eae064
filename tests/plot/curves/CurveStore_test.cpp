// The 25 numbered curves: defaults, the running bounds and their sentinels, and the
// operations that append, delete, sort and clear points.
#include "plot/curves/CurveStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>
#include <limits>
#include <random>

using namespace ymt;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Exact comparison on purpose: drawing compares the bounds against these very doubles.
void expectEmptyBounds(const Curve& c) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c.MinX), 0x7E6DDD4BAA009303u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c.MinY), 0x7E6DDD4BAA009303u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c.MinPosX), 0x7E6DDD4BAA009303u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c.MinPosY), 0x7E6DDD4BAA009303u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c.MaxX), 0xFE6DDD4BAA009303u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(c.MaxY), 0xFE6DDD4BAA009303u);
}

std::vector<double> xs(const CurveStore& store, int curve) {
    std::vector<double> values;
    for (const CurvePoint& p : store.curve(curve).Points)
        values.push_back(p.x);
    return values;
}

// Curve 3 with x = 1..6 and y = 10 * x, appended out of order.
CurveStore storeWithSixPoints() {
    CurveStore store;
    for (double x : {4.0, 1.0, 6.0, 2.0, 5.0, 3.0})
        store.AddPoint(3, x, 10 * x);
    return store;
}

} // namespace

TEST(CurveStoreSentinels, HaveTheExactBitPatterns) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(kBoundLowSentinel), 0x7E6DDD4BAA009303u);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(kBoundHighSentinel), 0xFE6DDD4BAA009303u);
    EXPECT_EQ(kBoundLowSentinel, 1e+301);
    EXPECT_EQ(kBoundHighSentinel, -1e+301);
}

TEST(CurveStoreDefaults, TwentyFiveEmptyCurvesWithTheirAttributes) {
    const CurveStore store;
    for (int n = 1; n <= 25; ++n) {
        SCOPED_TRACE(n);
        const Curve& c = store.curve(n);
        EXPECT_EQ(store.pointCount(n), 0);
        EXPECT_FALSE(c.Visible);
        EXPECT_EQ(c.Axis, 0);
        EXPECT_EQ(c.PenStyle, 0);
        EXPECT_EQ(c.Width, 1);
        expectEmptyBounds(c);
    }
}

TEST(CurveStoreDefaults, FirstFourCurvesHaveFixedColoursTheRestTheLineColour) {
    const CurveStore store(0x123456);
    EXPECT_EQ(store.curve(1).Color, 0x0000FFu);
    EXPECT_EQ(store.curve(2).Color, 0xFF0000u);
    EXPECT_EQ(store.curve(3).Color, 0x008000u);
    EXPECT_EQ(store.curve(4).Color, 0x00FFFFu);
    for (int n = 5; n <= 25; ++n)
        EXPECT_EQ(store.curve(n).Color, 0x123456u) << "curve " << n;
    EXPECT_EQ(CurveStore().curve(25).Color, 0x000000u);
}

TEST(CurveStoreAddPoint, AppendsInOrderAndAcceptsDuplicates) {
    CurveStore store;
    store.AddPoint(1, 3, 30);
    store.AddPoint(1, 1, 10);
    store.AddPoint(1, 3, 30);
    store.AddPoint(1, 3, -5);
    ASSERT_EQ(store.pointCount(1), 4);
    EXPECT_EQ(xs(store, 1), (std::vector<double>{3, 1, 3, 3}));
    EXPECT_EQ(store.y(1, 3), -5);
    EXPECT_EQ(store.pointCount(2), 0) << "other curves stay untouched";
}

TEST(CurveStoreAddPoint, WidensAllSixBounds) {
    CurveStore store;
    store.AddPoint(5, 2.5, -1);
    store.AddPoint(5, -4, 7);
    store.AddPoint(5, 10, 0.5);
    const Curve& c = store.curve(5);
    EXPECT_EQ(c.MinX, -4);
    EXPECT_EQ(c.MaxX, 10);
    EXPECT_EQ(c.MinPosX, 2.5);
    EXPECT_EQ(c.MinY, -1);
    EXPECT_EQ(c.MaxY, 7);
    EXPECT_EQ(c.MinPosY, 0.5);
}

TEST(CurveStoreAddPoint, ZeroAndNegativeValuesNeverBecomeMinPos) {
    CurveStore store;
    store.AddPoint(1, 0, -3);
    store.AddPoint(1, -2, 0);
    const Curve& c = store.curve(1);
    EXPECT_EQ(c.MinX, -2);
    EXPECT_EQ(c.MaxX, 0);
    EXPECT_EQ(c.MinY, -3);
    EXPECT_EQ(c.MaxY, 0);
    EXPECT_EQ(c.MinPosX, kBoundLowSentinel);
    EXPECT_EQ(c.MinPosY, kBoundLowSentinel);
    store.AddPoint(1, 1e-300, 4e-320);
    EXPECT_EQ(c.MinPosX, 1e-300);
    EXPECT_EQ(c.MinPosY, 4e-320);
}

TEST(CurveStoreAddPoint, SinglePointIsBothMinimumAndMaximum) {
    CurveStore store;
    store.AddPoint(25, 7, 8);
    const Curve& c = store.curve(25);
    EXPECT_EQ(c.MinX, 7);
    EXPECT_EQ(c.MaxX, 7);
    EXPECT_EQ(c.MinY, 8);
    EXPECT_EQ(c.MaxY, 8);
}

TEST(CurveStoreAddPoint, NotANumberIsStoredButLeavesTheBoundsAlone) {
    CurveStore store;
    store.AddPoint(2, 1, 2);
    store.AddPoint(2, kNaN, kNaN);
    store.AddPoint(2, kInf, -kInf);
    EXPECT_EQ(store.pointCount(2), 3);
    const Curve& c = store.curve(2);
    EXPECT_EQ(c.MinX, 1);
    EXPECT_EQ(c.MaxX, kInf);
    EXPECT_EQ(c.MinY, -kInf);
    EXPECT_EQ(c.MaxY, 2);
    EXPECT_EQ(c.MinPosX, 1);
    EXPECT_EQ(c.MinPosY, 2);
}

TEST(CurveStoreDeleteRange, LimitsInEitherOrderAreBothInclusive) {
    CurveStore forward = storeWithSixPoints();
    CurveStore backward = storeWithSixPoints();
    forward.DeleteRange(3, 2, 5);
    backward.DeleteRange(3, 5, 2);
    EXPECT_EQ(xs(forward, 3), (std::vector<double>{1, 6}));
    EXPECT_EQ(xs(backward, 3), (std::vector<double>{1, 6}));
    const Curve& c = backward.curve(3);
    EXPECT_EQ(c.MinX, 1);
    EXPECT_EQ(c.MaxX, 6);
    EXPECT_EQ(c.MinY, 10);
    EXPECT_EQ(c.MaxY, 60);
}

TEST(CurveStoreDeleteRange, RemainingPointsKeepTheirOrderAndY) {
    CurveStore store = storeWithSixPoints();
    store.DeleteRange(3, 2.5, 4.5); // removes 4 and 3
    ASSERT_EQ(xs(store, 3), (std::vector<double>{1, 6, 2, 5}));
    EXPECT_EQ(store.y(3, 1), 60);
    EXPECT_EQ(store.y(3, 3), 50);
}

TEST(CurveStoreDeleteRange, EqualLimitsRemoveEveryPointAtThatX) {
    CurveStore store;
    for (double x : {1.0, 2.0, 2.0, 3.0, 2.0})
        store.AddPoint(4, x, x);
    store.DeleteRange(4, 2, 2);
    EXPECT_EQ(xs(store, 4), (std::vector<double>{1, 3}));
}

TEST(CurveStoreDeleteRange, EmptyRangeStillRecomputesOverwrittenBounds) {
    CurveStore store = storeWithSixPoints();
    ASSERT_TRUE(store.setY(3, 0, 0));      // x = 4, y was 40
    ASSERT_TRUE(store.setY(3, 2, 1e-300)); // x = 6, y was 60
    EXPECT_EQ(store.curve(3).MaxY, 60) << "overwriting does not touch the bounds";
    store.DeleteRange(3, 100, 200);
    EXPECT_EQ(store.pointCount(3), 6);
    const Curve& c = store.curve(3);
    EXPECT_EQ(c.MinY, 0);
    EXPECT_EQ(c.MaxY, 50);
    EXPECT_EQ(c.MinPosY, 1e-300);
    EXPECT_EQ(c.MinX, 1);
    EXPECT_EQ(c.MaxX, 6);
}

TEST(CurveStoreDeleteRange, DeletingEveryPointLeavesTheSentinels) {
    CurveStore store = storeWithSixPoints();
    store.DeleteRange(3, -kInf, kInf);
    EXPECT_EQ(store.pointCount(3), 0);
    expectEmptyBounds(store.curve(3));
}

TEST(CurveStoreDeleteRange, NotANumberLimitsRemoveNothing) {
    CurveStore store = storeWithSixPoints();
    store.DeleteRange(3, kNaN, kNaN);
    EXPECT_EQ(store.pointCount(3), 6);
}

TEST(CurveStoreRecalcBounds, DescribesTheCurrentValuesAfterInPlaceOverwrite) {
    CurveStore store = storeWithSixPoints();
    store.setY(3, 1, -7); // x = 1
    store.RecalcBounds(3);
    EXPECT_EQ(store.curve(3).MinY, -7);
    EXPECT_EQ(store.curve(3).MinPosY, 20);
    store.RecalcBounds(7); // an empty curve keeps its sentinels
    expectEmptyBounds(store.curve(7));
}

TEST(CurveStoreSetY, OnlyTheAddressedPointChanges) {
    CurveStore store = storeWithSixPoints();
    EXPECT_TRUE(store.setY(3, 5, 1e-300));
    EXPECT_EQ(store.point(3, 5).x, 3);
    EXPECT_EQ(store.point(3, 5).y, 1e-300);
    EXPECT_FALSE(store.setY(3, 6, 1));
    EXPECT_FALSE(store.setY(3, -1, 1));
    EXPECT_EQ(store.pointCount(3), 6);
}

TEST(CurveStoreSortCurve, SortsByAscendingXCarryingY) {
    CurveStore store = storeWithSixPoints();
    store.SortCurve(3);
    EXPECT_EQ(xs(store, 3), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(store.y(3, i), 10 * store.x(3, i));
}

TEST(CurveStoreSortCurve, EqualXAndExtremeValuesAreSorted) {
    CurveStore store;
    for (double x : {5.0, -kInf, 1e308, 5.0, -1e308, kInf, 0.0, -0.0, 5.0})
        store.AddPoint(9, x, 1);
    store.SortCurve(9);
    const std::vector<double> sorted = xs(store, 9);
    ASSERT_EQ(sorted.size(), 9u);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
    EXPECT_EQ(sorted.front(), -kInf);
    EXPECT_EQ(sorted.back(), kInf);
}

TEST(CurveStoreSortCurve, NotANumberXKeepsEveryPointAndSortsTheRest) {
    CurveStore store;
    for (double x : {3.0, kNaN, 1.0, kNaN, 2.0})
        store.AddPoint(1, x, x);
    store.SortCurve(1);
    const std::vector<double> sorted = xs(store, 1);
    ASSERT_EQ(sorted.size(), 5u);
    EXPECT_EQ(sorted[0], 1);
    EXPECT_EQ(sorted[1], 2);
    EXPECT_EQ(sorted[2], 3);
    EXPECT_TRUE(std::isnan(sorted[3]));
    EXPECT_TRUE(std::isnan(sorted[4]));
}

TEST(CurveStoreSortCurve, LargeRandomCurveIsAPermutationInOrder) {
    CurveStore store;
    std::mt19937 random(42);
    std::uniform_real_distribution<double> frequency(0.04, 110000);
    double sumY = 0;
    for (int i = 0; i < 20000; ++i) {
        const double x = i % 7 == 0 ? 500.0 : frequency(random);
        store.AddPoint(3, x, i);
        sumY += i;
    }
    store.SortCurve(3);
    const std::vector<double> sorted = xs(store, 3);
    ASSERT_EQ(sorted.size(), 20000u);
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
    double sortedSumY = 0;
    for (const CurvePoint& p : store.curve(3).Points)
        sortedSumY += p.y;
    EXPECT_EQ(sortedSumY, sumY) << "every point (x, y) must survive the sort";
}

TEST(CurveStoreSortCurve, EmptyAndSinglePointCurves) {
    CurveStore store;
    EXPECT_TRUE(store.SortCurve(1));
    store.AddPoint(1, 4, 2);
    EXPECT_TRUE(store.SortCurve(1));
    EXPECT_EQ(store.point(1, 0).x, 4);
}

TEST(CurveStoreClear, ClearCurveKeepsTheAttributes) {
    CurveStore store = storeWithSixPoints();
    store.setVisible(3, true);
    store.setAxis(3, 1);
    store.setColor(3, 0xABCDEF);
    store.setWidth(3, 4);
    store.mutableCurve(3)->PenStyle = 2;
    ASSERT_TRUE(store.ClearCurve(3));
    const Curve& c = store.curve(3);
    EXPECT_EQ(store.pointCount(3), 0);
    expectEmptyBounds(c);
    EXPECT_TRUE(c.Visible);
    EXPECT_EQ(c.Axis, 1);
    EXPECT_EQ(c.Color, 0xABCDEFu);
    EXPECT_EQ(c.Width, 4);
    EXPECT_EQ(c.PenStyle, 2);
}

TEST(CurveStoreClear, ClearAllEmptiesEveryCurve) {
    CurveStore store;
    for (int n = 1; n <= 25; ++n)
        store.AddPoint(n, n, -n);
    store.setWidth(25, 0);
    store.ClearAll();
    for (int n = 1; n <= 25; ++n) {
        EXPECT_EQ(store.pointCount(n), 0) << "curve " << n;
        expectEmptyBounds(store.curve(n));
    }
    EXPECT_EQ(store.curve(25).Width, 0);
    store.AddPoint(1, 2, 3);
    EXPECT_EQ(store.curve(1).MaxX, 2) << "a cleared curve is usable again";
}

TEST(CurveStoreAccess, PointOutsideTheCurveReadsAsZero) {
    CurveStore store = storeWithSixPoints();
    EXPECT_EQ(store.point(3, 6).x, 0);
    EXPECT_EQ(store.point(3, -1).y, 0);
    EXPECT_EQ(store.point(3, INT_MAX).x, 0);
    EXPECT_EQ(store.x(3, 0), 4);
    EXPECT_EQ(store.y(3, 0), 40);
}

TEST(CurveStoreAccess, CurveNumbersOutsideOneTo25AreRejectedSafely) {
    CurveStore store = storeWithSixPoints();
    for (int bad : {0, 26, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(CurveStore::isValidCurve(bad));
        EXPECT_FALSE(store.AddPoint(bad, 1, 1));
        EXPECT_FALSE(store.DeleteRange(bad, -kInf, kInf));
        EXPECT_FALSE(store.SortCurve(bad));
        EXPECT_FALSE(store.ClearCurve(bad));
        EXPECT_FALSE(store.RecalcBounds(bad));
        EXPECT_FALSE(store.setY(bad, 0, 1));
        EXPECT_FALSE(store.setVisible(bad, true));
        EXPECT_FALSE(store.setAxis(bad, 1));
        EXPECT_FALSE(store.setColor(bad, 1));
        EXPECT_FALSE(store.setWidth(bad, 3));
        EXPECT_EQ(store.mutableCurve(bad), nullptr);
        EXPECT_EQ(store.pointCount(bad), 0);
        EXPECT_EQ(store.point(bad, 0).x, 0);
        const Curve& detached = store.curve(bad);
        EXPECT_TRUE(detached.Points.empty());
        EXPECT_FALSE(detached.Visible);
        expectEmptyBounds(detached);
    }
    EXPECT_EQ(store.pointCount(3), 6) << "the valid curves are left as they were";
    EXPECT_EQ(store.pointCount(1), 0);
    EXPECT_EQ(store.pointCount(25), 0);
}

TEST(CurveStoreAccess, SettersWriteThePlainFields) {
    CurveStore store;
    EXPECT_TRUE(store.setVisible(1, true));
    EXPECT_TRUE(store.setAxis(2, 1));
    EXPECT_TRUE(store.setColor(20, 0x00FF00));
    EXPECT_TRUE(store.setWidth(25, 3));
    EXPECT_TRUE(store.curve(1).Visible);
    EXPECT_EQ(store.curve(2).Axis, 1);
    EXPECT_EQ(store.curve(20).Color, 0x00FF00u);
    EXPECT_EQ(store.curve(25).Width, 3);
    EXPECT_FALSE(store.curve(2).Visible);
}
