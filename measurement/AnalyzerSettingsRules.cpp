#include "measurement/AnalyzerSettingsRules.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "localisation/ProgramTexts.h"

#include <algorithm>
#include <limits>

namespace ymt {

AveragingReading ReadAveraging(const QString& text) {
    AveragingReading reading;
    const IntConversion typed = StrictInt(text);
    if (!typed.value) {
        reading.error = typed.error;
        return reading;
    }
    reading.warnHighValue = *typed.value > 15;
    reading.value = std::clamp(*typed.value, 1, 256);
    return reading;
}

double ClampOscLevel(double volts) {
    return std::clamp(volts, kOscLevelMin, kOscLevelMax);
}

double ClampBiasLevel(double volts) {
    return std::clamp(volts, kBiasMin, kBiasMax);
}

TimeoutReading ReadTimeout(const QString& text) {
    TimeoutReading reading;
    const IntConversion typed = StrictInt(text);
    if (!typed.value) {
        reading.error = typed.error;
        return reading;
    }
    // Keep the milliseconds within a 32-bit count.
    constexpr int maxSeconds = std::numeric_limits<int>::max() / 1000;
    reading.seconds = std::clamp(*typed.value, 0, maxSeconds);
    reading.limited = *typed.value > maxSeconds;
    reading.completionTimeoutMs = *reading.seconds * 1000;
    return reading;
}

QStringList AppliedSettingsLines(int averaging, double oscLevel, double biasLevel) {
    return {Text(Txt::LogAverageSet).arg(IntText(averaging)),
            Text(Txt::LogVoltageLevelSet).arg(FixedText(oscLevel, 1, 3)),
            Text(Txt::LogBiasLevelSet).arg(FixedText(biasLevel, 1, 3))};
}

QString CompletionWaitRanOutText(const QString& measurement, int timeoutMs) {
    const QString limit =
        timeoutMs > 0 ? Text(Txt::LogWithinSeconds).arg(timeoutMs / 1000.0) : QString();
    return Text(Txt::LogCompletionWaitRanOut).arg(measurement, limit);
}

} // namespace ymt
