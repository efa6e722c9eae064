#include "plot/curves/Autoscale.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace ymt {

namespace {

struct Limits {
    double min = kAutoscaleEmptyMin;
    double max = kAutoscaleEmptyLinearMax;
    bool log = false;
    bool seen = false;  // a finite value lay within the window
    bool taken = false; // and the axis could show it

    explicit Limits(bool logAxis)
        : max(logAxis ? kAutoscaleEmptyLogMax : kAutoscaleEmptyLinearMax), log(logAxis) {}

    void widen(double value) {
        if (!std::isfinite(value))
            return;
        seen = true;
        if (log && !(value > 0))
            return;
        taken = true;
        if (value < min)
            min = value;
        if (value > max)
            max = value;
    }

    // All data on one value: a band of 1 % around it (1 unit around 0).
    void openDegenerate() {
        if (!taken || min != max)
            return;
        if (log) {
            min *= 0.99;
            max *= 1.01;
        } else {
            const double half = min == 0 ? 1 : std::fabs(min) * 0.01;
            min -= half;
            max += half;
        }
    }
};

// The x extremes of a curve; its bounds serve unless a point with an infinite x made them
// unusable, then the finite points are walked.
void widenByX(Limits& x, const Curve& curve) {
    const double low = x.log ? curve.MinPosX : curve.MinX;
    if (std::isfinite(low) && std::isfinite(curve.MaxX)) {
        if (curve.Points.empty() || curve.MaxX == kAutoscaleEmptyLinearMax)
            return;                      // no point with a usable x
        if (low >= kAutoscaleEmptyMin) { // a log axis and no positive x
            x.seen = true;
            return;
        }
        x.widen(low);
        x.widen(curve.MaxX);
        return;
    }
    for (const CurvePoint& point : curve.Points)
        x.widen(point.x);
}

// A window between two neighbouring points holds none of them, yet the segment between them
// crosses it: its values where it enters and leaves the window (interpolated in axis units, as
// the segment is drawn) are what the window shows.
void widenByCrossings(Limits& y, const Curve& curve, double xMin, double xMax, bool xLog) {
    const auto units = [](double value, bool log) {
        return log ? (value > 0 ? std::log10(value) : std::nan("")) : value;
    };
    const auto raw = [](double value, bool log) { return log ? std::pow(10.0, value) : value; };
    const double low = units(xMin, xLog);
    const double high = units(xMax, xLog);
    const std::vector<CurvePoint>& points = curve.Points;
    for (size_t i = 1; i < points.size(); ++i) {
        const double x0 = units(points[i - 1].x, xLog), x1 = units(points[i].x, xLog);
        const double y0 = units(points[i - 1].y, y.log), y1 = units(points[i].y, y.log);
        if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1) ||
            x0 == x1)
            continue;
        for (const double edge : {low, high}) {
            if (edge < std::min(x0, x1) || edge > std::max(x0, x1))
                continue;
            y.widen(raw(y0 + (y1 - y0) * (edge - x0) / (x1 - x0), y.log));
        }
    }
}

} // namespace

AutoscaleOutcome AutoscaleAxes(const CurveStore& store, TFastAxis& xAxis, TFastAxis& yAxis,
                               TFastAxis& y2Axis) {
    AutoscaleOutcome outcome;
    if (xAxis.Autoscale()) {
        Limits x(xAxis.Log());
        for (int n = 1; n <= CurveStore::kCurveCount; ++n) {
            const Curve& curve = store.curve(n);
            if (curve.Visible)
                widenByX(x, curve);
        }
        x.openDegenerate();
        outcome.XEmpty = !x.seen;
        xAxis.setLimitsQuietly(x.min, x.max);
    }

    const bool scaleY = yAxis.Autoscale();
    const bool scaleY2 = y2Axis.Autoscale();
    if (!scaleY && !scaleY2)
        return outcome;
    Limits y(yAxis.Log());
    Limits y2(y2Axis.Log());
    const double xMin = xAxis.Min();
    const double xMax = xAxis.Max();
    for (int n = 1; n <= CurveStore::kCurveCount; ++n) {
        const Curve& curve = store.curve(n);
        if (!curve.Visible)
            continue;
        Limits* target = nullptr;
        if (curve.Axis == 0 && scaleY)
            target = &y;
        else if (curve.Axis == 1 && scaleY2)
            target = &y2;
        if (!target)
            continue;
        for (const CurvePoint& point : curve.Points)
            if (point.x >= xMin && point.x <= xMax)
                target->widen(point.y);
    }
    // Only where no point lies inside: otherwise the limits stay the points' own extremes.
    const bool yHasNoPoint = !y.seen;
    const bool y2HasNoPoint = !y2.seen;
    for (int n = 1; n <= CurveStore::kCurveCount; ++n) {
        const Curve& curve = store.curve(n);
        if (!curve.Visible)
            continue;
        if (curve.Axis == 0 && scaleY && yHasNoPoint)
            widenByCrossings(y, curve, xMin, xMax, xAxis.Log());
        else if (curve.Axis == 1 && scaleY2 && y2HasNoPoint)
            widenByCrossings(y2, curve, xMin, xMax, xAxis.Log());
    }
    if (scaleY) {
        y.openDegenerate();
        outcome.YEmpty = !y.seen;
        yAxis.setLimitsQuietly(y.min, y.max);
    }
    if (scaleY2) {
        y2.openDegenerate();
        outcome.Y2Empty = !y2.seen;
        y2Axis.setLimitsQuietly(y2.min, y2.max);
    }
    return outcome;
}

} // namespace ymt
