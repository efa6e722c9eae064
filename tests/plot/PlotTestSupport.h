// Shared by the plot tests: a synthetic impedance spectrum and a paint device that records
// what a drawing writes (texts with their positions, lines and polylines).
#pragma once

#include "plot/FastGraph.h"

#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>
#include <QTransform>

#include <cmath>
#include <complex>
#include <memory>
#include <vector>

namespace ymt::test {

// |Z| (ohm) and theta (degrees) of a piezo resonator from fromKHz to toKHz, resonance near
// 200 kHz and anti-resonance near 215 kHz.
inline void AddSyntheticSpectrum(CurveStore& store, int zCurve, int thetaCurve, int points,
                                 double fromKHz = 50, double toKHz = 400) {
    const double c0 = 1e-9, r = 20, c1 = 1.5e-10, l = 1.0 / (std::pow(2 * M_PI * 200e3, 2) * c1);
    for (int i = 0; i < points; ++i) {
        const double fKHz = fromKHz + (toKHz - fromKHz) * i / (points - 1);
        const double w = 2 * M_PI * fKHz * 1e3;
        const std::complex<double> branch(r, w * l - 1 / (w * c1));
        const std::complex<double> z = 1.0 / (std::complex<double>(0, w * c0) + 1.0 / branch);
        store.AddPoint(zCurve, fKHz, std::abs(z));
        store.AddPoint(thetaCurve, fKHz, std::arg(z) * 180 / M_PI);
    }
}

struct RecordedText {
    QString text;
    QPointF baseline; // device coordinates
    double rotation;  // degrees, as the painter's transform turns the text
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform)
            transform = state.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
        const QLineF axis = transform.map(QLineF(0, 0, 1, 0));
        const double angle = axis.angle(); // counter-clockwise, 0..360
        texts.push_back({item.text(), transform.map(p), angle > 180 ? 360 - angle : -angle});
    }
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i)
            this->lines.push_back(transform.map(lines[i]));
    }
    void drawLines(const QLine* lines, int count) override {
        for (int i = 0; i < count; ++i)
            this->lines.push_back(transform.map(QLineF(lines[i])));
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (mode == PolylineMode) {
            QPolygonF polygon;
            for (int i = 0; i < count; ++i)
                polygon << transform.map(points[i]);
            polylines.push_back(polygon);
        }
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
        if (mode == PolylineMode) {
            QPolygonF polygon;
            for (int i = 0; i < count; ++i)
                polygon << transform.map(QPointF(points[i]));
            polylines.push_back(polygon);
        }
    }
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawPath(const QPainterPath&) override {}

    QTransform transform;
    std::vector<RecordedText> texts;
    std::vector<QLineF> lines;
    std::vector<QPolygonF> polylines;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height) : width_(width), height_(height) {}
    QPaintEngine* paintEngine() const override { return engine_.get(); }
    RecordingEngine& engine() { return *engine_; }

    // All recorded texts equal to text.
    std::vector<RecordedText> textsEqual(const QString& text) const {
        std::vector<RecordedText> found;
        for (const RecordedText& t : engine_->texts)
            if (t.text == text)
                found.push_back(t);
        return found;
    }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return width_;
        case PdmHeight:
            return height_;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return 1 << 24;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        case PdmWidthMM:
            return width_ * 254 / 960;
        case PdmHeightMM:
            return height_ * 254 / 960;
        default:
            return 0;
        }
    }

private:
    int width_;
    int height_;
    std::unique_ptr<RecordingEngine> engine_ = std::make_unique<RecordingEngine>();
};

} // namespace ymt::test
