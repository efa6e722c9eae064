// main() of a benchmark program that draws or opens windows: Qt's offscreen platform, one
// application object, then the benchmarks named on the command line.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#define YMT_QT_BENCHMARK_MAIN()                                                                    \
    int main(int argc, char** argv) {                                                              \
        qputenv("QT_QPA_PLATFORM", "offscreen");                                                   \
        QApplication app(argc, argv);                                                              \
        benchmark::Initialize(&argc, argv);                                                        \
        if (benchmark::ReportUnrecognizedArguments(argc, argv))                                    \
            return 1;                                                                              \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
