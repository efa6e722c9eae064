// Cost of "Read New Spectrum" in the shown main window with the defaults (two ranges of 401
// points) on the simulated analyzers and the virtual clock (--fast), so that only the program's
// own work counts: the sweeps' I/O, appending and sorting, the display pair, the plot repaints
// before each sweep and the return to the live state.
#include "app/MainWindow.h"
#include "bench/QtBenchmarkMain.h"
#include "core/Clock.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimBus.h"
#include "plot/FastGraph.h"
#include "tests/app/MainWindowTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include "bench/SimulatedAnalyzer.h"

#include <benchmark/benchmark.h>

namespace {

void readNewSpectrum(benchmark::State& state) {
    const int model = static_cast<int>(state.range(0));
    ymt::bench::UseSimulatedAnalyzer(model);
    {
        // The compensation dialogs of Connect are answered with Cancel.
        ymt::test::WindowOnTempHome fixture;
        TForm1& window = *fixture.window;
        window.resize(1024, 768);
        window.show();
        if (window.activationCount() == 0)
            window.FormActivate();
        window.findChild<QComboBox*>(QStringLiteral("ComboBox6"))->setCurrentIndex(model);
        window.Button12Click();
        if (window.AnalyzerHandle == 0) {
            state.SkipWithError("no simulated analyzer answered");
            return;
        }
        // Connect ends on tab "Sample"; the plot repaints only where it can be seen.
        window.pageControl()->setCurrentIndex(2);
        QApplication::processEvents();
        if (!window.fastgraph1->isVisible()) {
            state.SkipWithError("the measurement plot is not shown");
            return;
        }
        for (auto _ : state) {
            window.Button6Click();
            benchmark::DoNotOptimize(window.fastgraph1->store().pointCount(3));
        }
        state.counters["points"] = window.fastgraph1->store().pointCount(3);
    }
    ymt::sicl::closeAllSessions();
    ymt::sicl::clearConfigText();
    ymt::sim::resetBus();
}
BENCHMARK(readNewSpectrum)->Arg(0)->Arg(1)->ArgName("model")->Unit(benchmark::kMillisecond);

} // namespace

YMT_QT_BENCHMARK_MAIN()
