// Reading of the point-threshold edits.
#include "evaluation/Thresholds.h"

#include "core/Misc.h"
#include "localisation/TextTables.h"

#include <climits>

namespace ymt {
namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Leading digits from position i on, saturating at INT_MAX; sets any when a digit was read.
qint64 leadingDigits(const QString& text, qsizetype& i, bool& any) {
    qint64 value = 0;
    any = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        any = true;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > INT_MAX)
            value = INT_MAX;
    }
    return value;
}

} // namespace

int ReadThresholdText(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool any = false;
    const qint64 value = leadingDigits(text, i, any);
    return value < 1 ? 1 : static_cast<int>(value);
}

int ThresholdValue(const QString& text) {
    const QString core = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < core.size() && (core[i] == QLatin1Char('+') || core[i] == QLatin1Char('-'))) {
        negative = core[i] == QLatin1Char('-');
        ++i;
    }
    bool any = false;
    const qint64 value = leadingDigits(core, i, any);
    if (any && i == core.size() && value < INT_MAX)
        return static_cast<int>(negative ? -value : value);
    return ReadThresholdText(text);
}

ThresholdEditOutcome ThresholdEditExit(const QString& text) {
    ThresholdEditOutcome outcome;
    outcome.Value = ReadThresholdText(text);
    outcome.Text = IntText(outcome.Value);
    if (outcome.Value < kRecommendedThresholdPoints)
        outcome.Warning = TableMessage(EvaluationMessageKind::Warning, EvaluationButtons::OK,
                                       Msg::FewPointsPrecisionWarning);
    return outcome;
}

} // namespace ymt
