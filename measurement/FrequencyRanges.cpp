#include "measurement/FrequencyRanges.h"

#include "app/misc/Misc.h"

#include <algorithm>

namespace ymt {

double GridFrequency(double start, double stop, int index, int points) {
    if (points <= 1)
        return start;
    return start + (stop - start) * index / (points - 1);
}

void AppendSweep(CurveStore& store, double start, double stop, const double* traceA,
                 const double* traceB, int points) {
    for (int i = 0; i < points; ++i) {
        const double f = GridFrequency(start, stop, i, points);
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

void FitRangesToAnalyzer(QString starts[3], QString stops[3], double analyzerMin,
                         double analyzerMax) {
    for (int range = 0; range < 3; ++range) {
        if (ParseNumber(starts[range]) < analyzerMin)
            starts[range] = FixedText(analyzerMin, 1, 3);
        if (ParseNumber(stops[range]) > analyzerMax)
            stops[range] = FixedText(analyzerMax, 1, 3);
    }
}

bool ShouldBackUp(BackupOption option, SpectrumChange change, int spectrumPoints) {
    if (spectrumPoints < 1)
        return false;
    if (change == SpectrumChange::MorePoints)
        return option == BackupOption::EveryChange;
    return option != BackupOption::NoBackup;
}

} // namespace ymt
