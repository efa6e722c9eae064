#include "measurement/FrequencyRanges.h"

#include "core/NumberParsing.h"
#include "instrument/analyzer/HP4x94A.h"

#include <algorithm>

namespace ymt {

double GridFrequency(double start, double stop, int index, int points) {
    if (points <= 1)
        return start;
    return start + (stop - start) * index / (points - 1);
}

void AppendSweep(CurveStore& store, double start, double stop, const double* traceA,
                 const double* traceB, int points, int sweepPoints) {
    const int grid = sweepPoints > 0 ? sweepPoints : points;
    for (int i = 0; i < points; ++i) {
        const double f = GridFrequency(start, stop, i, grid);
        store.AddPoint(3, f, traceA[i]);
        store.AddPoint(4, f, traceB[i]);
    }
}

double ClampToAnalyzer(double kHz, double analyzerMin, double analyzerMax) {
    if (kHz < analyzerMin)
        return analyzerMin;
    if (kHz > analyzerMax)
        return analyzerMax;
    return kHz;
}

std::optional<double> TypedRangeLimit(double typed, double current, double other,
                                      double analyzerMin, double analyzerMax) {
    // Start and stop never coincide.
    if (typed == other)
        typed += 1e-10;
    if (typed == current)
        return std::nullopt;
    return ClampToAnalyzer(typed, analyzerMin, analyzerMax);
}

bool ShouldBackUp(BackupOption option, SpectrumChange change, int spectrumPoints) {
    if (spectrumPoints < 1)
        return false;
    if (change == SpectrumChange::MorePoints)
        return option == BackupOption::EveryChange;
    return option != BackupOption::NoBackup;
}

QList<SweepRange> CheckedSweepRanges(const bool checked[3], const QString starts[3],
                                     const QString stops[3]) {
    QList<SweepRange> ranges;
    for (int range = 0; range < 3; ++range) {
        if (checked[range])
            ranges.append({range + 1, ParseNumber(starts[range]), ParseNumber(stops[range])});
    }
    return ranges;
}

std::optional<SweepRange> ClampedSweepRange(const SweepRange& range, double analyzerMin,
                                            double analyzerMax) {
    SweepRange clamped = range;
    clamped.start = ClampToAnalyzer(std::min(range.start, range.stop), analyzerMin, analyzerMax);
    clamped.stop = ClampToAnalyzer(std::max(range.start, range.stop), analyzerMin, analyzerMax);
    if (!(clamped.start < clamped.stop))
        return std::nullopt;
    return clamped;
}

PointsReading ReadPointsPerRange(const QString& text) {
    PointsReading reading;
    const IntConversion typed = StrictInt(text);
    if (!typed.value) {
        reading.error = typed.error;
        return reading;
    }
    reading.value = std::clamp(*typed.value, 1, HP4x94A::kTracePoints);
    return reading;
}

} // namespace ymt
