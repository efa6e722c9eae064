// The frequency grid of a sweep and the rules of the frequency-range fields.
#pragma once

#include "plot/curves/CurveStore.h"

#include <QList>
#include <QString>

#include <optional>

namespace ymt {

// The analyzer measures point i of an N-point linear sweep at
// start + (stop - start) * i / (N - 1): both ends are measured.
double GridFrequency(double start, double stop, int index, int points);

// Appends the first `points` values of a sweep to the spectrum: |Z| (trace A) to curve 3,
// theta (trace B) to curve 4. The frequencies follow the grid of the `sweepPoints` the analyzer
// measured (by default as many as are appended), so fewer appended values keep their labels.
void AppendSweep(CurveStore& store, double start, double stop, const double* traceA,
                 const double* traceB, int points, int sweepPoints = 0);

// The ranges "Read New Spectrum" sweeps: each checked range of tab "Options" with the limits
// typed in its two fields (tolerant reading), in the order 1, 2, 3.
struct SweepRange {
    int number = 1; // 1..3
    double start = 0;
    double stop = 0;
};
QList<SweepRange> CheckedSweepRanges(const bool checked[3], const QString starts[3],
                                     const QString stops[3]);

// The range limited to the analyzer's span, limits in rising order; nothing when no span is
// left (start not below stop).
std::optional<SweepRange> ClampedSweepRange(const SweepRange& range, double analyzerMin,
                                            double analyzerMax);

// "Number of Points / Range": a whole number, limited to 1..401 (a trace holds 401 values).
struct PointsReading {
    std::optional<int> value;
    QString error; // conversion error message when !value
};
PointsReading ReadPointsPerRange(const QString& text);

// Range fields of tab "Options": limited to the analyzer's span.
double ClampToAnalyzer(double kHz, double analyzerMin, double analyzerMax);

// "Start"/"Stop" of the measurement window typed by the operator. `typed` is the new value of
// the edited limit, `other` the current value of the other limit. Returns the new value of
// the edited limit, or nothing when it equals its current value.
std::optional<double> TypedRangeLimit(double typed, double current, double other,
                                      double analyzerMin, double analyzerMax);

enum class BackupOption { NoBackup = 0, MajorChangeOnly = 1, EveryChange = 2 };
enum class SpectrumChange { Major, MorePoints };

// Whether the spectrum is copied to the backup directory before it changes.
bool ShouldBackUp(BackupOption option, SpectrumChange change, int spectrumPoints);

} // namespace ymt
