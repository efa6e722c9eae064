// Autoscaling of a plot's axes to the exact extremes of its visible curves.
#pragma once

#include "plot/CurveStore.h"
#include "plot/FastAxis.h"

namespace ymt {

// Empty-limit values: an axis that no data reaches keeps them and shows as incorrect.
inline constexpr double kAutoscaleEmptyMin = 1e301;
inline constexpr double kAutoscaleEmptyLogMax = 1e-300;
inline constexpr double kAutoscaleEmptyLinearMax = -1e301;

// Overwrites Min and Max of every axis with Autoscale set: x from the bounds of the visible
// curves, y and y2 from the points of the visible curves whose x lies within the x limits.
// Writes the limits without asking for a repaint.
void AutoscaleAxes(const CurveStore& store, TFastAxis& xAxis, TFastAxis& yAxis, TFastAxis& y2Axis);

} // namespace ymt
