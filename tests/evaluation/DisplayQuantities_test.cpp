// The 21 display pairs on a known spectrum, computed independently here from the complex
// impedance, and their titles, captions and the zero replacement.
#include "evaluation/DisplayQuantities.h"

#include "EvaluationTestSupport.h"
#include "tests/support/Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <map>
#include <numbers>

namespace ymt {
namespace {

using test::SpectrumStore;

const std::vector<double> kF = {1, 10, 100, 200, 5000};     // kHz
const std::vector<double> kZ = {1000, 150, 20, 5000, 30};   // ohm
const std::vector<double> kTheta = {-80, -30, 45, 89, -90}; // degrees
constexpr double kDistance = 0.5;                           // mm
constexpr double kArea = 50;                                // mm²

// The quantities from the complex impedance and admittance, in the units of the axes.
std::map<QString, double> Expected(double fKHz, double z, double thetaDeg) {
    const double w = 2 * std::numbers::pi * fKHz * 1000;
    const std::complex<double> Z = std::polar(z, thetaDeg * std::numbers::pi / 180);
    const std::complex<double> Y = 1.0 / Z;
    const double c0 = 8.85e-15 * kArea / kDistance; // F
    return {{"|Z|", z},
            {"theta", thetaDeg},
            {"-theta", -thetaDeg},
            {"Rs", Z.real()},
            {"X", Z.imag()},
            {"Ls", Z.imag() / w * 1e3},
            {"Cs", -1 / (w * Z.imag()) * 1e9},
            {"|Y|", std::abs(Y)},
            {"G", std::abs(Y.real())},
            {"B", Y.imag()},
            {"Lp", -1 / (w * Y.imag()) * 1e3},
            {"Cp", Y.imag() / w * 1e9},
            {"Rp", 1 / Y.real()},
            {"Q", std::abs(Z.imag() / Z.real())},
            {"D", std::abs(Z.real() / Z.imag())},
            {"eps'", Y.imag() / (w * c0)},
            {"eps''", Y.real() / (w * c0)}};
}

// Curve contents of each pair: the quantity keys of Expected() for curve 1 and curve 2.
const std::pair<const char*, const char*> kPairQuantities[kDisplayPairCount] = {
    {"|Z|", "theta"}, {"Rs", "X"},   {"Ls", "Rs"},      {"Ls", "Q"},  {"Cs", "Rs"},
    {"Cs", "Q"},      {"Cs", "D"},   {"|Y|", "-theta"}, {"G", "B"},   {"Lp", "G"},
    {"Lp", "Q"},      {"Cp", "G"},   {"Cp", "Q"},       {"Cp", "D"},  {"|Z|", "Ls"},
    {"|Z|", "Cs"},    {"|Z|", "Lp"}, {"|Z|", "Cp"},     {"Lp", "Rp"}, {"Cp", "Rp"},
    {"eps'", "eps''"}};

TEST(DisplayPairs, EveryPairMatchesItsFormulasOnAKnownSpectrum) {
    SampleDescription sample;
    sample.ElectrodeDistance = kDistance;
    sample.ElectrodeArea = kArea;
    for (int code = 1; code <= kDisplayPairCount; ++code) {
        CurveStore store = SpectrumStore(kF, kZ, kTheta);
        ASSERT_TRUE(RebuildDisplayCurves(store, code, sample));
        ASSERT_EQ(store.pointCount(1), static_cast<int>(kF.size())) << code;
        ASSERT_EQ(store.pointCount(2), static_cast<int>(kF.size())) << code;
        for (size_t i = 0; i < kF.size(); ++i) {
            // theta = -90 has cos = 6e-17: Rs, G, Q, D and Rp there hang on rounding alone.
            if (kTheta[i] == -90)
                continue;
            const auto expected = Expected(kF[i], kZ[i], kTheta[i]);
            const std::string where =
                "pair " + std::to_string(code) + " point " + std::to_string(i);
            EXPECT_EQ(store.x(1, static_cast<int>(i)), kF[i]);
            EXPECT_EQ(store.x(2, static_cast<int>(i)), kF[i]);
            // The two computations differ only by rounding, except where cos or sin is tiny.
            EXPECT_TRUE(test::IsRelativelyNear(store.y(1, static_cast<int>(i)),
                                               expected.at(kPairQuantities[code - 1].first), 1e-9,
                                               1e-9))
                << where << " first";
            EXPECT_TRUE(test::IsRelativelyNear(store.y(2, static_cast<int>(i)),
                                               expected.at(kPairQuantities[code - 1].second), 1e-9,
                                               1e-9))
                << where << " second";
        }
    }
}

TEST(DisplayPairs, ImpedanceThetaCopiesTheMeasuredCurves) {
    CurveStore store = SpectrumStore(kF, kZ, kTheta);
    RebuildDisplayCurves(store, kImpedanceThetaPair, SampleDescription());
    for (int i = 0; i < static_cast<int>(kF.size()); ++i) {
        EXPECT_EQ(store.y(1, i), store.y(3, i));
        EXPECT_EQ(store.y(2, i), store.y(4, i));
    }
    EXPECT_EQ(store.curve(1).MaxY, 5000);
    EXPECT_EQ(store.curve(2).MinY, -90);
}

TEST(DisplayPairs, IdealCapacitorGivesEqualPositiveCsAndCp) {
    CurveStore store = SpectrumStore({100}, {1000}, {-90});
    RebuildDisplayCurves(store, 5, SampleDescription()); // Cs - Rs
    const double cs = store.y(1, 0);
    RebuildDisplayCurves(store, 12, SampleDescription()); // Cp - G
    const double cp = store.y(1, 0);
    const double expected = 1 / (2 * std::numbers::pi * 100e3 * 1000) * 1e9;
    EXPECT_NEAR(cs, expected, 1e-12 * expected);
    EXPECT_NEAR(cp, expected, 1e-12 * expected);
}

TEST(DisplayPairs, ExactZerosAreReplacedInTheMeasuredCurvesToo) {
    CurveStore store = SpectrumStore({50, 60}, {0, 10}, {0, -45});
    const double maxYBefore = store.curve(3).MaxY;
    RebuildDisplayCurves(store, 7, SampleDescription()); // Cs - D
    EXPECT_EQ(store.y(3, 0), 1e-300);
    EXPECT_EQ(store.y(4, 0), 1e-300);
    EXPECT_EQ(store.y(3, 1), 10);
    EXPECT_EQ(store.y(4, 1), -45);
    EXPECT_EQ(store.curve(3).MinY, 0); // bounds are left as they were
    EXPECT_EQ(store.curve(3).MaxY, maxYBefore);
    // D of the zero-theta point uses S = 1e-300: |cos / 1e-300| = 1e300.
    EXPECT_DOUBLE_EQ(store.y(2, 0), 1e300);
}

TEST(DisplayPairs, PermittivityNeedsElectrodeArea) {
    SampleDescription sample;
    sample.ElectrodeArea = 0;
    CurveStore store = SpectrumStore(kF, kZ, kTheta);
    store.AddPoint(1, 1, 1); // stale points of the previous pair go
    EXPECT_TRUE(RebuildDisplayCurves(store, kPermittivityPair, sample));
    EXPECT_EQ(store.pointCount(1), 0);
    EXPECT_EQ(store.pointCount(2), 0);
    // Start-up geometry: 1 mm and 78.54 mm².
    EXPECT_TRUE(RebuildDisplayCurves(store, kPermittivityPair, SampleDescription()));
    EXPECT_EQ(store.pointCount(1), static_cast<int>(kF.size()));
}

TEST(DisplayPairs, UnknownCodeChangesNothing) {
    CurveStore store = SpectrumStore(kF, kZ, kTheta);
    store.AddPoint(1, 7, 7);
    EXPECT_FALSE(RebuildDisplayCurves(store, 0, SampleDescription()));
    EXPECT_FALSE(RebuildDisplayCurves(store, 22, SampleDescription()));
    EXPECT_EQ(store.pointCount(1), 1);
}

TEST(DisplayPairs, PhaseCurveShorterThanImpedanceCurveIsSafe) {
    CurveStore store;
    store.AddPoint(3, 10, 100);
    store.AddPoint(3, 20, 200);
    store.AddPoint(4, 10, -30);
    EXPECT_TRUE(RebuildDisplayCurves(store, 2, SampleDescription()));
    EXPECT_EQ(store.pointCount(1), 2);
    EXPECT_TRUE(std::isfinite(store.y(1, 1)));
}

TEST(DisplayPairTitles, TitlesAndCaptionsFollowNamesAndUnits) {
    DisplayPairTexts t = DisplayPairCaptions(1);
    EXPECT_EQ(t.YAxisTitle, "|Z| [Ohm]");
    EXPECT_EQ(t.Y2AxisTitle, QString::fromUtf8("theta [°]"));
    EXPECT_EQ(t.LeftLogCaption, "|Z| log");
    EXPECT_EQ(t.RightLogCaption, "theta log");
    t = DisplayPairCaptions(4);
    EXPECT_EQ(t.YAxisTitle, "Ls [mH]");
    EXPECT_EQ(t.Y2AxisTitle, "Q []");
    EXPECT_EQ(t.RightLogCaption, "Q log");
    t = DisplayPairCaptions(8);
    EXPECT_EQ(t.YAxisTitle, "|Y| [S]");
    EXPECT_EQ(t.Y2AxisTitle, QString::fromUtf8("theta [°]"));
    t = DisplayPairCaptions(21);
    EXPECT_EQ(t.YAxisTitle, "eps' []");
    EXPECT_EQ(t.Y2AxisTitle, "eps'' []");
    EXPECT_EQ(t.LeftLogCaption, "eps' log");
    t = DisplayPairCaptions(16);
    EXPECT_EQ(t.Y2AxisTitle, "Cs [nF]");
    EXPECT_EQ(DisplayPairCaptions(19).Y2AxisTitle, "Rp [Ohm]");
}

TEST(DisplayPairTitles, ListOrderAndShortNames) {
    const QStringList items = DisplayPairListItems();
    ASSERT_EQ(items.size(), kDisplayPairCount);
    EXPECT_EQ(items.first(), "|Z| - theta");
    EXPECT_EQ(items[7], "|Y| - -theta");
    EXPECT_EQ(items[13], "Cp - D");
    EXPECT_EQ(items.last(), "eps' - eps''");
    for (int code = 1; code <= kDisplayPairCount; ++code) {
        const DisplayPairInfo pair = DisplayPair(code);
        EXPECT_EQ(pair.ListText, pair.FirstName + " - " + (code == 8 ? "-" : "") + pair.SecondName)
            << code;
        EXPECT_LE(pair.FirstName.size(), 5);
        EXPECT_LE(pair.SecondUnit.size(), 5);
    }
    EXPECT_EQ(AnalyzerFunctionPair(21), 1);
    EXPECT_EQ(AnalyzerFunctionPair(20), 20);
}

} // namespace
} // namespace ymt
