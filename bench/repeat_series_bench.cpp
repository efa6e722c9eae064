// Cost of the repeat measurement's cycles in the shown main window on the simulated HP 4294A
// with the virtual clock (--fast), so that only the program's own work counts: the capacitance
// spot, the sweep of 150–250 kHz and the refining sweep with their I/O (the simulator included,
// it runs in this process), search and evaluation, the appended row, the three points of the
// series plot and its repaint (tab "Repeat Measurement" in front). One run is a whole series:
// interval 0.5 min, duration 300 min, 600 cycles. Memory: the growth of the heap in use and of
// the resident set from the end of cycle 100 to the end of cycle 600, per cycle, and the heap's
// growth beyond the lists that hold the series plot's points.
#include "app/MainWindow.h"
#include "bench/QtBenchmarkMain.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimBus.h"
#include "plot/FastGraph.h"
#include "tests/app/MainWindowTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>

#include "bench/SimulatedAnalyzer.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

namespace {

constexpr int kCycles = 600;
constexpr int kSettledAfter = 100; // cycles; the first ones fill caches and the plot's lists

double heapInUseBytes() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

double residentBytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) : 0;
}

// The bytes the lists of the series plot's curves (C, f(min), f(max)) hold.
double seriesPointBytes(const ymt::TFastGraph& graph) {
    double bytes = 0;
    for (int curve = 1; curve <= 3; ++curve)
        bytes += double(graph.store().curve(curve).Points.capacity() * sizeof(ymt::CurvePoint));
    return bytes;
}

void typeInto(TForm1& window, const char* name, const QString& text) {
    auto* field = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    field->setText(text);
    window.runExitHandler(field);
}

void repeatSeriesCycle(benchmark::State& state) {
    ymt::bench::UseSimulatedAnalyzer(1);
    {
        // The compensation dialogs of Connect are answered with Cancel.
        ymt::test::WindowOnTempHome fixture;
        TForm1& window = *fixture.window;
        window.resize(1024, 768);
        window.show();
        if (window.activationCount() == 0)
            window.FormActivate();
        window.findChild<QComboBox*>(QStringLiteral("ComboBox6"))->setCurrentIndex(1);
        window.Button12Click();
        if (window.AnalyzerHandle == 0) {
            state.SkipWithError("no simulated analyzer answered");
            return;
        }
        window.pageControl()->setCurrentWidget(
            window.findChild<QWidget*>(QStringLiteral("TabSheet8")));
        typeInto(window, "Edit33", QStringLiteral("150"));
        typeInto(window, "Edit34", QStringLiteral("250"));
        typeInto(window, "Edit28", QStringLiteral("0.5"));
        typeInto(window, "Edit29", QStringLiteral("300"));
        typeInto(window, "Edit30", QStringLiteral("series.txt"));
        window.Button27Click();
        QApplication::processEvents();

        int cycle = 0;
        double heapSettled = 0;
        double residentSettled = 0;
        double pointsSettled = 0;
        QString said;
        for (auto _ : state) {
            said = window.runTimerTick();
            // The event loop's turn after the cycle: the series plot is painted, and objects
            // released with deleteLater (Qt's layout animations among them) are deleted, which
            // processEvents outside a running loop does not do.
            QApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (++cycle == kSettledAfter) {
                heapSettled = heapInUseBytes();
                residentSettled = residentBytes();
                pointsSettled = seriesPointBytes(*window.dauergraph);
            }
        }
        if (!said.endsWith(QStringLiteral(", series finished"))) {
            state.SkipWithError(
                ("the series did not end with its last cycle: " + said).toStdString().c_str());
            return;
        }
        const double settledCycles = kCycles - kSettledAfter;
        const double heapGrowth = heapInUseBytes() - heapSettled;
        const double pointsGrowth = seriesPointBytes(*window.dauergraph) - pointsSettled;
        state.counters["heap_B_per_cycle"] = heapGrowth / settledCycles;
        state.counters["points_B_per_cycle"] = pointsGrowth / settledCycles;
        state.counters["heap_beyond_points_B_per_cycle"] =
            (heapGrowth - pointsGrowth) / settledCycles;
        state.counters["rss_B_per_cycle"] = (residentBytes() - residentSettled) / settledCycles;
    }
    ymt::sicl::closeAllSessions();
    ymt::sicl::clearConfigText();
    ymt::sim::resetBus();
}
BENCHMARK(repeatSeriesCycle)->Iterations(kCycles)->Unit(benchmark::kMillisecond);

} // namespace

YMT_QT_BENCHMARK_MAIN()
