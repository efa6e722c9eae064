// Timing of the comparison set: adding ten spectrum files of 10,000 points (reading through the
// shared row reader, the reading plot and the entries, as "Add Curve(s) to Set..." does) and
// redrawing the comparison plot with the ten |Z| curves at its on-screen size, once the curves
// have been drawn and right after they changed.
#include "bench/QtBenchmarkMain.h"
#include "plot/FastGraph.h"
#include "plot/PlotInstances.h"
#include "records/ComparisonSet.h"
#include "tests/support/SpectrumFiles.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

namespace {

constexpr int kFiles = 10;
constexpr int kPoints = 10000;

struct TenFiles {
    TenFiles() {
        for (int i = 0; i < kFiles; ++i) {
            ymt::test::SpectrumFileOptions options;
            options.points = kPoints;
            options.fromKHz = 100 + 10 * i;
            options.toKHz = 300 + 10 * i;
            paths << dir.filePath(QStringLiteral("s%1.txt").arg(i));
            ymt::test::WriteSpectrumFile(paths.last(), options);
        }
    }
    QTemporaryDir dir;
    QStringList paths;
};

// The body of "Add Curve(s) to Set..." for one selection, without its dialogs.
void addAll(const QStringList& paths, ymt::CurveStore& set, ymt::CurveStore& reading) {
    for (const QString& path : paths) {
        const ymt::ComparisonFile file = ymt::ReadComparisonFile(path);
        reading.ClearAll();
        for (const ymt::SpectrumPoint& point : file.points) {
            reading.AddPoint(1, point.frequency, point.magnitude);
            reading.AddPoint(2, point.frequency, point.phase);
        }
        ymt::FillEntry(set, ymt::ChooseEntry(set), reading);
    }
    reading.ClearAll();
}

void BM_AddTenSpectra(benchmark::State& state) {
    TenFiles files;
    for (auto _ : state) {
        ymt::CurveStore set;
        ymt::CurveStore reading;
        addAll(files.paths, set, reading);
        benchmark::DoNotOptimize(set.pointCount(19));
    }
}

// The comparison plot with the ten |Z| curves of width `width` on its log axis.
void setUpPlot(ymt::TFastGraph& graph, const TenFiles& files, int width) {
    ymt::ApplyQgraphDefaults(graph);
    ymt::SetUpComparisonPlot(graph, width);
    ymt::CurveStore reading;
    addAll(files.paths, graph.store(), reading);
    std::array<bool, ymt::kComparisonEntries> checked;
    checked.fill(true);
    ymt::ApplyCurveGroup(graph.store(), false, checked);
    graph.XAxis.setMin(90);
    graph.XAxis.setMax(410);
}

void redraw(ymt::TFastGraph& graph, QImage& image) {
    QPainter painter(&image);
    graph.DrawGraph(painter, QRect(1, 1, image.width() - 1, image.height() - 1));
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
}

// The plot's size in the window of 818 x 591 pixels.
QImage plotImage() {
    return QImage(590, 520, QImage::Format_RGB32);
}

void BM_RedrawComparisonPlot(benchmark::State& state) {
    TenFiles files;
    ymt::TFastGraph graph;
    setUpPlot(graph, files, static_cast<int>(state.range(0)));
    QImage image = plotImage();
    for (auto _ : state)
        redraw(graph, image);
}

// The first redraw after every curve changed (as after adding files): the axis units of all
// 100,000 points are computed again.
void BM_RedrawComparisonPlotAfterChange(benchmark::State& state) {
    TenFiles files;
    ymt::TFastGraph graph;
    setUpPlot(graph, files, 2);
    QImage image = plotImage();
    double y = 1000;
    for (auto _ : state) {
        y = y == 1000 ? 1001 : 1000;
        for (int entry = 1; entry <= kFiles; ++entry)
            graph.store().setY(ymt::ImpedanceCurveOf(entry), 0, y);
        redraw(graph, image);
    }
}

BENCHMARK(BM_AddTenSpectra)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawComparisonPlot)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawComparisonPlotAfterChange)->Unit(benchmark::kMillisecond);

} // namespace

YMT_QT_BENCHMARK_MAIN()
