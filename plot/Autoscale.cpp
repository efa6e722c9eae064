#include "plot/Autoscale.h"

namespace ymt {

namespace {

struct Limits {
    double min = kAutoscaleEmptyMin;
    double max = kAutoscaleEmptyLinearMax;
    bool log = false;

    explicit Limits(bool logAxis)
        : max(logAxis ? kAutoscaleEmptyLogMax : kAutoscaleEmptyLinearMax), log(logAxis) {}

    void widen(double value) {
        if (log && !(value > 0))
            return;
        if (value < min)
            min = value;
        if (value > max)
            max = value;
    }
};

} // namespace

void AutoscaleAxes(const CurveStore& store, TFastAxis& xAxis, TFastAxis& yAxis, TFastAxis& y2Axis) {
    if (xAxis.Autoscale()) {
        Limits x(xAxis.Log());
        for (int n = 1; n <= CurveStore::kCurveCount; ++n) {
            const Curve& curve = store.curve(n);
            if (!curve.Visible)
                continue;
            if (x.log) {
                if (curve.MinPosX < x.min && curve.MinPosX > 0)
                    x.min = curve.MinPosX;
                if (curve.MaxX > x.max && curve.MaxX > 0)
                    x.max = curve.MaxX;
            } else {
                if (curve.MinX < x.min)
                    x.min = curve.MinX;
                if (curve.MaxX > x.max)
                    x.max = curve.MaxX;
            }
        }
        xAxis.setLimitsQuietly(x.min, x.max);
    }

    const bool scaleY = yAxis.Autoscale();
    const bool scaleY2 = y2Axis.Autoscale();
    if (!scaleY && !scaleY2)
        return;
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
    if (scaleY)
        yAxis.setLimitsQuietly(y.min, y.max);
    if (scaleY2)
        y2Axis.setLimitsQuietly(y2.min, y2.max);
}

} // namespace ymt
