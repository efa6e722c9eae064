// Timing of DrawGraph into a 1600 x 1000 image: the measurement plot with two curves of 1,203
// points on a log |Z| axis, and the comparison plot with 20 curves of 4,000 points; each next to
// its floor, the same points drawn with one drawPolyline per curve.
#include "bench/QtBenchmarkMain.h"
#include "plot/FastGraph.h"
#include "plot/PlotInstances.h"
#include "plot/curves/AxisScale.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <complex>
#include <vector>

namespace {

constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

// |Z| and theta of a resonator between 50 and 400 kHz; shift moves the resonance.
void addSpectrum(ymt::CurveStore& store, int zCurve, int thetaCurve, int points, double shift) {
    const double c0 = 1e-9, r = 20, c1 = 1.5e-10;
    const double l = 1.0 / (std::pow(2 * M_PI * (200e3 + shift), 2) * c1);
    for (int i = 0; i < points; ++i) {
        const double fKHz = 50 + 350.0 * i / (points - 1);
        const double w = 2 * M_PI * fKHz * 1e3;
        const std::complex<double> z = 1.0 / (std::complex<double>(0, w * c0) +
                                              1.0 / std::complex<double>(r, w * l - 1 / (w * c1)));
        store.AddPoint(zCurve, fKHz, std::abs(z));
        if (thetaCurve > 0)
            store.AddPoint(thetaCurve, fKHz, std::arg(z) * 180 / M_PI);
    }
}

struct Scene {
    ymt::TFastGraph graph;
    QImage image{kWidth, kHeight, QImage::Format_RGB32};

    void draw() {
        QPainter painter(&image);
        graph.DrawGraph(painter, QRect(0, 0, kWidth, kHeight));
    }

    // Pixel polylines of the visible curves as the last drawing mapped them.
    std::vector<std::pair<QPen, QPolygon>> mappedCurves() {
        draw();
        std::vector<std::pair<QPen, QPolygon>> curves;
        for (int n = 1; n <= ymt::CurveStore::kCurveCount; ++n) {
            const ymt::Curve& curve = graph.store().curve(n);
            if (!curve.Visible)
                continue;
            const ymt::TFastAxis& yAxis = curve.Axis == 0 ? graph.YAxis : graph.Y2Axis;
            QPolygon polygon;
            for (const ymt::CurvePoint& p : curve.Points) {
                const double y = yAxis.Log() ? std::log10(p.y) : p.y;
                const double low = yAxis.Log() ? yAxis.LogMin : yAxis.Min();
                polygon << QPoint(
                    ymt::MapAscending(p.x, graph.XAxis.Min(), graph.XAxis.Scale, graph.PlotLeft),
                    ymt::MapDescending(y, low, yAxis.Scale, graph.PlotBottom));
            }
            curves.push_back({QPen(ymt::toQColor(curve.Color), curve.Width, Qt::SolidLine,
                                   Qt::RoundCap, Qt::RoundJoin),
                              polygon});
        }
        return curves;
    }
};

void measurementScene(Scene& scene) {
    ymt::ApplyFastgraph1Defaults(scene.graph);
    ymt::SetUpMeasurementPlot(scene.graph, 0x0000FF, 2, 0xFF0000, 2);
    scene.graph.XAxis.setMin(50);
    scene.graph.XAxis.setMax(400);
    addSpectrum(scene.graph.store(), 1, 2, 1203, 0);
}

void comparisonScene(Scene& scene) {
    ymt::ApplyQgraphDefaults(scene.graph);
    ymt::SetUpComparisonPlot(scene.graph, 2);
    scene.graph.XAxis.setMin(50);
    scene.graph.XAxis.setMax(400);
    for (int n = 1; n <= 20; ++n) {
        scene.graph.store().setVisible(n, true);
        addSpectrum(scene.graph.store(), n, 0, 4000, n * 2e3);
    }
}

void drawGraph(benchmark::State& state, void (*setUp)(Scene&)) {
    Scene scene;
    setUp(scene);
    for (auto _ : state) {
        scene.draw();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}

void polylineFloor(benchmark::State& state, void (*setUp)(Scene&)) {
    Scene scene;
    setUp(scene);
    const auto curves = scene.mappedCurves();
    for (auto _ : state) {
        QPainter painter(&scene.image);
        for (const auto& [pen, polygon] : curves) {
            painter.setPen(pen);
            painter.drawPolyline(polygon);
        }
        painter.end();
        benchmark::DoNotOptimize(scene.image.constBits());
    }
}

void BM_DrawGraph_Measurement(benchmark::State& state) {
    drawGraph(state, measurementScene);
}
void BM_Floor_Measurement(benchmark::State& state) {
    polylineFloor(state, measurementScene);
}
void BM_DrawGraph_Comparison(benchmark::State& state) {
    drawGraph(state, comparisonScene);
}
void BM_Floor_Comparison(benchmark::State& state) {
    polylineFloor(state, comparisonScene);
}

BENCHMARK(BM_DrawGraph_Measurement)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_Measurement)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawGraph_Comparison)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_Comparison)->Unit(benchmark::kMillisecond);

} // namespace

YMT_QT_BENCHMARK_MAIN()
