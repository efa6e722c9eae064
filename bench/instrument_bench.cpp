// Cost of the program's own work around one sweep on the simulated analyzers, with the virtual
// clock so that the simulated sweep time does not count: formatting in the simulator, the
// transport, and parsing the 401-point traces A and B.
#include "core/Clock.h"
#include "instrument/analyzer/HP4x94A.h"
#include "instrument/analyzer/ReplyParsers.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimBus.h"

#include "bench/SimulatedAnalyzer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

void measureSweep(benchmark::State& state) {
    const int model = static_cast<int>(state.range(0));
    ymt::bench::UseSimulatedAnalyzer(model);
    ymt::TSicl session(QStringLiteral("gpib0"), 2000);
    ymt::HP4x94A analyzer;
    analyzer.AnalyzerSession = &session;
    analyzer.AnalyzerModel = model;
    analyzer.CompletionTimeout = 30000;
    session.Open(17, analyzer.AnalyzerHandle);
    analyzer.PresetAnalyzer();
    analyzer.SetSweepRange(100, 300);
    for (auto _ : state) {
        analyzer.MeasureSweep();
        benchmark::DoNotOptimize(analyzer.TraceA.data());
    }
    ymt::sicl::closeAllSessions();
    ymt::sicl::clearConfigText();
    ymt::sim::resetBus();
}
BENCHMARK(measureSweep)->Arg(0)->Arg(1)->ArgName("model")->Unit(benchmark::kMicrosecond);

// The parsers alone, on one 401-point trace pair as each model sends it.
void parseFixedFields(benchmark::State& state) {
    std::string reply;
    char field[24];
    for (int i = 0; i < 802; ++i) {
        std::snprintf(field, sizeof field, "%+.5E", 1234.5 + i);
        reply.append(field, 12);
        reply += ',';
    }
    for (auto _ : state) {
        double value = 0, sum = 0;
        for (std::size_t offset = 0; offset + 13 <= reply.size(); offset += 13) {
            ymt::ConvertFixedField(reply.data() + offset, 12, value);
            sum += value;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(parseFixedFields)->Unit(benchmark::kMicrosecond);

void parseValueList(benchmark::State& state) {
    std::string reply;
    char pair[48];
    for (int i = 0; i < 802; ++i) {
        std::snprintf(pair, sizeof pair, "%s%+.9E,+0.000000000E+00", i ? "," : "", 1234.5 + i);
        reply += pair;
    }
    double values[1604];
    for (auto _ : state)
        benchmark::DoNotOptimize(ymt::ParseValueList(reply.data(), reply.size(), values, 1604));
}
BENCHMARK(parseValueList)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
