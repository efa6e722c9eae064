// Cost of the evaluation on a large spectrum: rebuilding the display pair and one search plus
// evaluation pass, on 100,000 points of a resonator around 200 kHz.
#include "evaluation/CouplingFactors.h"
#include "evaluation/DisplayQuantities.h"
#include "evaluation/ResonanceEvaluation.h"

#include <benchmark/benchmark.h>

#include <complex>
#include <numbers>

namespace {

constexpr int kPoints = 100000;
constexpr double kLowKHz = 150;
constexpr double kHighKHz = 250;

// Series R-L-C branch in parallel with the electrode capacitance: one resonance pair.
ymt::CurveStore ResonatorSpectrum() {
    ymt::CurveStore store;
    const double r = 10, l = 0.01, c = 6.8e-11, c0 = 3e-10;
    for (int i = 0; i < kPoints; ++i) {
        const double f = kLowKHz + (kHighKHz - kLowKHz) * i / (kPoints - 1);
        const double w = 2 * std::numbers::pi * f * 1000;
        const std::complex<double> branch(r, w * l - 1 / (w * c));
        const std::complex<double> z = 1.0 / (std::complex<double>(0, w * c0) + 1.0 / branch);
        store.AddPoint(ymt::kImpedanceCurve, f, std::abs(z));
        store.AddPoint(ymt::kPhaseCurve, f, std::arg(z) * 180 / std::numbers::pi);
    }
    return store;
}

ymt::PassOutcome SearchAndPass(const ymt::CurveStore& store) {
    ymt::EvaluationResults results;
    ymt::getminmax(store, kLowKHz - 1, kHighKHz + 1, results);
    ymt::PassInputs inputs;
    inputs.FA = results.FMax;
    inputs.FB = results.FMin;
    inputs.ModePosition = ymt::ModeKt;
    return ymt::koppelfaktor(store, results, inputs);
}

// The budget: both together under 10 ms. "Cs - D" needs every term of a point.
void BM_RebuildPairAndEvaluate(benchmark::State& state) {
    ymt::CurveStore store = ResonatorSpectrum();
    const ymt::SampleDescription sample;
    for (auto _ : state) {
        ymt::RebuildDisplayCurves(store, static_cast<int>(state.range(0)), sample);
        benchmark::DoNotOptimize(SearchAndPass(store));
    }
}
BENCHMARK(BM_RebuildPairAndEvaluate)->Arg(1)->Arg(7)->Arg(21)->Unit(benchmark::kMillisecond);

void BM_RebuildPair(benchmark::State& state) {
    ymt::CurveStore store = ResonatorSpectrum();
    const ymt::SampleDescription sample;
    for (auto _ : state)
        benchmark::DoNotOptimize(ymt::RebuildDisplayCurves(store, 7, sample));
}
BENCHMARK(BM_RebuildPair)->Unit(benchmark::kMillisecond);

void BM_SearchAndPass(benchmark::State& state) {
    const ymt::CurveStore store = ResonatorSpectrum();
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchAndPass(store));
}
BENCHMARK(BM_SearchAndPass)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
