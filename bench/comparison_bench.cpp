// Timing of the comparison set: adding ten spectrum files of 10,000 points (reading through the
// shared row reader, the reading plot and the entries, as "Add Curve(s) to Set..." does) and
// redrawing the comparison plot with the ten |Z| curves at its on-screen size.
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

void BM_RedrawComparisonPlot(benchmark::State& state) {
    TenFiles files;
    ymt::TFastGraph graph;
    ymt::ApplyQgraphDefaults(graph);
    ymt::SetUpComparisonPlot(graph, state.range(0));
    ymt::CurveStore reading;
    addAll(files.paths, graph.store(), reading);
    std::array<bool, ymt::kComparisonEntries> checked;
    checked.fill(true);
    ymt::ApplyCurveGroup(graph.store(), false, checked);
    graph.XAxis.setMin(90);
    graph.XAxis.setMax(410);
    // The plot's size in the window of 818 x 591 pixels.
    QImage image(590, 520, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        graph.DrawGraph(painter, QRect(1, 1, image.width() - 1, image.height() - 1));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_AddTenSpectra)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawComparisonPlot)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
