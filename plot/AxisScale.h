// Scale computation of one plot axis, kept apart from painting: tick steps, label decimals,
// the list of tick positions and the mapping of values to pixels.
#pragma once

#include <QString>

#include <vector>

namespace ymt {

// Rounding to the nearest integer, halves to even, clamped to a range that int can hold so
// that values far outside a plot never overflow.
int RoundHalfEven(double value);

struct TickSteps {
    double MajorStep = 0;
    double MinorStep = 0;
};

// Tick steps of a linear axis: the smallest step of mantissa 1, 2 or 5 whose tenth is still
// no wider than labelWidth on an axis of `extent` pixels showing `range` units.
TickSteps ChooseSteps(double extent, double labelWidth, double range);

// Decimals of the labels of a linear axis with the given major step.
int LabelDecimals(double majorStep);

// Decimals of the decade label 10^exponent (0.01 has 2, 100 has none).
int DecadeLabelDecimals(int exponent);

// Limits are usable when Min < Max (with a finite span) and, on a log axis, both above 0.
bool AxisLimitsUsable(double min, double max, bool log);

// Where an axis lies in the picture. `origin` is the pixel of the axis' low end
// (X0 + PlotLeft for the x axis, Y0 + PlotBottom for a value axis) and `direction` is +1 when
// pixels grow with the value, -1 when they shrink. Ticks count as inside when
// insideLow <= pixel <= insideHigh.
struct AxisGeometry {
    int origin = 0;
    int direction = 1;
    int plotLength = 0; // PlotRight - PlotLeft or PlotBottom - PlotTop
    int insideLow = 0;
    int insideHigh = 0;
    double extent = 0; // whole drawing width (x axis) or height (value axes)
};

struct AxisTick {
    int pixel = 0;
    double value = 0; // axis units; decades give 10^e
    QString label;    // major ticks only
};

// The working values of an axis and the ticks it draws, all inside the plot rectangle.
struct AxisDivision {
    double LogMin = 0;
    double LogMax = 0;
    double MajorStep = 0;
    double MinorStep = 0;
    double Scale = 0;
    double Offset = 0;
    int Decimals = 0;
    std::vector<AxisTick> Major;
    std::vector<AxisTick> Minor;
};

AxisDivision DivideLinearAxis(double min, double max, const AxisGeometry& geometry,
                              double labelWidth);
AxisDivision DivideLogAxis(double min, double max, const AxisGeometry& geometry);

// Label-width text of a linear axis: the longer of Min and Max without decimals, plus "MM".
QString LinearLabelWidthText(double min, double max);

// Pixel of a value on an axis mapped from `low` with `scale` pixels per unit.
inline int MapAscending(double value, double low, double scale, int origin) {
    return RoundHalfEven((value - low) * scale) + origin;
}
inline int MapDescending(double value, double low, double scale, int origin) {
    return origin - RoundHalfEven((value - low) * scale);
}

} // namespace ymt
