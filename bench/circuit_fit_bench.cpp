// Cost of the equivalent-circuit fit: 1,203 points (three sweeps of 401) of the default sample
// over 150-300 kHz, and the same with the simulator's noise of 0.1 %. Budget: under 20 ms.
#include "evaluation/EquivalentCircuitFit.h"
#include "instrument/simulated/SampleModel.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

std::vector<ymt::ImpedancePoint> DefaultSampleSpectrum(int count, double noise) {
    const ymt::SampleModel sample = ymt::DefaultSampleModel();
    std::mt19937 generator(1);
    std::normal_distribution<double> normal;
    std::vector<ymt::ImpedancePoint> points;
    for (int i = 0; i < count; ++i) {
        const double f = 150 + 150.0 * i / (count - 1);
        std::complex<double> z = ymt::SampleImpedance(sample, f);
        if (noise > 0)
            z *= std::complex<double>(1 + noise * normal(generator), noise * normal(generator));
        points.push_back({f, std::abs(z), std::arg(z) * 180 / 3.14159265358979323846});
    }
    return points;
}

void BM_FitEquivalentCircuit(benchmark::State& state) {
    const std::vector<ymt::ImpedancePoint> points =
        DefaultSampleSpectrum(static_cast<int>(state.range(0)), state.range(1) * 1e-3);
    for (auto _ : state) {
        const ymt::FitOutcome outcome = ymt::FitEquivalentCircuit(points);
        if (!outcome.Fit)
            state.SkipWithError("the fit was refused");
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_FitEquivalentCircuit)
    ->ArgNames({"points", "noise_permille"})
    ->Args({401, 0})
    ->Args({1203, 0})
    ->Args({1203, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
