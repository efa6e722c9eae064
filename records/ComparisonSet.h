// The comparison set: up to ten stored spectra overlaid in the comparison plot. Entry k (1..10)
// owns curve 2k - 1 (|Z| over frequency) and curve 2k (theta) of that plot. Here: reading a
// spectrum file for the set, choosing and filling entries, the curve group and the zoom rule.
#pragma once

#include "core/SpectrumRows.h"
#include "plot/curves/CurveStore.h"
#include "plot/curves/GraphInteraction.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace ymt {

inline constexpr int kComparisonEntries = 10;

inline int ImpedanceCurveOf(int entry) {
    return 2 * entry - 1;
}
inline int PhaseCurveOf(int entry) {
    return 2 * entry;
}

struct ComparisonFile {
    enum class Status {
        Read,          // points hold the rows (possibly none)
        UnknownFormat, // the first line lacks "mpedan", or no column-title line was found
        FileError      // the file could not be read, or a row is not three finite numbers
    };
    Status status = Status::Read;
    // UnknownFormat: true when the first line was right but no column-title line followed.
    bool missingColumnTitles = false;
    QString error; // FileError: the message for the operator
    std::vector<SpectrumPoint> points;
    // Analyzer data and CSV files: points with theta outside -90 ... 90 degrees, kept.
    int phasesOutside90 = 0;
};

// Reads a spectrum text file as the comparison set takes it: the first line must contain
// "mpedan", the rows follow the first line that holds both "Ohm" and "theta". An analyzer data
// file or a CSV file (told by the first line) is read whole; a damaged one is a FileError.
ComparisonFile ReadComparisonFile(const QString& path);

// An entry is in use when its |Z| curve holds at least one point.
bool EntryInUse(const CurveStore& set, int entry);

// The entry the next file goes to: the first unused of 1..9, else entry 10.
int ChooseEntry(const CurveStore& set);

// Replaces the entry's curves by the reading curves 1 (|Z|) and 2 (theta), point by point.
// An entry that was in use (entry 10 once all are full) is emptied first, so that one entry
// never mixes the points of two spectra.
void FillEntry(CurveStore& set, int entry, const CurveStore& reading);

// Visibility of all twenty curves: under the |Z| group (phase = false) each |Z| curve shows when
// its entry is checked and every theta curve is hidden; under the theta group the reverse.
void ApplyCurveGroup(CurveStore& set, bool phase,
                     const std::array<bool, kComparisonEntries>& checked);

// The left axis title of the curve group; impedanceWord is the message "Impedance".
QString CurveGroupAxisTitle(bool phase, const QString& impedanceWord);

// A typed frequency limit of the comparison plot in kHz, kept within 0.04 ... 110000; empty when
// the text is not a number.
std::optional<double> ComparisonRangeValue(const QString& text);

// The x range of a drag from start to current (widget pixels within the plot area from left to
// right) on an axis of min ... max; empty for a band of 5 pixels or less.
std::optional<FrequencyBand> ComparisonZoomBand(int start, int current, int left, int right,
                                                double min, double max);

} // namespace ymt
