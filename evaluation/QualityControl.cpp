// Verdicts of the quality-control check.
#include "evaluation/QualityControl.h"

#include "core/Misc.h"

namespace ymt {

QStringList TenPercentQcRecord(const std::array<double, kQcQuantityCount>& values) {
    QStringList texts;
    auto add = [&texts, &values](QcQuantity quantity, int decimals, int toleranceDecimals) {
        const double value = values[std::size_t(quantity)];
        texts << FixedText(value, 1, decimals) << FixedText(value / 10, 1, toleranceDecimals);
    };
    add(QcCap, 3, 6), add(QcTanD, 1, 1), add(QcKEff, 1, 1);
    texts << QString();
    add(QcFMin, 3, 6), add(QcKMode, 1, 1);
    return texts;
}

QcOutcome JudgeSample(bool typeSelected, const std::array<QcLimit, kQcQuantityCount>& limits,
                      const std::array<double, kQcQuantityCount>& values) {
    QcOutcome outcome;
    if (!typeSelected)
        return outcome;
    for (int i = 0; i < kQcQuantityCount; ++i) {
        const QcLimit& limit = limits[std::size_t(i)];
        const double value = values[std::size_t(i)];
        QcVerdict& verdict = outcome.Verdicts[std::size_t(i)];
        if (limit.Reference == 0) {
            verdict = QcVerdict::NotChecked;
            continue;
        }
        // Written so that a NaN anywhere fails the check rather than passing it.
        const bool inside =
            limit.Reference - limit.Tolerance < value && value < limit.Reference + limit.Tolerance;
        verdict = inside ? QcVerdict::OK : QcVerdict::Defect;
        if (!inside)
            outcome.Failed = true;
    }
    return outcome;
}

QString VerdictText(QcVerdict verdict, const QString& defectWord) {
    switch (verdict) {
    case QcVerdict::OK:
        return QStringLiteral("OK");
    case QcVerdict::Defect:
        return defectWord;
    case QcVerdict::NotChecked:
        break;
    }
    return QStringLiteral("---");
}

unsigned VerdictColor(QcVerdict verdict) {
    switch (verdict) {
    // Dark enough to keep a contrast of 3:1 on the grey of a window panel (pure lime and red
    // keep 1.2:1 and 3.5:1 there).
    case QcVerdict::OK:
        return 0x007000;
    case QcVerdict::Defect:
        return 0x0000C0;
    case QcVerdict::NotChecked:
        break;
    }
    return 0x000000;
}

QString QcLimitText(int field, double value) {
    struct Format {
        int width;
        int decimals;
    };
    static constexpr Format formats[kQcLimitFields] = {{9, 3}, {9, 3}, {9, 1}, {9, 1}, {9, 1},
                                                       {9, 1}, {1, 1}, {1, 1}, {1, 3}, {1, 3}};
    const Format format = formats[field];
    return FixedText(value, format.width, format.decimals);
}

} // namespace ymt
