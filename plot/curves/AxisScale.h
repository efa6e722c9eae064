// Scale computation of one plot axis, kept apart from painting: tick steps, label decimals,
// the list of tick positions and the mapping of values to pixels.
#pragma once

#include <QString>

#include <functional>
#include <optional>
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

// The next coarser steps after majorStep in the series 1, 2, 5, 10, 20, 50 ...; the minor step
// divides the major one into 10, 2 or 5 parts as ChooseSteps does.
TickSteps NextCoarserSteps(double majorStep);

// Decimals of the labels of a linear axis: exactly as many as the major step has (0.1 and 0.5
// give 1, 0.05 gives 2, 0.002 gives 3), so that the labels show no digits that never change.
int LabelDecimals(double majorStep);

// Decimals of the decade label 10^exponent (0.01 has 2, 100 has none).
int DecadeLabelDecimals(int exponent);

// Text of the decade label 10^exponent: fixed notation while it stays short (0.000001 up to
// 10000000), beyond that "1E-300", so that an axis over hundreds of decades stays readable.
QString DecadeLabel(int exponent);

// Whether the labels of an axis whose decades run from lowExponent to highExponent use the
// "1E-8" notation: all of them do when any one would, so that one axis never mixes "0.000001"
// and "1E-8".
bool DecadeLabelsScientific(int lowExponent, int highExponent);
// Label of k * 10^exponent (k 1..9) in the notation the axis uses.
QString MultipleLabel(int k, int exponent, bool scientific);

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

// Width of a label text along its axis in pixels, and the free space two neighbouring labels
// keep at least (one character of the axis font). Without a measure the steps come from the
// label-width estimate alone.
struct LabelMetrics {
    std::function<double(const QString&)> width;
    double gap = 0;
};

// Minor ticks closer than this to another tick are left out: they would only blacken the axis.
inline constexpr int kMinimumMinorTickDistance = 3;

// A linear axis: steps from ChooseSteps with the estimated label width, made coarser while the
// real labels (measured with metrics) do not keep their gap.
AxisDivision DivideLinearAxis(double min, double max, const AxisGeometry& geometry,
                              double labelWidth, const LabelMetrics& metrics = {});
// A log axis: decade labels (every k-th decade when they would touch); with fewer than two
// decades inside, labels at the 1, 2 and 5 multiples; with fewer than two of those, the labels
// of a linear axis over the same range, placed on the log scale.
AxisDivision DivideLogAxis(double min, double max, const AxisGeometry& geometry,
                           const LabelMetrics& metrics = {});

// Centres (along the axis) of the labels of the major ticks: each label is moved just enough to
// lie within [low, high], and a label that would come nearer than metrics.gap to one already
// placed is left out (its entry is empty). The ticks may come in either pixel order.
std::vector<std::optional<int>> PlaceAxisLabels(const std::vector<AxisTick>& major,
                                                const LabelMetrics& metrics, int low, int high);

// Label of a linear axis: fixed notation with the step's decimals while that stays within
// kLongestFixedLabel characters; beyond that "2.5E300", with the digits the step needs.
inline constexpr int kLongestFixedLabel = 12;
QString LinearLabel(double value, int decimals, double step);

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
