// k(eff) and the mode formulas, their validity range, and the mode selector's texts.
#include "evaluation/CouplingFactors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace ymt {
namespace {

constexpr double kPercentTolerance = 0.005; // half the last shown decimal

TEST(CouplingFactors, ExamplePairGivesKnownPercentages) {
    const double fMax = 110, fMin = 100;
    EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeKp).KEff, 41.66, kPercentTolerance);
    EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeKp).KMode, 46.90, kPercentTolerance);
    EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeK33).KMode, 45.31, kPercentTolerance);
    EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeK31).KMode, 46.35, kPercentTolerance);
}

TEST(CouplingFactors, MatchResonanceRelationsComputedIndependently) {
    const double pi = std::numbers::pi;
    for (double ratio : {1.01, 1.1, 1.5, 1.9}) {
        const double fMin = 200, fMax = 200 * ratio;
        const double x = pi / 2 * fMin / fMax;
        const double k33 = std::sqrt(x / std::tan(x)) * 100;
        // k31: k²/(1-k²) = (pi/2)(fA/fB) tan((pi/2)(fA-fB)/fB)
        const double t = pi / 2 * fMax / fMin * std::tan(pi / 2 * (fMax - fMin) / fMin);
        const double k31 = std::sqrt(t / (1 + t)) * 100;
        const double u = 1 - fMin / fMax;
        const double kp = std::sqrt(2.51 * u - u * u) * 100;
        const double keff = std::sqrt(1 - (fMin / fMax) * (fMin / fMax)) * 100;
        EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeK33).KMode, k33, 1e-9) << ratio;
        EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeK31).KMode, k31, 1e-9) << ratio;
        EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeKp).KMode, kp, 1e-9) << ratio;
        EXPECT_NEAR(ComputeCouplingFactors(fMax, fMin, ModeKt).KEff, keff, 1e-9) << ratio;
    }
}

TEST(CouplingFactors, ThicknessLongitudinalAndShearShareOneFormula) {
    const double k33 = ComputeCouplingFactors(110, 100, ModeK33).KMode;
    EXPECT_GT(k33, 0);
    EXPECT_EQ(ComputeCouplingFactors(110, 100, ModeKt).KMode, k33);
    EXPECT_EQ(ComputeCouplingFactors(110, 100, ModeK15).KMode, k33);
}

TEST(CouplingFactors, NoModeSelectedLeavesModeFactorZeroButKeff) {
    const CouplingFactorValues k = ComputeCouplingFactors(110, 100, -1);
    EXPECT_EQ(k.KMode, 0);
    EXPECT_GT(k.KEff, 0);
    EXPECT_EQ(ComputeCouplingFactors(110, 100, 5).KMode, 0);
}

TEST(CouplingFactors, K31IsRejectedFromRatioTwoOn) {
    // At 1.99 still a real value below 100 %, from 2 on 100 % or no real root at all.
    EXPECT_GT(ComputeCouplingFactors(199, 100, ModeK31).KMode, 90);
    EXPECT_LT(ComputeCouplingFactors(199, 100, ModeK31).KMode, 100);
    for (double fMax : {200.0, 250.0, 286.0, 300.0, 350.0, 1000.0})
        EXPECT_EQ(ComputeCouplingFactors(fMax, 100, ModeK31).KMode, 0) << fMax;
}

TEST(CouplingFactors, ResultsOutsideZeroToHundredPercentAreLeftZero) {
    // kp: 2.51u - u² exceeds 1 when fMin is far below fMax; keff reaches 100 % at fMin = 0.
    EXPECT_EQ(ComputeCouplingFactors(1e6, 1, ModeKp).KMode, 0);
    const CouplingFactorValues zeroMin = ComputeCouplingFactors(110, 0, ModeKp);
    EXPECT_EQ(zeroMin.KEff, 0);
    EXPECT_EQ(zeroMin.KMode, 0);
}

TEST(CouplingFactors, NonPositiveOrNonFiniteFrequenciesGiveNothing) {
    for (const auto& [fA, fB] :
         {std::pair{110.0, -100.0}, std::pair{-100.0, -110.0}, std::pair{0.0, 0.0},
          std::pair{HUGE_VAL, 100.0}, std::pair{std::nan(""), 100.0}, std::pair{100.0, 110.0}}) {
        for (int mode = 0; mode < kCouplingModeCount; ++mode) {
            const CouplingFactorValues k = ComputeCouplingFactors(fA, fB, mode);
            EXPECT_EQ(k.KEff, 0) << fA << " " << fB;
            EXPECT_EQ(k.KMode, 0) << fA << " " << fB << " mode " << mode;
        }
    }
}

TEST(CouplingModeSelector, NamesAndItemsByPosition) {
    EXPECT_EQ(ModeName(ModeK31), "k31");
    EXPECT_EQ(ModeName(ModeK33), "k33");
    EXPECT_EQ(ModeName(ModeKt), "kt ");
    EXPECT_EQ(ModeName(ModeK15), "k15");
    EXPECT_EQ(ModeName(ModeKp), "kp ");
    EXPECT_EQ(ModeName(-1), "");
    EXPECT_EQ(ModeListItem(ModeKt), "kt  - Thickness Mode");
    EXPECT_EQ(ModeListItem(ModeKp), "kp  - Planar Mode");
    EXPECT_EQ(ModeListItem(ModeK31), "k31 - Transversal Mode");
}

TEST(CouplingModeSelector, ChangeRelabelsAndRunsPassOnlyForDistinctPair) {
    EvaluationResults results;
    ModeChangeOutcome change = ModeChange(ModeK31, results);
    EXPECT_EQ(change.ModeValueCaption, "k31       [%]");
    EXPECT_EQ(change.SampleQcCaption, "k31[%]");
    EXPECT_EQ(change.MeasurementQcCaption, "k31");
    EXPECT_FALSE(change.RunPass);
    EXPECT_TRUE(change.MarkProtocolHeaderChanged);
    EXPECT_TRUE(change.ResetCProtocolValue);

    results.FMin = 100;
    results.FMax = 110;
    change = ModeChange(ModeKp, results);
    EXPECT_EQ(change.ModeValueCaption, "kp        [%]");
    EXPECT_TRUE(change.RunPass);
    EXPECT_EQ(ModeChange(-1, results).ModeValueCaption, "       [%]");
}

} // namespace
} // namespace ymt
