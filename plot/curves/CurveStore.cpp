#include "plot/curves/CurveStore.h"

#include <algorithm>
#include <cmath>

namespace ymt {

void Curve::resetBounds() {
    MaxX = kBoundHighSentinel;
    MinX = kBoundLowSentinel;
    MinPosX = kBoundLowSentinel;
    MaxY = kBoundHighSentinel;
    MinY = kBoundLowSentinel;
    MinPosY = kBoundLowSentinel;
}

void Curve::widenBounds(double x, double y) {
    if (y < MinY)
        MinY = y;
    if (y > MaxY)
        MaxY = y;
    if (x < MinX)
        MinX = x;
    if (x > MaxX)
        MaxX = x;
    if (x < MinPosX && x > 0)
        MinPosX = x;
    if (y < MinPosY && y > 0)
        MinPosY = y;
}

CurveStore::CurveStore(Color lineColor) {
    for (Curve& c : curves_)
        c.Color = lineColor;
    curves_[0].Color = 0x0000FF;
    curves_[1].Color = 0xFF0000;
    curves_[2].Color = 0x008000;
    curves_[3].Color = 0x00FFFF;
}

bool CurveStore::AddPoint(int curve, double x, double y) {
    Curve* c = mutableCurve(curve);
    if (!c)
        return false;
    c->Points.push_back({x, y});
    c->widenBounds(x, y);
    return true;
}

bool CurveStore::DeleteRange(int curve, double a, double b) {
    Curve* c = mutableCurve(curve);
    if (!c)
        return false;
    const double low = std::min(a, b);
    const double high = std::max(a, b);
    // One pass that keeps the order of the remaining points: linear in the curve's length.
    std::erase_if(c->Points, [&](const CurvePoint& p) { return low <= p.x && p.x <= high; });
    RecalcBounds(curve);
    return true;
}

bool CurveStore::SortCurve(int curve) {
    Curve* c = mutableCurve(curve);
    if (!c)
        return false;
    // Points whose x is not a number compare equal to everything; they go to the end so
    // that the sort sees a strict weak order and stays within the list. Their order among
    // themselves is as undefined as that of equal x, so the partition need not be stable
    // (and so needs no buffer).
    auto firstNaN = std::partition(c->Points.begin(), c->Points.end(),
                                   [](const CurvePoint& p) { return !std::isnan(p.x); });
    std::sort(c->Points.begin(), firstNaN,
              [](const CurvePoint& p, const CurvePoint& q) { return p.x - q.x < 0; });
    return true;
}

bool CurveStore::ClearCurve(int curve) {
    Curve* c = mutableCurve(curve);
    if (!c)
        return false;
    std::vector<CurvePoint>().swap(c->Points);
    c->resetBounds();
    return true;
}

void CurveStore::ClearAll() {
    for (int n = 1; n <= kCurveCount; ++n)
        ClearCurve(n);
}

bool CurveStore::RecalcBounds(int curve) {
    Curve* c = mutableCurve(curve);
    if (!c)
        return false;
    c->resetBounds();
    for (const CurvePoint& p : c->Points)
        c->widenBounds(p.x, p.y);
    return true;
}

const Curve& CurveStore::curve(int curve) const {
    static const Curve detached;
    return isValidCurve(curve) ? curves_[curve - 1] : detached;
}

Curve* CurveStore::mutableCurve(int curve) {
    return isValidCurve(curve) ? &curves_[curve - 1] : nullptr;
}

int CurveStore::pointCount(int curve) const {
    return static_cast<int>(this->curve(curve).Points.size());
}

CurvePoint CurveStore::point(int curve, int index) const {
    const Curve& c = this->curve(curve);
    if (index < 0 || index >= static_cast<int>(c.Points.size()))
        return {};
    return c.Points[static_cast<size_t>(index)];
}

bool CurveStore::setY(int curve, int index, double y) {
    Curve* c = mutableCurve(curve);
    if (!c || index < 0 || index >= static_cast<int>(c->Points.size()))
        return false;
    c->Points[static_cast<size_t>(index)].y = y;
    return true;
}

bool CurveStore::setVisible(int curve, bool visible) {
    Curve* c = mutableCurve(curve);
    if (c)
        c->Visible = visible;
    return c != nullptr;
}

bool CurveStore::setAxis(int curve, int axis) {
    Curve* c = mutableCurve(curve);
    if (c)
        c->Axis = axis;
    return c != nullptr;
}

bool CurveStore::setColor(int curve, Color color) {
    Curve* c = mutableCurve(curve);
    if (c)
        c->Color = color;
    return c != nullptr;
}

bool CurveStore::setWidth(int curve, int width) {
    Curve* c = mutableCurve(curve);
    if (c)
        c->Width = width;
    return c != nullptr;
}

} // namespace ymt
