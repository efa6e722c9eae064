// Autoscaling of a plot's axes to the exact extremes of its visible curves.
#pragma once

#include "plot/curves/CurveStore.h"
#include "plot/curves/FastAxis.h"

namespace ymt {

// Empty-limit values: an axis that no data reaches keeps them and shows as incorrect.
inline constexpr double kAutoscaleEmptyMin = 1e301;
inline constexpr double kAutoscaleEmptyLogMax = 1e-300;
inline constexpr double kAutoscaleEmptyLinearMax = -1e301;

// Which autoscaled axes found no value at all to show (nothing measured yet, or no point inside
// the x window): they keep the empty-limit values, but that is no fault of the limits.
struct AutoscaleOutcome {
    bool XEmpty = false;
    bool YEmpty = false;
    bool Y2Empty = false;
};

// Overwrites Min and Max of every axis with Autoscale set: x from the bounds of the visible
// curves, y and y2 from the points of the visible curves whose x lies within the x limits.
// Values that are not finite (an infinite Cs where |Z| is 0) take no part. Limits that all
// data put on one value are widened around it by 1 %, so that a single point can be drawn.
// Writes the limits without asking for a repaint.
AutoscaleOutcome AutoscaleAxes(const CurveStore& store, TFastAxis& xAxis, TFastAxis& yAxis,
                               TFastAxis& y2Axis);

} // namespace ymt
