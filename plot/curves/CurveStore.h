// The 25 numbered curves of a plot: points in order of appending (until sorted), drawing
// attributes and six running bounds. Needs no widget; the measured spectrum lives here.
#pragma once

#include <QtGlobal>

#include <cstdint>
#include <vector>

namespace ymt {

using Color = quint32; // 0x00BBGGRR

// Empty-curve sentinels; drawing compares against them, so they must be exactly these doubles.
inline constexpr double kBoundLowSentinel = 1e301;   // MinX, MinY, MinPosX, MinPosY
inline constexpr double kBoundHighSentinel = -1e301; // MaxX, MaxY

struct CurvePoint {
    double x = 0.0;
    double y = 0.0;
};

struct Curve {
    std::vector<CurvePoint> Points;
    bool Visible = false;
    int Axis = 0; // 0 = YAxis (left), 1 = Y2Axis (right)
    ymt::Color Color = 0x000000;
    std::uint8_t PenStyle = 0;
    int Width = 1;
    double MaxX = kBoundHighSentinel;
    double MinX = kBoundLowSentinel;
    double MinPosX = kBoundLowSentinel;
    double MaxY = kBoundHighSentinel;
    double MinY = kBoundLowSentinel;
    double MinPosY = kBoundLowSentinel;

    void resetBounds();
    void widenBounds(double x, double y);
};

class CurveStore {
public:
    static constexpr int kCurveCount = 25;

    // lineColor is the colour of curves 5-25; curves 1-4 get red, blue, green and yellow.
    explicit CurveStore(Color lineColor = 0x000000);

    static bool isValidCurve(int curve) { return curve >= 1 && curve <= kCurveCount; }

    // Operations on a curve number outside 1..25 do nothing and return false.
    bool AddPoint(int curve, double x, double y);
    bool DeleteRange(int curve, double a, double b);
    bool SortCurve(int curve);
    bool ClearCurve(int curve);
    void ClearAll();
    bool RecalcBounds(int curve);

    // Direct access. An invalid number yields an empty, detached curve.
    const Curve& curve(int curve) const;
    Curve* mutableCurve(int curve);
    int pointCount(int curve) const;
    // Point at a 0-based index; (0, 0) outside the curve.
    CurvePoint point(int curve, int index) const;
    double x(int curve, int index) const { return point(curve, index).x; }
    double y(int curve, int index) const { return point(curve, index).y; }
    // Overwrites y in place without touching the bounds.
    bool setY(int curve, int index, double y);

    bool setVisible(int curve, bool visible);
    bool setAxis(int curve, int axis);
    bool setColor(int curve, Color color);
    bool setWidth(int curve, int width);

private:
    Curve curves_[kCurveCount];
};

} // namespace ymt
