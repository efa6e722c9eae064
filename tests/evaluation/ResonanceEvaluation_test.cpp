// The resonance search and the evaluation pass: window and extremes rules, the 3 dB band,
// validity of the pair, label texts and robustness against degenerate spectra.
#include "evaluation/ResonanceEvaluation.h"

#include "EvaluationTestSupport.h"
#include "evaluation/CouplingFactors.h"
#include "localisation/TextTables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ymt {
namespace {

using test::ExpectNoNonFiniteLabel;
using test::SpectrumStore;

// Frequencies 100, 101, ... kHz for the given |Z| values.
CurveStore GridStore(const std::vector<double>& z) {
    std::vector<double> f;
    for (size_t i = 0; i < z.size(); ++i)
        f.push_back(100.0 + static_cast<double>(i));
    return SpectrumStore(f, z);
}

// |Z| with a minimum of 10 ohm at `minIndex`, 12 ohm (below the 3 dB level 14.14) between
// `lowEdge` and `highEdge`, 20 ohm at and outside them.
std::vector<double> BandSpectrum(int count, int minIndex, int lowEdge, int highEdge) {
    std::vector<double> z(static_cast<size_t>(count), 20.0);
    for (int k = lowEdge + 1; k < highEdge; ++k)
        z[static_cast<size_t>(k)] = 12.0;
    z[static_cast<size_t>(minIndex)] = 10.0;
    return z;
}

TEST(MinMaxSearch, PointsOnTheWindowEdgesDoNotTakePart) {
    CurveStore store = SpectrumStore({100, 101, 102, 103, 104}, {1, 50, 40, 60, 0.5});
    EvaluationResults r;
    // 100 and 104 carry the true extremes but lie exactly on the window's edges.
    EXPECT_EQ(getminmax(store, 100, 104, r), 1);
    EXPECT_EQ(r.FMin, 102);
    EXPECT_EQ(r.ZMin, 40);
    EXPECT_EQ(r.IndexMin, 2);
    EXPECT_EQ(r.FMax, 103);
    EXPECT_EQ(r.ZMax, 60);
    EXPECT_EQ(r.IndexMax, 3);
}

TEST(MinMaxSearch, LastOfEqualExtremesWins) {
    CurveStore store = SpectrumStore({1, 2, 3, 4, 5, 6}, {5, 1, 9, 1, 9, 3});
    EvaluationResults r;
    EXPECT_EQ(getminmax(store, 0, 10, r), 1);
    EXPECT_EQ(r.IndexMin, 3);
    EXPECT_EQ(r.FMin, 4);
    EXPECT_EQ(r.IndexMax, 4);
    EXPECT_EQ(r.FMax, 5);
}

TEST(MinMaxSearch, MaximumIsSearchedOnlyAtAndAboveTheMinimum) {
    CurveStore store = SpectrumStore({1, 2, 3, 4}, {1000, 2, 1, 7});
    EvaluationResults r;
    EXPECT_EQ(getminmax(store, 0, 10, r), 1);
    EXPECT_EQ(r.FMax, 4);
    EXPECT_EQ(r.ZMax, 7);
    EXPECT_GE(r.FMax, r.FMin);
}

TEST(MinMaxSearch, NoPointInsideTheWindowLeavesRecordUntouched) {
    EvaluationResults before;
    before.FMin = 7;
    before.FMax = 8;
    before.ZMin = 3;
    before.ZMax = 4;
    before.IndexMin = 5;
    before.IndexMax = 9;
    for (const CurveStore& store :
         {SpectrumStore({}, {}), SpectrumStore({50, 200, 300}, {1, 2, 3})}) {
        EvaluationResults r = before;
        EXPECT_EQ(getminmax(store, 50, 200, r), -1);
        EXPECT_EQ(r.FMin, 7);
        EXPECT_EQ(r.FMax, 8);
        EXPECT_EQ(r.ZMin, 3);
        EXPECT_EQ(r.ZMax, 4);
        EXPECT_EQ(r.IndexMin, 5);
        EXPECT_EQ(r.IndexMax, 9);
    }
}

TEST(ThreeDbBand, QNeedsMoreEdgeStepsThanTheThreshold) {
    EvaluationResults r;
    CurveStore twenty = GridStore(BandSpectrum(60, 30, 20, 40)); // edges 20 steps apart
    getminmax(twenty, 0, 1000, r);
    EXPECT_EQ(EvaluateThreeDbBand(twenty, r, 20).B3dB, 0);
    EXPECT_EQ(EvaluateThreeDbBand(twenty, r, 20).Q3dB, 0);
    EXPECT_NEAR(EvaluateThreeDbBand(twenty, r, 19).B3dB, 20.0, 1e-12);

    CurveStore twentyOne = GridStore(BandSpectrum(60, 30, 20, 41));
    getminmax(twentyOne, 0, 1000, r);
    const ThreeDbBand band = EvaluateThreeDbBand(twentyOne, r, 20);
    EXPECT_NEAR(band.B3dB, 21.0, 1e-12);         // 141 - 120 kHz
    EXPECT_NEAR(band.Q3dB, 130.0 / 21.0, 1e-12); // FMin / B3dB
}

TEST(ThreeDbBand, UpperEdgeFallsBackToTheLastPoint) {
    std::vector<double> z = BandSpectrum(50, 30, 5, 50); // nothing above the minimum reaches it
    CurveStore store = GridStore(z);
    EvaluationResults r;
    getminmax(store, 0, 1000, r);
    const ThreeDbBand band = EvaluateThreeDbBand(store, r, 20);
    EXPECT_NEAR(band.B3dB, 149.0 - 105.0, 1e-12);
    EXPECT_NEAR(band.Q3dB, 130.0 / 44.0, 1e-12);
}

TEST(ThreeDbBand, NotDeterminedWithoutLowerEdgeAboveFirstPoint) {
    EvaluationResults r;
    // Minimum at index 0.
    CurveStore atStart = GridStore({1, 12, 12, 20, 20});
    getminmax(atStart, 0, 1000, r);
    EXPECT_EQ(EvaluateThreeDbBand(atStart, r, 0).B3dB, 0);
    // Only point 0 reaches the level below the minimum: still no band.
    CurveStore edgeAtZero = GridStore(BandSpectrum(60, 30, 0, 55));
    getminmax(edgeAtZero, 0, 1000, r);
    EXPECT_EQ(EvaluateThreeDbBand(edgeAtZero, r, 0).B3dB, 0);
    EXPECT_EQ(EvaluateThreeDbBand(edgeAtZero, r, 0).Q3dB, 0);
}

TEST(ThreeDbBand, StaleIndexOrEqualFrequenciesGiveNoBand) {
    CurveStore store = GridStore(BandSpectrum(60, 30, 20, 41));
    EvaluationResults r;
    getminmax(store, 0, 1000, r);
    EvaluationResults stale = r;
    stale.IndexMin = 500;
    EXPECT_EQ(EvaluateThreeDbBand(store, stale, 0).B3dB, 0);
    stale.IndexMin = -1;
    EXPECT_EQ(EvaluateThreeDbBand(store, stale, 0).B3dB, 0);
    // Every point at one frequency: a zero-width band has no Q.
    CurveStore flat = SpectrumStore(std::vector<double>(5, 100.0), {20, 12, 10, 12, 20});
    getminmax(flat, 0, 1000, r);
    EXPECT_EQ(EvaluateThreeDbBand(flat, r, 0).Q3dB, 0);
}

class EvaluationPass : public ::testing::Test {
protected:
    void SetUp() override { ResetMessages(); }

    // Minimum (10 ohm) at index 30 = 130 kHz, maximum (1000 ohm) at 30 + steps.
    static CurveStore PairStore(int steps) {
        std::vector<double> z = BandSpectrum(80, 30, 20, 41);
        z[static_cast<size_t>(30 + steps)] = 1000;
        return GridStore(z);
    }
};

TEST_F(EvaluationPass, ExamplePairLabels) {
    CurveStore store = PairStore(40);
    EvaluationResults r;
    getminmax(store, 0, 1000, r);
    PassInputs in;
    in.FA = 110;
    in.FB = 100;
    in.ModePosition = ModeKp;
    const PassOutcome out = koppelfaktor(store, r, in);
    EXPECT_FALSE(out.Message.has_value());
    EXPECT_EQ(ResultText(out.Shown.FMax), "110.000");
    EXPECT_EQ(ResultText(out.Shown.FMin), "100.000");
    EXPECT_EQ(ResultText(out.Shown.KEff), "41.66");
    EXPECT_EQ(ResultText(out.Shown.KMode), "46.90");
    EXPECT_NEAR(out.Results.KEff, 41.66, 0.005);
    EXPECT_EQ(ResultText(out.Shown.Rs), "10");
    EXPECT_EQ(ResultText(out.Shown.DeltaLgR), "2.0");
    EXPECT_EQ(ResultText(out.Shown.B3dB), "21.000");
    EXPECT_EQ(ResultText(out.Shown.Q3dB), "6"); // 130 / 21
    EXPECT_TRUE(out.ShowMarkers);
    EXPECT_TRUE(out.RunQControl);
    EXPECT_FALSE(out.RunAddMeasuredData);

    in.ModePosition = ModeK33;
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.KMode), "45.31");
    in.ModePosition = ModeK31;
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.KMode), "46.35");
    in.AutomaticProtocolling = true;
    EXPECT_TRUE(koppelfaktor(store, r, in).RunAddMeasuredData);
}

TEST_F(EvaluationPass, CouplingThresholdAtTwentyAndTwentyOneSteps) {
    PassInputs in;
    in.FA = 160;
    in.FB = 130;
    in.ModePosition = ModeKt;
    EvaluationResults r;
    CurveStore twenty = PairStore(20);
    getminmax(twenty, 0, 1000, r);
    PassOutcome out = koppelfaktor(twenty, r, in);
    ASSERT_TRUE(out.Message.has_value());
    EXPECT_EQ(out.Message->Kind, EvaluationMessageKind::Error);
    EXPECT_EQ(out.Message->Text, "Insufficient data. Aquire more data or reduce threshold value "
                                 "on Options page.");
    EXPECT_EQ(out.Results.KEff, 0);
    EXPECT_EQ(ResultText(out.Shown.KEff), "---");
    EXPECT_EQ(ResultText(out.Shown.KMode), "---");
    // Band, Rs and D are still evaluated.
    EXPECT_EQ(ResultText(out.Shown.Rs), "10");
    EXPECT_EQ(ResultText(out.Shown.B3dB), "21.000");
    EXPECT_EQ(ResultText(out.Shown.DeltaLgR), "2.0");

    CurveStore twentyOne = PairStore(21);
    getminmax(twentyOne, 0, 1000, r);
    out = koppelfaktor(twentyOne, r, in);
    EXPECT_FALSE(out.Message.has_value());
    EXPECT_GT(out.Results.KEff, 0);
    EXPECT_NE(ResultText(out.Shown.KMode), "---");
}

TEST_F(EvaluationPass, SamePairIsRefusedAndMessageSuppressedWhileRepeating) {
    CurveStore store = PairStore(40);
    EvaluationResults r;
    getminmax(store, 0, 1000, r);
    PassInputs in;
    in.FA = in.FB = 130;
    in.ModePosition = ModeKt;
    PassOutcome out = koppelfaktor(store, r, in);
    ASSERT_TRUE(out.Message.has_value());
    EXPECT_EQ(out.Message->Text, "Minimum = Maximum is not valid!");
    EXPECT_EQ(ResultText(out.Shown.KEff), "---");
    EXPECT_EQ(ResultText(out.Shown.FMax), "130.000");

    in.RepeatTimerRunning = true;
    out = koppelfaktor(store, r, in);
    EXPECT_FALSE(out.Message.has_value());
    EXPECT_EQ(ResultText(out.Shown.Rs), "10");
    EXPECT_EQ(ResultText(out.Shown.B3dB), "21.000");
}

TEST_F(EvaluationPass, ReversedPairIsExchangedIncludingItsLabels) {
    CurveStore store = PairStore(40);
    EvaluationResults r;
    getminmax(store, 0, 1000, r);
    PassInputs in;
    in.FA = 100;
    in.FB = 110;
    in.ModePosition = ModeKp;
    const PassOutcome out = koppelfaktor(store, r, in);
    EXPECT_EQ(ResultText(out.Shown.FMax), "110.000");
    EXPECT_EQ(ResultText(out.Shown.FMin), "100.000");
    EXPECT_EQ(ResultText(out.Shown.KEff), "41.66");
}

TEST_F(EvaluationPass, ThresholdTextsThatAreNoWholeNumbersAreReadLikeTheEdits) {
    CurveStore store = PairStore(25);
    EvaluationResults r;
    getminmax(store, 0, 1000, r);
    PassInputs in;
    in.FA = 155;
    in.FB = 130;
    in.ModePosition = ModeKt;
    in.CouplingThresholdText = "30 points"; // read as 30: 25 steps are too few
    EXPECT_TRUE(koppelfaktor(store, r, in).Message.has_value());
    in.CouplingThresholdText = "24.9"; // read as 24
    EXPECT_FALSE(koppelfaktor(store, r, in).Message.has_value());
    in.QThresholdText = "21x"; // band edges 21 steps apart: no Q
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.Q3dB), "---");
    in.QThresholdText = "20x";
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.Q3dB), "6");
}

TEST_F(EvaluationPass, RsDecimalsAndDeltaLgRDash) {
    EvaluationResults r;
    r.IndexMin = 1;
    r.IndexMax = 1;
    CurveStore store = GridStore({20, 9.96, 20});
    PassInputs in;
    in.FA = 102;
    in.FB = 101;
    r.ZMin = 9.96;
    r.ZMax = 9.96;
    PassOutcome out = koppelfaktor(store, r, in);
    EXPECT_EQ(ResultText(out.Shown.Rs), "10.0");
    EXPECT_EQ(ResultText(out.Shown.DeltaLgR), "---");
    r.ZMin = 10.4;
    r.ZMax = 10.4;
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.Rs), "10");
    r.ZMin = 0.04;
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.Rs), "0.0");
}

TEST_F(EvaluationPass, DegenerateSpectraNeverCrashOrShowNonFiniteNumbers) {
    const std::vector<CurveStore> stores = {
        SpectrumStore({}, {}),
        SpectrumStore({100}, {5}),
        GridStore(std::vector<double>(50, 42.0)),
        GridStore(std::vector<double>(50, 0.0)),
        SpectrumStore({-30, -20, -10, -5}, {8, 2, 9, 4}),
        SpectrumStore({0, 0, 0}, {0, 1, 0}),
        SpectrumStore({10, 20, 30}, {-5, -50, -1}),
    };
    for (const CurveStore& store : stores) {
        for (int mode = -1; mode < kCouplingModeCount; ++mode) {
            EvaluationResults r;
            const int steps = getminmax(store, -1e6, 1e6, r);
            EXPECT_GE(steps, -1);
            PassInputs in;
            in.FA = r.FMax;
            in.FB = r.FMin;
            in.ModePosition = mode;
            const PassOutcome out = koppelfaktor(store, r, in);
            ExpectNoNonFiniteLabel(out.Shown);
            EXPECT_TRUE(std::isfinite(out.Results.B3dB) && std::isfinite(out.Results.Q3dB));
            EXPECT_TRUE(std::isfinite(out.Results.KEff) && std::isfinite(out.Results.KMode));
        }
    }
}

TEST_F(EvaluationPass, ZeroAndNegativeExtremesShowDashForD) {
    EvaluationResults r;
    PassInputs in;
    in.FA = 2;
    in.FB = 1;
    CurveStore store = GridStore({0, 5});
    r.ZMin = 0;
    r.ZMax = 5;
    PassOutcome out = koppelfaktor(store, r, in);
    EXPECT_EQ(ResultText(out.Shown.DeltaLgR), "---");
    EXPECT_EQ(ResultText(out.Shown.Rs), "0.0");
    r.ZMin = -1e300;
    r.ZMax = -1e300 + 1;
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.DeltaLgR), "---");
    in.FA = NAN;
    EXPECT_EQ(ResultText(koppelfaktor(store, r, in).Shown.FMax), "---");
}

} // namespace
} // namespace ymt
