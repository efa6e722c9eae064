// Cost of one 401-point trace pair through the "prologix tcp" transport to the simulated
// adapter server on loopback, with the virtual clock on both sides so that the simulated sweep
// takes no time. CPU time is the program's own work (the server is another process); the same
// sweep on the in-process simulated bus is beside it for comparison.
#include "core/Clock.h"
#include "instrument/analyzer/HP4x94A.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimBus.h"

#include "bench/SimulatedAnalyzer.h"
#include "tests/instrument/SimServerProcess.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

QString deviceSection(int model) {
    return QStringLiteral("[gpib0,17]\ndevice = %1\n")
        .arg(model == 0 ? QStringLiteral("HP4194A") : QStringLiteral("HP4294A"));
}

void sweepRepeatedly(benchmark::State& state, int model) {
    ymt::TSicl session(QStringLiteral("gpib0"), 2000);
    ymt::HP4x94A analyzer;
    analyzer.AnalyzerSession = &session;
    analyzer.AnalyzerModel = model;
    analyzer.CompletionTimeout = 30000;
    session.Open(17, analyzer.AnalyzerHandle);
    if (analyzer.AnalyzerHandle == 0) {
        state.SkipWithError("no analyzer");
        return;
    }
    analyzer.PresetAnalyzer();
    analyzer.SetSweepRange(100, 300);
    for (auto _ : state) {
        analyzer.MeasureSweep();
        benchmark::DoNotOptimize(analyzer.TraceA.data());
    }
    if (analyzer.TraceA[400] == 0)
        state.SkipWithError("trace A incomplete");
    ymt::sicl::closeAllSessions();
    ymt::sicl::clearConfigText();
}

void prologixTcpTracePair(benchmark::State& state) {
    const int model = static_cast<int>(state.range(0));
    ymt::clock::setVirtual(true);
    ymt::testing::SimServerProcess server;
    if (!server.start(deviceSection(model))) {
        state.SkipWithError("simulated adapter server did not start");
        return;
    }
    ymt::sicl::setConfigText(
        QStringLiteral("[interfaces]\ngpib0 = prologix tcp %1\n").arg(server.endpoint()));
    sweepRepeatedly(state, model);
}
BENCHMARK(prologixTcpTracePair)->Arg(0)->Arg(1)->ArgName("model")->Unit(benchmark::kMillisecond);

void simulatedBusTracePair(benchmark::State& state) {
    const int model = static_cast<int>(state.range(0));
    ymt::bench::UseSimulatedAnalyzer(model);
    sweepRepeatedly(state, model);
    ymt::sim::resetBus();
}
BENCHMARK(simulatedBusTracePair)->Arg(0)->Arg(1)->ArgName("model")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
