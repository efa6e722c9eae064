// Timing of the curve store's hot operations: appending a measured spectrum point by point,
// sorting a curve by frequency and cutting a re-measured range out of it.
#include "plot/curves/CurveStore.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <random>
#include <vector>

namespace {

// Frequencies in random order over the analyzer's span, as several merged sweeps give.
std::vector<ymt::CurvePoint> randomPoints(int count) {
    std::mt19937_64 random(1234);
    std::uniform_real_distribution<double> frequency(0.04, 110000);
    std::vector<ymt::CurvePoint> points(static_cast<size_t>(count));
    for (ymt::CurvePoint& p : points)
        p = {frequency(random), frequency(random)};
    return points;
}

// Minor page faults so far: on some machines first-touching fresh memory costs far more than
// the appending itself, and the figures should show which of the two was measured.
double pageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_minflt);
}

void addRamp(ymt::CurveStore& store, int count) {
    for (int i = 0; i < count; ++i)
        store.AddPoint(3, 0.04 + i * 0.1, 1000.0 - i);
}

// A new curve each time: includes the list's growth and the first touch of its memory.
void BM_AddPoint(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const double faultsBefore = pageFaults();
    for (auto _ : state) {
        ymt::CurveStore store;
        addRamp(store, count);
        benchmark::DoNotOptimize(store.curve(3).Points.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["ns_per_point"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["page_faults"] =
        benchmark::Counter(pageFaults() - faultsBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_AddPoint)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Refilling a curve whose list already has the room, as a repeated measurement does: the
// cost of AddPoint itself (append and six bound comparisons).
void BM_AddPointWarmList(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ymt::CurveStore store;
    store.mutableCurve(3)->Points.reserve(static_cast<size_t>(count));
    const double faultsBefore = pageFaults();
    for (auto _ : state) {
        store.mutableCurve(3)->Points.clear();
        addRamp(store, count);
        benchmark::DoNotOptimize(store.curve(3).Points.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["ns_per_point"] = benchmark::Counter(
        static_cast<double>(count),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["page_faults"] =
        benchmark::Counter(pageFaults() - faultsBefore, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_AddPointWarmList)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_SortCurve(benchmark::State& state) {
    const auto unsorted = randomPoints(static_cast<int>(state.range(0)));
    ymt::CurveStore store;
    for (auto _ : state) {
        state.PauseTiming();
        store.mutableCurve(3)->Points = unsorted;
        state.ResumeTiming();
        store.SortCurve(3);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortCurve)->Arg(100'000)->Unit(benchmark::kMillisecond);

// A curve that is already in order, as after a single sweep.
void BM_SortCurveAlreadySorted(benchmark::State& state) {
    ymt::CurveStore store;
    for (int i = 0; i < state.range(0); ++i)
        store.AddPoint(3, i, i);
    for (auto _ : state) {
        store.SortCurve(3);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SortCurveAlreadySorted)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Removes the middle half of the x range; measured at several lengths so that the fitted
// complexity shows whether the cost grows linearly.
void BM_DeleteRangeHalf(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto points = randomPoints(count);
    ymt::CurveStore store;
    for (auto _ : state) {
        state.PauseTiming();
        store.mutableCurve(3)->Points = points;
        state.ResumeTiming();
        store.DeleteRange(3, 110000 * 0.75, 110000 * 0.25);
        benchmark::ClobberMemory();
    }
    state.SetComplexityN(count);
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DeleteRangeHalf)
    ->Arg(25'000)
    ->Arg(50'000)
    ->Arg(100'000)
    ->Arg(200'000)
    ->Arg(400'000)
    ->Arg(800'000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity();

} // namespace

BENCHMARK_MAIN();
