// A recorded spectrum as the sample of a simulated analyzer ("sample = file PATH" in a device
// section of sicl.conf): any file "Open Spectrum..." takes. Between the recorded points |Z| is
// interpolated on logarithmic frequency and magnitude scales and theta linearly over the
// logarithm of the frequency; outside the recording's range there is no value, never an
// invented one.
#pragma once

#include "core/SpectrumRows.h"

#include <QString>

#include <complex>
#include <memory>
#include <optional>
#include <vector>

namespace ymt::sim {

struct RecordedSample {
    QString path;
    QString error; // why the file gave no points; such a sample answers no sweep
    std::vector<SpectrumPoint> points; // sorted, one per frequency, frequency > 0

    bool empty() const { return points.empty(); }
    double lowestKHz() const { return points.empty() ? 0 : points.front().frequency; }
    double highestKHz() const { return points.empty() ? 0 : points.back().frequency; }
    // True when the recording reaches f (kHz): from the first to the last recorded frequency.
    bool covers(double frequencyKHz) const;
};

// The value of a "sample" line that names a recording ("file PATH"); empty for any other.
std::optional<QString> RecordedSamplePath(const QString& value);

// Reads the recording. A relative path is taken from the folder of the sicl.conf in use.
// Points at equal frequencies keep the first; points at 0 Hz or below are dropped.
std::shared_ptr<const RecordedSample> LoadRecordedSample(const QString& path);
RecordedSample RecordedSampleOf(std::vector<SpectrumPoint> points);

// |Z| e^(j theta) at f (kHz), or nothing outside the recording.
std::optional<std::complex<double>> RecordedImpedance(const RecordedSample& sample,
                                                      double frequencyKHz);

} // namespace ymt::sim
