#include "plot/DrawingUnits.h"

#include "plot/FastGraph.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace ymt {
namespace {

// What a drawing writes into an axis besides its pixels: limits (autoscaling) and working values.
struct AxisDrawingState {
    double Min, Max, LogMin, LogMax, MajorStep, MinorStep, Scale, Offset;

    explicit AxisDrawingState(const TFastAxis& a)
        : Min(a.Min()), Max(a.Max()), LogMin(a.LogMin), LogMax(a.LogMax), MajorStep(a.MajorStep),
          MinorStep(a.MinorStep), Scale(a.Scale), Offset(a.Offset) {}

    void restore(TFastAxis& a) const {
        a.setLimitsQuietly(Min, Max);
        a.LogMin = LogMin;
        a.LogMax = LogMax;
        a.MajorStep = MajorStep;
        a.MinorStep = MinorStep;
        a.Scale = Scale;
        a.Offset = Offset;
    }
};

} // namespace

double DrawingUnitsDpi(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    const double dpi = device ? device->logicalDpiY() : 96.0;
    const QTransform& t = painter.worldTransform();
    const double scale = std::hypot(t.m21(), t.m22());
    return scale > 0 ? dpi / scale : dpi;
}

QFont FontInDrawingUnits(const QFont& font, const QPainter& painter) {
    if (font.pixelSize() > 0 || !painter.worldTransform().isScaling())
        return font;
    QFont scaled = font;
    scaled.setPixelSize(std::max(
        1, static_cast<int>(std::lround(font.pointSizeF() * DrawingUnitsDpi(painter) / 72.0))));
    return scaled;
}

void DrawPlotInScreenUnits(QPainter& painter, TFastGraph& graph, const QRect& deviceRect,
                           double scaleX, double scaleY) {
    if (!(scaleX > 0) || !(scaleY > 0))
        return;
    const AxisDrawingState x(graph.XAxis), y(graph.YAxis), y2(graph.Y2Axis);
    const int left = graph.PlotLeft, top = graph.PlotTop, right = graph.PlotRight,
              bottom = graph.PlotBottom, originX = graph.PlotOriginX, originY = graph.PlotOriginY;

    painter.save();
    painter.translate(deviceRect.topLeft());
    painter.scale(scaleX, scaleY);
    graph.DrawGraph(painter, QRect(0, 0, static_cast<int>(std::lround(deviceRect.width() / scaleX)),
                                   static_cast<int>(std::lround(deviceRect.height() / scaleY))));
    painter.restore();

    x.restore(graph.XAxis);
    y.restore(graph.YAxis);
    y2.restore(graph.Y2Axis);
    graph.PlotLeft = left;
    graph.PlotTop = top;
    graph.PlotRight = right;
    graph.PlotBottom = bottom;
    graph.PlotOriginX = originX;
    graph.PlotOriginY = originY;
}

} // namespace ymt
