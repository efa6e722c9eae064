// A plot's curves in axis units (log10 of the value on a log axis), kept between drawings so
// that a redraw (expose, resize, zoom) only maps them to pixels.
#pragma once

#include "plot/curves/CurveStore.h"

#include <array>
#include <vector>

namespace ymt {

// A value in axis units: log10 of raw on a log axis, raw itself on a linear one; NaN where no
// axis can show it (not finite, or not positive on a log axis), which lifts the pen.
double AxisUnits(double raw, bool log);

class CurveUnitsCache {
public:
    // Curve n (1..25) with both coordinates in axis units, as AxisUnits gives them. Kept while
    // the curve's points stay the same bit for bit and the axes keep their kind; with two
    // linear axes this is the curve's own points (whose non-finite values lift the pen too).
    const std::vector<CurvePoint>& units(int n, const Curve& curve, bool xLog, bool yLog);

private:
    struct Entry {
        std::vector<CurvePoint> source; // the points the units were computed from
        std::vector<CurvePoint> units;
        bool xLog = false;
        bool yLog = false;
    };
    std::array<Entry, CurveStore::kCurveCount> entries_;
};

} // namespace ymt
