// Limits and readings of the analyzer settings typed on tab "Hardware": averaging, oscillator
// level, bias and the completion timeout.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ymt {

struct AveragingReading {
    std::optional<int> value;   // clamped to 1..256; empty when the text is not an integer
    bool warnHighValue = false; // the typed value was above 15
    QString error;              // conversion error message when !value
};

AveragingReading ReadAveraging(const QString& text);

inline constexpr double kOscLevelMin = 0.005;
inline constexpr double kOscLevelMax = 1.0;
inline constexpr double kBiasMin = -40.0;
inline constexpr double kBiasMax = 40.0;

double ClampOscLevel(double volts);
double ClampBiasLevel(double volts);

struct TimeoutReading {
    std::optional<int> seconds; // what the field shows afterwards; 0 = no limit
    int completionTimeoutMs = 0;
    QString error;        // conversion error message when !seconds
    bool limited = false; // the typed value was above the longest timeout that can be kept
};

// The field is in seconds; the completion wait counts milliseconds. Negative values read as 0
// (no limit). Text that is not a whole number gives no value: a typing slip such as "30 s"
// must not turn the limit into "no limit".
TimeoutReading ReadTimeout(const QString& text);

// The log lines of "Apply Settings": the stored averaging count (the HP 4194A receives the
// nearest power of two, but the operator's count is what is logged) and both levels.
QStringList AppliedSettingsLines(int averaging, double oscLevel, double biasLevel);

// The log line of a compensation measurement ("open", "short") whose completion wait ended at
// the "Timeout [s]" limit or a failed session instead of the analyzer's report.
QString CompletionWaitRanOutText(const QString& measurement, int timeoutMs);

} // namespace ymt
