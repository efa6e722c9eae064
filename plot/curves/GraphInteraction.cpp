#include "plot/curves/GraphInteraction.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace ymt {

ZoomHistory::ZoomHistory() {
    resetFullRange(0.04, 110000);
}

void ZoomHistory::resetFullRange(double low, double high) {
    entries_[0] = {high, low};
    depth_ = 0;
}

void ZoomHistory::setEntry(int index, double high, double low) {
    if (index < 0 || index > kLastEntry)
        return;
    entries_[static_cast<size_t>(index)] = {high, low};
    depth_ = index;
}

void ZoomHistory::push(double high, double low) {
    if (depth_ < kLastEntry)
        ++depth_;
    entries_[static_cast<size_t>(depth_)] = {high, low};
}

bool ZoomHistory::back() {
    if (depth_ == 0)
        return false;
    --depth_;
    return true;
}

double FrequencyAtX(int x, int plotLeft, int plotRight, double xMin, double xMax) {
    if (x <= plotLeft + 1)
        return xMin;
    if (x >= plotRight + 1)
        return xMax;
    const double f =
        xMin + static_cast<double>(x - 1 - plotLeft) / (plotRight - plotLeft) * (xMax - xMin);
    return std::clamp(f, xMin, xMax);
}

double FrequencyAtX(int x, int plotLeft, int plotRight, double xMin, double xMax, bool log) {
    if (!log || !(xMin > 0) || !(xMax > 0))
        return FrequencyAtX(x, plotLeft, plotRight, xMin, xMax);
    // The ends give the limits themselves, not a power of ten a hair beside them.
    if (x <= plotLeft + 1)
        return xMin;
    if (x >= plotRight + 1)
        return xMax;
    const double f =
        std::pow(10.0, FrequencyAtX(x, plotLeft, plotRight, std::log10(xMin), std::log10(xMax)));
    return std::clamp(f, xMin, xMax);
}

double OffsetOfFrequency(double frequency, int plotLeft, int plotRight, double xMin, double xMax,
                         bool log) {
    const double width = plotRight - plotLeft;
    if (log && xMin > 0 && xMax > 0 && frequency > 0)
        return (std::log10(frequency) - std::log10(xMin)) * width /
               (std::log10(xMax) - std::log10(xMin));
    return (frequency - xMin) * width / (xMax - xMin);
}

int ClampPressX(int x, int plotLeft, int plotRight) {
    if (x < plotLeft + 1)
        return plotLeft + 1;
    if (x > plotRight)
        return plotRight - 1;
    return x;
}

int ClampMoveX(int x, int plotLeft, int plotRight) {
    if (x < plotLeft + 1)
        return plotLeft + 1;
    if (x > plotRight)
        return plotRight;
    return x;
}

int ClampReleaseX(int x, int plotLeft, int plotRight) {
    if (x < plotLeft + 1)
        return plotLeft + 1;
    if (x > plotRight + 1)
        return plotRight + 1;
    return x;
}

bool IsZoomBand(int dragStart, int dragEnd) {
    return std::abs(dragEnd - dragStart) > 5;
}

double MinimumZoomSpan(double low, double high) {
    return std::max(kMinimumZoomSpanFraction * std::fabs(low + high) / 2, kMinimumZoomSpanKHz);
}

std::optional<FrequencyBand> DragZoomBand(int dragStart, int dragEnd, int plotLeft, int plotRight,
                                          double xMin, double xMax) {
    if (dragEnd < dragStart)
        std::swap(dragStart, dragEnd);
    if (!IsZoomBand(dragStart, dragEnd))
        return std::nullopt;
    const FrequencyBand band{FrequencyAtX(dragStart, plotLeft, plotRight, xMin, xMax),
                             FrequencyAtX(dragEnd, plotLeft, plotRight, xMin, xMax)};
    if (band.High - band.Low < MinimumZoomSpan(band.Low, band.High))
        return std::nullopt;
    return band;
}

int NearestPointIndex(const CurveStore& store, int curve, double frequency) {
    double best = 1e10;
    int bestIndex = -1;
    const std::vector<CurvePoint>& points = store.curve(curve).Points;
    for (size_t i = 0; i < points.size(); ++i) {
        const double distance = std::fabs(points[i].x - frequency);
        if (distance < best) {
            best = distance;
            bestIndex = static_cast<int>(i);
        }
    }
    return bestIndex;
}

int ReadLineWidth(const QString& text) {
    const int value = LeadingInt(text);
    return value < 0 || value > 256 ? 1 : value;
}

} // namespace ymt
