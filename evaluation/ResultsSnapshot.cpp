// Result values and their label texts.
#include "evaluation/ResultsSnapshot.h"

#include "core/Misc.h"

#include <cmath>

namespace ymt {

ResultValue::ResultValue(double value, int decimals) : decimals_(decimals) {
    if (std::isfinite(value))
        value_ = value;
}

ResultValue ResultValue::FromText(const QString& text, double value) {
    ResultValue result;
    if (text == QLatin1String("---"))
        return result;
    result.value_ = value;
    result.kept_ = text;
    return result;
}

QString ResultText(const ResultValue& result) {
    if (!result.value_)
        return QStringLiteral("---");
    if (result.kept_)
        return *result.kept_;
    return FixedText(*result.value_, 1, result.decimals_);
}

std::array<double, kQcQuantityCount> JudgedValues(const ResultsSnapshot& snapshot) {
    const ShownResults& shown = snapshot.Shown;
    const EvaluationResults& values = snapshot.Values;
    auto judged = [](const ResultValue& label, double value) {
        return label.IsDetermined() ? value : 0.0;
    };
    return {judged(shown.Cap, values.CapNF), judged(shown.TanD, values.TanD),
            judged(shown.KEff, values.KEff), judged(shown.KMode, values.KMode),
            judged(shown.FMin, values.FMin)};
}

QString RecordNotes(const QString& notes, bool simulated) {
    if (!simulated || notes.contains(kSimulatedSpectrumNote))
        return notes;
    return notes.isEmpty() ? kSimulatedSpectrumNote
                           : notes + QLatin1Char(' ') + kSimulatedSpectrumNote;
}

} // namespace ymt
