// Timing of the files an operator writes and reads: save and open of a 100,000-point spectrum
// (budget 50 ms each), and JPEG and PNG pictures of a 1600 x 1000 measurement plot (30 ms each).
#include "bench/QtBenchmarkMain.h"
#include "core/FileWrite.h"
#include "plot/FastGraph.h"
#include "plot/GraphExport.h"
#include "records/SpectrumFile.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <cmath>
#include <complex>

namespace {

constexpr int kPoints = 100000;

// |Z| and theta of a resonator between 50 and 400 kHz into curves zCurve and zCurve + 1.
void addSpectrum(ymt::CurveStore& store, int zCurve, int points) {
    const double c0 = 1e-9, r = 20, c1 = 1.5e-10;
    const double l = 1.0 / (std::pow(2 * M_PI * 200e3, 2) * c1);
    for (int i = 0; i < points; ++i) {
        const double fKHz = 50 + 350.0 * i / (points - 1);
        const double w = 2 * M_PI * fKHz * 1e3;
        const std::complex<double> z = 1.0 / (std::complex<double>(0, w * c0) +
                                              1.0 / std::complex<double>(r, w * l - 1 / (w * c1)));
        store.AddPoint(zCurve, fKHz, std::abs(z));
        store.AddPoint(zCurve + 1, fKHz, std::arg(z) * 180 / M_PI);
    }
}

QByteArray fileBytes(const ymt::CurveStore& store) {
    ymt::ResultsSnapshot snapshot;
    snapshot.SampleNameText = QStringLiteral("bench");
    ymt::SpectrumFileExtras extras;
    extras.DateTime = QStringLiteral("1/31/24 / 11:59:59 PM");
    extras.LeftAxisTitle = QStringLiteral("|Z| [Ohm]");
    extras.RightAxisTitle = QStringLiteral("theta [°]");
    return ymt::SpectrumFileBytes(snapshot, extras, store, std::nullopt);
}

void BM_SaveSpectrum100k(benchmark::State& state) {
    ymt::CurveStore store;
    addSpectrum(store, 3, kPoints);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.txt"));
    for (auto _ : state) {
        const QByteArray bytes = fileBytes(store);
        if (!ymt::WriteFileReplacing(path, bytes, nullptr))
            state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_SaveSpectrum100k)->Unit(benchmark::kMillisecond);

void BM_OpenSpectrum100k(benchmark::State& state) {
    ymt::CurveStore store;
    addSpectrum(store, 3, kPoints);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.txt"));
    ymt::WriteFileReplacing(path, fileBytes(store), nullptr);
    for (auto _ : state) {
        const ymt::SpectrumFileRead read = ymt::ReadSpectrumFile(path);
        // The curves the window fills from the rows belong to opening as well.
        ymt::CurveStore opened;
        for (const ymt::SpectrumPoint& point : read.content.rows.points) {
            opened.AddPoint(1, point.frequency, point.magnitude);
            opened.AddPoint(2, point.frequency, point.phase);
            opened.AddPoint(3, point.frequency, point.magnitude);
            opened.AddPoint(4, point.frequency, point.phase);
        }
        if (opened.pointCount(3) != kPoints)
            state.SkipWithError("points lost");
    }
}
BENCHMARK(BM_OpenSpectrum100k)->Unit(benchmark::kMillisecond);

void savePicture(benchmark::State& state, ymt::GraphImageType type, const char* name) {
    ymt::TFastGraph graph;
    graph.resize(1600, 1000);
    graph.XAxis.setMin(50);
    graph.XAxis.setMax(400);
    graph.YAxis.setLog(true);
    graph.YAxis.setAutoscale(true);
    graph.Y2Axis.setAutoscale(true);
    addSpectrum(graph.store(), 1, 1203);
    graph.store().setVisible(1, true);
    graph.store().setVisible(2, true);
    graph.store().setAxis(2, 1);
    graph.store().setWidth(1, 2);
    graph.store().setWidth(2, 2);
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(name));
    for (auto _ : state) {
        if (!ymt::SaveGraphImage(graph, type, path, nullptr))
            state.SkipWithError("picture not written");
    }
}

void BM_SaveJpeg1600x1000(benchmark::State& state) {
    savePicture(state, ymt::GraphImageType::Jpeg, "p.jpg");
}
BENCHMARK(BM_SaveJpeg1600x1000)->Unit(benchmark::kMillisecond);

void BM_SavePng1600x1000(benchmark::State& state) {
    savePicture(state, ymt::GraphImageType::Png, "p.png");
}
BENCHMARK(BM_SavePng1600x1000)->Unit(benchmark::kMillisecond);

} // namespace

YMT_QT_BENCHMARK_MAIN()
