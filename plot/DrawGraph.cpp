// DrawGraph of the plot component: plot rectangle, axes, curves, frame and title on any painter.
#include "plot/DrawingUnits.h"
#include "plot/FastGraph.h"
#include "plot/PlotText.h"
#include "plot/TwoPixelPolyline.h"
#include "plot/curves/Autoscale.h"
#include "plot/curves/AxisScale.h"
#include "plot/curves/CurveUnits.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace ymt {

struct TFastGraph::Layout {
    int X0 = 0;
    int Y0 = 0;
    int W = 0;
    int H = 0;
    int c = 0; // character height of the component font
    AutoscaleOutcome autoscale;
};

namespace {

QPen solidPen(const QColor& color, int width) {
    return QPen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

QPen gridPen(const QColor& color) {
    return QPen(color, 1, Qt::DotLine, Qt::FlatCap);
}

// The toolkit's pen styles as stored with a curve: solid, dash, dot, dash-dot, dash-dot-dot,
// clear.
Qt::PenStyle curvePenStyle(std::uint8_t style) {
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    case 5:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

struct AxisMapping {
    bool log = false;
    double low = 0;
    double high = 0;
    double scale = 0;
};

AxisMapping mappingOf(const TFastAxis& axis) {
    AxisMapping m;
    m.log = axis.Log();
    m.low = m.log ? axis.LogMin : axis.Min();
    m.high = m.log ? axis.LogMax : axis.Max();
    m.scale = axis.Scale;
    return m;
}

bool within(const AxisMapping& m, double value) {
    return value >= m.low && value <= m.high;
}

// Cuts the segment (x0, y0)-(x1, y1) to the window of both axes (in axis units); false when no
// part of it lies inside.
bool clipToWindow(const AxisMapping& xMap, const AxisMapping& yMap, double& x0, double& y0,
                  double& x1, double& y1) {
    double enter = 0;
    double leave = 1;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    auto edge = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double r = q / p;
        if (p < 0) {
            if (r > leave)
                return false;
            enter = std::max(enter, r);
        } else {
            if (r < enter)
                return false;
            leave = std::min(leave, r);
        }
        return true;
    };
    if (!edge(-dx, x0 - xMap.low) || !edge(dx, xMap.high - x0) || !edge(-dy, y0 - yMap.low) ||
        !edge(dy, yMap.high - y0))
        return false;
    const double ax = x0 + enter * dx, ay = y0 + enter * dy;
    const double bx = x0 + leave * dx, by = y0 + leave * dy;
    // The ends that lay inside keep their exact values; cut ends sit on the window's edge.
    x1 = leave < 1 ? std::clamp(bx, xMap.low, xMap.high) : x1;
    y1 = leave < 1 ? std::clamp(by, yMap.low, yMap.high) : y1;
    x0 = enter > 0 ? std::clamp(ax, xMap.low, xMap.high) : x0;
    y0 = enter > 0 ? std::clamp(ay, yMap.low, yMap.high) : y0;
    return true;
}

void storeWorkingValues(TFastAxis& axis, const AxisDivision& division) {
    axis.LogMin = division.LogMin;
    axis.LogMax = division.LogMax;
    axis.MajorStep = division.MajorStep;
    axis.MinorStep = division.MinorStep;
    axis.Scale = division.Scale;
    axis.Offset = division.Offset;
}

// Labels are measured as drawn and keep one character of space between them.
LabelMetrics labelMetrics(const QPainter& painter) {
    const QFontMetrics metrics = painter.fontMetrics();
    return {[metrics](const QString& text) { return metrics.horizontalAdvance(text); },
            static_cast<double>(metrics.horizontalAdvance(QLatin1Char('0')))};
}

AxisDivision divide(const TFastAxis& axis, const AxisGeometry& geometry, const QPainter& painter) {
    if (axis.Log())
        return DivideLogAxis(axis.Min(), axis.Max(), geometry, labelMetrics(painter));
    const double labelWidth =
        painter.fontMetrics().horizontalAdvance(LinearLabelWidthText(axis.Min(), axis.Max()));
    return DivideLinearAxis(axis.Min(), axis.Max(), geometry, labelWidth, labelMetrics(painter));
}

bool usable(const TFastAxis& axis) {
    return AxisLimitsUsable(axis.Min(), axis.Max(), axis.Log());
}

} // namespace

void TFastGraph::DrawGraph(QPainter& painter, const QRect& rect) {
    drawing_ = true;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFont plotFont = FontInDrawingUnits(font(), painter);
    painter.setFont(plotFont);
    Layout layout{
        rect.x(), rect.y(), rect.width(), rect.height(), CharHeight(plotFont, painter.device()),
        {}};
    PlotOriginX = layout.X0;
    PlotOriginY = layout.Y0;
    const int c = layout.c;
    const int W = layout.W;
    const int H = layout.H;

    PlotLeft = 3;
    PlotRight = W - 3;
    PlotBottom = H - 3;
    if (XAxis.Visible())
        PlotBottom = XAxis.Centered() ? H - c - 3 : H - 3 * c;
    if (YAxis.Visible())
        PlotLeft = YAxis.Centered() ? c + 3 : 3 * c;
    if (Y2Axis.Visible())
        PlotRight = W - 3 * c;
    PlotTop = 2 * c;

    const QColor background = toQColor(BackgroundColor);
    painter.fillRect(QRect(layout.X0, layout.Y0, W, H), background);

    if (XAxis.Autoscale() || YAxis.Autoscale() || Y2Axis.Autoscale())
        layout.autoscale = AutoscaleAxes(store_, XAxis, YAxis, Y2Axis);

    drawXAxis(painter, layout);
    drawValueAxis(painter, layout, YAxis, false);
    drawValueAxis(painter, layout, Y2Axis, true);

    const QPen centreLinePen = solidPen(toQColor(LineColor), 2);
    if (XAxis.Centered()) {
        const int yc = layout.Y0 + PlotTop + (PlotBottom - PlotTop) / 2;
        painter.setPen(centreLinePen);
        painter.drawLine(layout.X0 + PlotLeft, yc, layout.X0 + PlotRight, yc);
    }
    if (YAxis.Centered()) {
        const int xc = layout.X0 + (PlotRight + PlotLeft) / 2;
        painter.setPen(centreLinePen);
        painter.drawLine(xc, layout.Y0 + PlotTop, xc, layout.Y0 + PlotBottom);
    }

    painter.setPen(solidPen(toQColor(LineColor), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(layout.X0 + PlotLeft, layout.Y0 + PlotTop),
                           QPoint(layout.X0 + PlotRight, layout.Y0 + PlotBottom)));

    // The curves come after the frame: a curve at an axis limit (theta at +-90 degrees, |Z| at
    // its last point) runs along the frame and would be hidden under it.
    drawCurves(painter, layout);

    QFont titleFont = font();
    titleFont.setPointSize(TitleFontSize);
    titleFont = FontInDrawingUnits(titleFont, painter);
    painter.setFont(titleFont);
    const int titleHeight = CharHeight(titleFont, painter.device());
    DrawPlotText(painter, QPoint(layout.X0 + W / 2, layout.Y0 + PlotTop - titleHeight - c / 2),
                 Title_, TextDirection::Horizontal, toQColor(FontColor), background);
    painter.restore();

    if (OnAfterPaint)
        OnAfterPaint(*this, painter);
    drawing_ = false;
}

void TFastGraph::drawXAxis(QPainter& painter, const Layout& layout) {
    const int c = layout.c;
    const bool ok = usable(XAxis);
    AxisGeometry geometry;
    geometry.origin = layout.X0 + PlotLeft;
    geometry.direction = 1;
    geometry.plotLength = PlotRight - PlotLeft;
    geometry.insideLow = layout.X0 + PlotLeft;
    geometry.insideHigh = layout.X0 + PlotRight;
    geometry.extent = layout.W;
    // An autoscaled axis with nothing to show draws its title and no ticks.
    const bool empty = XAxis.Autoscale() && layout.autoscale.XEmpty;
    AxisDivision division;
    if (ok && !empty) {
        division = divide(XAxis, geometry, painter);
        storeWorkingValues(XAxis, division);
    }
    if (!XAxis.Visible())
        return;

    const QColor background = toQColor(BackgroundColor);
    const QColor lineColor = toQColor(LineColor);
    const int top = layout.Y0 + PlotTop;
    const int bottom = layout.Y0 + PlotBottom;
    const int yL = XAxis.Centered() ? layout.Y0 + (PlotTop + PlotBottom) / 2 : bottom;
    // The x labels own the row under the plot across the whole width.
    const std::vector<std::optional<int>> labelX =
        PlaceAxisLabels(division.Major, labelMetrics(painter), layout.X0, layout.X0 + layout.W);
    for (size_t i = 0; i < division.Major.size(); ++i) {
        const AxisTick& tick = division.Major[i];
        if (XAxis.Grid()) {
            painter.setPen(gridPen(toQColor(GridColor)));
            painter.drawLine(tick.pixel, bottom, tick.pixel, top);
        }
        if (labelX[i])
            DrawPlotText(painter, QPoint(*labelX[i], yL + c / 2), tick.label,
                         TextDirection::Horizontal, toQColor(FontColor), background);
        painter.setPen(solidPen(lineColor, 2));
        painter.drawLine(tick.pixel, yL + c / 3, tick.pixel, yL);
    }
    for (const AxisTick& tick : division.Minor) {
        if (XAxis.Log() && XAxis.Grid()) {
            painter.setPen(gridPen(toQColor(GridColor)));
            painter.drawLine(tick.pixel, bottom, tick.pixel, top);
        }
        painter.setPen(solidPen(lineColor, 1));
        painter.drawLine(tick.pixel, yL, tick.pixel, yL + c / 4);
    }

    const QPoint titleAt(layout.X0 + layout.W / 2,
                         XAxis.Centered() ? bottom : bottom + (3 * c) / 2);
    DrawPlotText(painter, titleAt,
                 ok || empty ? XAxis.Title() : QStringLiteral("X - Min And/or Max Incorrect"),
                 TextDirection::Horizontal, toQColor(XAxis.TitleColor()), background);
}

void TFastGraph::drawValueAxis(QPainter& painter, const Layout& layout, TFastAxis& axis,
                               bool right) {
    const int c = layout.c;
    const bool ok = usable(axis);
    AxisGeometry geometry;
    geometry.origin = layout.Y0 + PlotBottom;
    geometry.direction = -1;
    geometry.plotLength = PlotBottom - PlotTop;
    geometry.insideLow = layout.Y0 + PlotTop;
    geometry.insideHigh = layout.Y0 + PlotBottom;
    geometry.extent = layout.H;
    const bool empty =
        axis.Autoscale() && (right ? layout.autoscale.Y2Empty : layout.autoscale.YEmpty);
    AxisDivision division;
    if (ok && !empty) {
        division = divide(axis, geometry, painter);
        storeWorkingValues(axis, division);
    }
    if (!axis.Visible())
        return;

    const QColor background = toQColor(BackgroundColor);
    const QColor lineColor = toQColor(LineColor);
    const int plotLeft = layout.X0 + PlotLeft;
    const int plotRight = layout.X0 + PlotRight;
    const int xA =
        right ? plotRight : (axis.Centered() ? layout.X0 + (PlotRight + PlotLeft) / 2 : plotLeft);
    const int outward = right ? 1 : -1;
    const TextDirection textDirection = right ? TextDirection::Downwards : TextDirection::Upwards;
    const int labelX = right ? xA + RoundHalfEven(1.5 * c) : RoundHalfEven(xA - 1.5 * c);
    auto drawGridLine = [&](int py) {
        painter.setPen(gridPen(toQColor(GridColor)));
        if (right)
            painter.drawLine(xA + c / 3, py, plotLeft, py);
        else
            painter.drawLine(plotLeft, py, plotRight, py);
    };

    // The value labels end above the row of the x labels, which starts c / 2 under the plot.
    const int labelsEnd = XAxis.Visible() && !XAxis.Centered() ? layout.Y0 + PlotBottom + c / 2 - 1
                                                               : layout.Y0 + layout.H;
    const std::vector<std::optional<int>> labelY =
        PlaceAxisLabels(division.Major, labelMetrics(painter), layout.Y0, labelsEnd);
    for (size_t i = 0; i < division.Major.size(); ++i) {
        const AxisTick& tick = division.Major[i];
        if (axis.Grid())
            drawGridLine(tick.pixel);
        if (labelY[i])
            DrawPlotText(painter, QPoint(labelX, *labelY[i]), tick.label, textDirection, lineColor,
                         background);
        painter.setPen(solidPen(lineColor, 2));
        painter.drawLine(xA, tick.pixel, xA + outward * (c / 3), tick.pixel);
    }
    for (const AxisTick& tick : division.Minor) {
        if (axis.Log() && axis.Grid())
            drawGridLine(tick.pixel);
        painter.setPen(solidPen(lineColor, 1));
        if (axis.Log())
            painter.drawLine(xA + outward * (c / 4), tick.pixel, xA, tick.pixel);
        else
            painter.drawLine(xA, tick.pixel, right ? xA + c / 4 : xA - c / 4 - 1, tick.pixel);
    }

    QPoint titleAt;
    if (right)
        titleAt = QPoint(plotRight + RoundHalfEven(2.7 * c), layout.Y0 + layout.H / 2);
    else if (axis.Centered())
        titleAt = QPoint(plotLeft - c - 3, layout.Y0 + layout.H / 2);
    else
        titleAt = QPoint(plotLeft - RoundHalfEven(2.7 * c), layout.Y0 + layout.H / 2);
    QString title = axis.Title();
    if (!ok && !empty)
        title = right ? QStringLiteral("Y2 - Min And/or Max Incorrect")
                      : QStringLiteral("Y - Min And/or Max Incorrect");
    DrawPlotText(painter, titleAt, title, textDirection, toQColor(axis.TitleColor()), background);
}

void TFastGraph::drawCurves(QPainter& painter, const Layout& layout) {
    // A curve on unusable limits has no point inside them; skipping it also keeps stale working
    // values of a log axis from mapping points that must not show.
    if (!usable(XAxis) || (XAxis.Autoscale() && layout.autoscale.XEmpty))
        return;
    const AxisMapping xMap = mappingOf(XAxis);
    const int xOrigin = layout.X0 + PlotLeft;
    const int yOrigin = layout.Y0 + PlotBottom;
    const int markerHalf = layout.c / 6;
    const QColor background = toQColor(BackgroundColor);
    QPolygon run;
    run.reserve(4096);

    for (int n = 1; n <= CurveStore::kCurveCount; ++n) {
        const Curve& curve = store_.curve(n);
        if (!curve.Visible)
            continue;
        const TFastAxis& valueAxis = curve.Axis == 0 ? YAxis : Y2Axis;
        const bool valueAxisEmpty =
            valueAxis.Autoscale() &&
            (curve.Axis == 0 ? layout.autoscale.YEmpty : layout.autoscale.Y2Empty);
        if (!usable(valueAxis) || valueAxisEmpty)
            continue;
        const AxisMapping yMap = mappingOf(valueAxis);
        QPen pen(toQColor(curve.Color), curve.Width, curvePenStyle(curve.PenStyle), Qt::RoundCap,
                 Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(background);
        auto toPixel = [&](double x, double y) {
            return QPoint(MapAscending(x, xMap.low, xMap.scale, xOrigin),
                          MapDescending(y, yMap.low, yMap.scale, yOrigin));
        };
        auto drawMarker = [&](QPoint at) {
            painter.drawRect(QRect(QPoint(at.x() - markerHalf, at.y() - markerHalf),
                                   QPoint(at.x() + markerHalf, at.y() + markerHalf)));
        };

        // Segments between pen breaks go out as one polyline; with point markers each segment
        // follows its marker, so the markers are interleaved with single segments.
        // A solid 2-pixel line is the 1-pixel line stamped with a 2 x 2 square, whose pen also
        // draws the mark of a lone point.
        const bool twoPixels = !ShowPoints && curve.Width == 2 && curve.PenStyle == 0;
        if (twoPixels)
            painter.setPen(TwoPixelStampPen(pen.color()));
        bool runHasSegment = false;
        auto drawRun = [&] {
            if (run.size() >= 2) {
                if (twoPixels)
                    DrawTwoPixelPolyline(painter, run, pen.color(), curveMask_);
                else
                    painter.drawPolyline(run);
            } else if (run.size() == 1 && !runHasSegment && !ShowPoints) {
                // A point with no drawn neighbour would vanish: it gets the point mark.
                drawMarker(run.first());
            }
            run.resize(0);
            runHasSegment = false;
        };
        auto moveTo = [&](QPoint at) {
            drawRun();
            run.append(at);
        };
        // Always follows a moveTo or another lineTo, so the run holds a point.
        auto lineTo = [&](QPoint at) {
            runHasSegment = true;
            if (ShowPoints) {
                painter.drawLine(run.last(), at);
                run.last() = at;
            } else if (run.last() != at) {
                run.append(at);
            }
        };

        // A segment with one end outside the window is drawn up to the plot's edge, so that a
        // sparse view has no gaps at its edges; points no axis can show lift the pen.
        double previousX = 0;
        double previousY = 0;
        bool havePrevious = false;
        bool previousInside = false;
        for (const CurvePoint& point : curveUnits_.units(n, curve, xMap.log, yMap.log)) {
            const double x = point.x;
            const double y = point.y;
            if (!std::isfinite(x) || !std::isfinite(y)) {
                drawRun();
                havePrevious = false;
                continue;
            }
            const bool inside = within(xMap, x) && within(yMap, y);
            if (inside && ShowPoints)
                drawMarker(toPixel(x, y));
            if (havePrevious && previousInside && inside) {
                lineTo(toPixel(x, y));
            } else if (havePrevious) {
                double x0 = previousX, y0 = previousY, x1 = x, y1 = y;
                if (clipToWindow(xMap, yMap, x0, y0, x1, y1)) {
                    if (!previousInside)
                        moveTo(toPixel(x0, y0));
                    lineTo(toPixel(x1, y1));
                }
                if (!inside)
                    drawRun();
            } else if (inside) {
                moveTo(toPixel(x, y));
            }
            previousX = x;
            previousY = y;
            previousInside = inside;
            havePrevious = true;
        }
        drawRun();
        painter.setBrush(Qt::NoBrush);
    }
}

} // namespace ymt
