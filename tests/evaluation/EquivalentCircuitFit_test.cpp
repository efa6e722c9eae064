// The equivalent-circuit fit on spectra computed here from a sample's parameters (C0 with a
// loss tangent in parallel with R1-L1-C1 branches given as fs, C1, Qm): accuracy without and
// with noise, convergence for low and high Qm wherever the grid falls, the refusals, and the
// texts and curves the window shows of a fit.
#include "evaluation/EquivalentCircuitFit.h"
#include "evaluation/EquivalentCircuitReport.h"
#include "tests/evaluation/EvaluationTestSupport.h"
#include "tests/support/Tolerance.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

namespace {

using Complex = std::complex<double>;
using ymt::test::IsRelativelyNear;
constexpr double kPi = std::numbers::pi;

struct Branch {
    double FsKHz, C1nF, Qm;
};

struct Sample {
    double C0nF = 1.5;
    double LossTangent = 0;
    std::vector<Branch> Branches{{200, 0.30, 500}};
};

double L1Of(const Branch& b) {
    const double w = 2 * kPi * b.FsKHz * 1e3;
    return 1 / (w * w * b.C1nF * 1e-9);
}

double R1Of(const Branch& b) {
    return 1 / (2 * kPi * b.FsKHz * 1e3 * b.C1nF * 1e-9 * b.Qm);
}

Complex SampleZ(const Sample& s, double fKHz) {
    const double w = 2 * kPi * fKHz * 1e3;
    Complex y(w * s.C0nF * 1e-9 * s.LossTangent, w * s.C0nF * 1e-9);
    for (const Branch& b : s.Branches)
        y += 1.0 / Complex(R1Of(b), w * L1Of(b) - 1 / (w * b.C1nF * 1e-9));
    return 1.0 / y;
}

// count points from low to high kHz; noise is the relative standard deviation of the complex
// impedance, as the simulated analyzer applies it.
std::vector<ymt::ImpedancePoint> Spectrum(const Sample& s, double low, double high, int count,
                                          double noise = 0, unsigned seed = 7) {
    std::mt19937 generator(seed);
    std::normal_distribution<double> normal;
    std::vector<ymt::ImpedancePoint> points;
    for (int i = 0; i < count; ++i) {
        const double f = low + (high - low) * i / (count - 1);
        Complex z = SampleZ(s, f);
        if (noise > 0)
            z *= Complex(1 + noise * normal(generator), noise * normal(generator));
        points.push_back({f, std::abs(z), std::arg(z) * 180 / kPi});
    }
    return points;
}

double FpOf(const Sample& s) {
    const Branch& b = s.Branches.front();
    return b.FsKHz * std::sqrt(1 + b.C1nF / s.C0nF);
}

ymt::EquivalentCircuit FitOrFail(const std::vector<ymt::ImpedancePoint>& points) {
    const ymt::FitOutcome outcome = ymt::FitEquivalentCircuit(points);
    EXPECT_TRUE(outcome.Fit.has_value()) << outcome.Message.toStdString();
    return outcome.Fit.value_or(ymt::EquivalentCircuit{});
}

} // namespace

TEST(EquivalentCircuitFit, ExactSpectrumGivesTheSampleCircuitAndItsResonances) {
    const Sample s;
    const Branch& b = s.Branches.front();
    const ymt::EquivalentCircuit fit = FitOrFail(Spectrum(s, 150, 300, 401));
    EXPECT_TRUE(IsRelativelyNear(fit.Circuit.C0, s.C0nF * 1e-9, 1e-7)) << "C0";
    EXPECT_TRUE(IsRelativelyNear(fit.Circuit.C1, b.C1nF * 1e-9, 1e-7)) << "C1";
    EXPECT_TRUE(IsRelativelyNear(fit.Circuit.L1, L1Of(b), 1e-7)) << "L1";
    EXPECT_TRUE(IsRelativelyNear(fit.Circuit.R1, R1Of(b), 1e-7)) << "R1";
    EXPECT_NEAR(fit.Circuit.LossTangent, 0, 1e-9);
    EXPECT_TRUE(IsRelativelyNear(fit.SeriesResonanceKHz, b.FsKHz, 1e-9)) << "fs";
    EXPECT_TRUE(IsRelativelyNear(fit.ParallelResonanceKHz, FpOf(s), 1e-9)) << "fp";
    EXPECT_TRUE(IsRelativelyNear(fit.QualityFactor, b.Qm, 1e-7)) << "Qm";
    EXPECT_TRUE(
        IsRelativelyNear(fit.CouplingFactor, std::sqrt(1 - std::pow(b.FsKHz / FpOf(s), 2)), 1e-7))
        << "k";
    EXPECT_LT(fit.RelativeRms, 1e-9);
    EXPECT_EQ(fit.Points, 401);
}

// fs anywhere between two grid points, from a broad to a resonance narrower than one step.
TEST(EquivalentCircuitFit, ConvergesForLowAndHighQmWhereverTheGridFalls) {
    for (const double qm : {50.0, 500.0, 2000.0, 5000.0}) {
        for (const double offset : {0.0, 0.1, 0.25, 0.5, 0.77}) {
            Sample s;
            s.Branches = {{200 + offset * 0.375, 0.30, qm}};
            const ymt::FitOutcome outcome = ymt::FitEquivalentCircuit(Spectrum(s, 150, 300, 401));
            ASSERT_TRUE(outcome.Fit)
                << "Qm " << qm << " offset " << offset << ": " << outcome.Message.toStdString();
            EXPECT_TRUE(
                IsRelativelyNear(outcome.Fit->SeriesResonanceKHz, s.Branches[0].FsKHz, 1e-7))
                << "fs";
            EXPECT_TRUE(IsRelativelyNear(outcome.Fit->QualityFactor, qm, 1e-5)) << "Qm";
        }
    }
}

TEST(EquivalentCircuitFit, NoisySpectrumStaysWithinTheNoiseOfItsPoints) {
    const Sample s;
    for (const unsigned seed : {1u, 2u, 3u, 4u}) {
        const ymt::EquivalentCircuit fit = FitOrFail(Spectrum(s, 150, 300, 401, 1e-3, seed));
        EXPECT_TRUE(IsRelativelyNear(fit.SeriesResonanceKHz, 200, 5e-4)) << "fs";
        EXPECT_TRUE(IsRelativelyNear(fit.ParallelResonanceKHz, FpOf(s), 5e-4)) << "fp";
        EXPECT_TRUE(IsRelativelyNear(fit.QualityFactor, 500, 0.05)) << "Qm";
        // Real and imaginary noise of 0.1 % each.
        EXPECT_NEAR(fit.RelativeRms, 1e-3 * std::sqrt(2.0), 3e-4);
    }
}

// A loss tangent of C0 and a second branch far above: fs stays, C0 becomes what the window sees.
TEST(EquivalentCircuitFit, LossyTwoBranchSampleGivesTheResonanceTheWindowHolds) {
    Sample s;
    s.LossTangent = 0.002;
    s.Branches = {{200, 0.30, 500}, {2000, 0.10, 300}};
    const ymt::EquivalentCircuit fit = FitOrFail(Spectrum(s, 150, 300, 401));
    EXPECT_TRUE(IsRelativelyNear(fit.SeriesResonanceKHz, 200, 1e-4)) << "fs";
    EXPECT_TRUE(IsRelativelyNear(fit.QualityFactor, 500, 0.03)) << "Qm";
    const double seenC0 = s.C0nF + 0.10 / (1 - std::pow(225.0 / 2000, 2));
    EXPECT_TRUE(IsRelativelyNear(fit.Circuit.C0, seenC0 * 1e-9, 2e-3)) << "C0";
    // The loss of C0 shows as its own, seen against the larger capacitance of the window.
    EXPECT_NEAR(fit.Circuit.LossTangent, 0.002 * s.C0nF / seenC0, 1e-4);
}

TEST(EquivalentCircuitFit, RefusesTooFewPointsAndWindowsWithoutOneResonance) {
    const Sample s;
    const std::vector<ymt::ImpedancePoint> full = Spectrum(s, 150, 300, 401);
    // 7 points around the resonance: too few, whatever they show.
    const std::vector<ymt::ImpedancePoint> seven(full.begin() + 130, full.begin() + 137);
    EXPECT_EQ(ymt::FitEquivalentCircuit(seven).Refusal, ymt::FitRefusal::TooFewPoints);
    const std::vector<ymt::ImpedancePoint> eight(full.begin() + 120, full.begin() + 128);
    EXPECT_FALSE(ymt::FitEquivalentCircuit(eight).Fit);

    // Below the resonance: a capacitance, with or without noise.
    for (const double noise : {0.0, 1e-3}) {
        const ymt::FitOutcome below = ymt::FitEquivalentCircuit(Spectrum(s, 100, 180, 401, noise));
        EXPECT_FALSE(below.Fit);
        EXPECT_EQ(below.Refusal, ymt::FitRefusal::NoResonance);
        EXPECT_FALSE(below.Message.isEmpty());
    }
    // The series resonance alone, the parallel one beyond the window.
    EXPECT_EQ(ymt::FitEquivalentCircuit(Spectrum(s, 150, 210, 401)).Refusal,
              ymt::FitRefusal::NoResonance);

    // Two resonances in one window: one circuit cannot describe them.
    Sample two;
    two.Branches = {{200, 0.30, 500}, {600, 0.20, 300}};
    const ymt::FitOutcome both = ymt::FitEquivalentCircuit(Spectrum(two, 150, 800, 1203));
    EXPECT_FALSE(both.Fit);
    EXPECT_FALSE(both.Message.isEmpty());
}

TEST(EquivalentCircuitFit, PointsInWindowTakeOnlyPointsStrictlyInsideWithAPositiveZ) {
    const ymt::CurveStore store = ymt::test::SpectrumStore(
        {100, 150, 160, 170, 180, 200}, {5, 6, 0, 8, 9, 10}, {-90, -89, -88, -87, -86, -85});
    const std::vector<ymt::ImpedancePoint> points = ymt::PointsInWindow(store, 150, 200);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].FrequencyKHz, 170);
    EXPECT_EQ(points[0].MagnitudeOhm, 8);
    EXPECT_EQ(points[0].ThetaDeg, -87);
    EXPECT_EQ(points[1].FrequencyKHz, 180);
}

TEST(EquivalentCircuitReport, TextsAndProtocolLineShowTheFitInTheirUnits) {
    ymt::EquivalentCircuit fit =
        ymt::DescribeCircuit({1.5e-9, 5.305165, 2.110857e-3, 0.3e-9, 2e-4});
    fit.RelativeRms = 0.0012345;
    fit.Points = 399;
    const ymt::CircuitFitTexts texts = ymt::FormatCircuitFit(fit);
    EXPECT_EQ(texts.C0, QStringLiteral("1.5000"));
    EXPECT_EQ(texts.LossTangent, QStringLiteral("2.0"));
    EXPECT_EQ(texts.R1, QStringLiteral("5.305"));
    EXPECT_EQ(texts.L1, QStringLiteral("2.1109"));
    EXPECT_EQ(texts.C1, QStringLiteral("300.000"));
    EXPECT_EQ(texts.Fs, QStringLiteral("200.000"));
    EXPECT_EQ(texts.Fp, QStringLiteral("219.089"));
    EXPECT_EQ(texts.Qm, QStringLiteral("500"));
    EXPECT_EQ(texts.KEff, QStringLiteral("40.82"));
    EXPECT_EQ(texts.Rms, QStringLiteral("0.123"));
    EXPECT_EQ(texts.Points, QStringLiteral("399"));
    EXPECT_EQ(ymt::CircuitFitProtocolLine(QStringLiteral("disc 7"), fit),
              QStringLiteral("disc 7\tfit\tfs[kHz] 200.000\tfp[kHz] 219.089\tQm 500"));
}

TEST(EquivalentCircuitReport, FittedCurvesFollowTheDisplayPairAndItsCurves) {
    ymt::CurveStore store;
    store.setVisible(1, true);
    store.setAxis(2, 1);
    store.setVisible(2, false);
    const ymt::ButterworthVanDyke circuit{1.5e-9, 5.3, 2.11e-3, 0.3e-9, 0};
    ymt::SampleDescription sample;
    ymt::StoreFittedCurves(store, circuit, {190, 200, 210}, 1, sample);
    const ymt::Curve& z = store.curve(ymt::kFittedFirstCurve);
    const ymt::Curve& theta = store.curve(ymt::kFittedSecondCurve);
    ASSERT_EQ(z.Points.size(), 3u);
    ASSERT_EQ(theta.Points.size(), 3u);
    EXPECT_TRUE(z.Visible);
    EXPECT_FALSE(theta.Visible); // its measured curve is switched off
    EXPECT_EQ(theta.Axis, 1);
    for (int i = 0; i < 3; ++i) {
        const std::complex<double> expected = ymt::CircuitImpedance(circuit, z.Points[i].x);
        EXPECT_DOUBLE_EQ(z.Points[i].y, std::abs(expected));
        EXPECT_DOUBLE_EQ(theta.Points[i].y, std::arg(expected) * 180 / kPi);
    }
    // The permittivity pair needs an electrode area, as the measured curves do.
    sample.ElectrodeArea = 0;
    ymt::StoreFittedCurves(store, circuit, {190, 200}, 21, sample);
    EXPECT_EQ(store.pointCount(ymt::kFittedFirstCurve), 0);
    ymt::StoreFittedCurves(store, circuit, {190, 200}, 1, sample);
    ymt::ClearFittedCurves(store);
    EXPECT_EQ(store.pointCount(ymt::kFittedSecondCurve), 0);
    EXPECT_FALSE(store.curve(ymt::kFittedFirstCurve).Visible);
}
