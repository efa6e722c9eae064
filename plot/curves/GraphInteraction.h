// The measurement plot's mouse logic that holds no window state: zoom history, frequency of a
// mouse position, clamps, the zoom-band rule, the nearest measured point and the typed line width.
#pragma once

#include "plot/curves/CurveStore.h"

#include <QString>

#include <array>
#include <optional>

namespace ymt {

// Frequency windows the operator zoomed through: entry 0 is the full range, the depth is the
// entry in use. A zoom beyond the last entry overwrites it.
class ZoomHistory {
public:
    static constexpr int kLastEntry = 50;

    struct Entry {
        double High = 0;
        double Low = 0;
    };

    ZoomHistory();

    // Sets the full range (entry 0) and returns to it.
    void resetFullRange(double low, double high);
    // Puts a range into an entry and makes it the one in use (a file's range goes to entry 1).
    void setEntry(int index, double high, double low);
    // A new zoom: one entry deeper (unless at the last), stored there.
    void push(double high, double low);
    // One entry back; false at depth 0, where nothing changes.
    bool back();

    int depth() const { return depth_; }
    const Entry& current() const { return entries_[static_cast<size_t>(depth_)]; }
    const Entry& entry(int index) const { return entries_[static_cast<size_t>(index)]; }

private:
    std::array<Entry, kLastEntry + 1> entries_;
    int depth_ = 0;
};

// Frequency (kHz) under widget x pixel x of the measurement plot. The screen draws the plot one
// pixel in, so its edges PlotLeft and PlotRight lie at x = plotLeft + 1 and plotRight + 1, which
// give exactly xMin and xMax; positions beyond them give xMin or xMax, never a frequency outside.
double FrequencyAtX(int x, int plotLeft, int plotRight, double xMin, double xMax);

// The same on a frequency axis that may be logarithmic: there the pixels divide the decades
// evenly, so x maps through log10 of the limits (both above 0, as a usable log axis has them).
double FrequencyAtX(int x, int plotLeft, int plotRight, double xMin, double xMax, bool log);
// Pixel offset from plotLeft of a frequency on such an axis, as the plot draws it.
double OffsetOfFrequency(double frequency, int plotLeft, int plotRight, double xMin, double xMax,
                         bool log);

// Clamps of the mouse x for press, move and release: each keeps the position over the plot as
// the screen shows it (plotLeft + 1 to plotRight + 1).
int ClampPressX(int x, int plotLeft, int plotRight);
int ClampMoveX(int x, int plotLeft, int plotRight);
int ClampReleaseX(int x, int plotLeft, int plotRight);

// A drag zooms only when its band is wider than 5 pixels; the ends may come in either order.
bool IsZoomBand(int dragStart, int dragEnd);

// The narrowest window a zoom may reach: a millionth of its centre frequency, never below
// 1 mHz, so that the axis labels still tell its ends apart.
inline constexpr double kMinimumZoomSpanFraction = 1e-6;
inline constexpr double kMinimumZoomSpanKHz = 1e-6;
double MinimumZoomSpan(double low, double high);

struct FrequencyBand {
    double Low = 0;
    double High = 0;
};
// The frequency band of a drag, or none for a band of 5 pixels or less or one narrower than
// MinimumZoomSpan.
std::optional<FrequencyBand> DragZoomBand(int dragStart, int dragEnd, int plotLeft, int plotRight,
                                          double xMin, double xMax);

// Index of the point of a curve whose x is nearest to frequency; the first of equal distances
// wins. -1 for an empty curve (or when every distance is 1e10 or more).
int NearestPointIndex(const CurveStore& store, int curve, double frequency);

// A typed line width: leading blanks and a sign, digits up to the first other character; no
// digits give 0; below 0 or above 256 give 1.
int ReadLineWidth(const QString& text);

} // namespace ymt
