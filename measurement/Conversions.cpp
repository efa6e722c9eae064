#include "measurement/Conversions.h"

#include <QRegularExpression>

#include <cmath>

namespace ymt {

IntConversion StrictInt(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    IntConversion result;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (pattern.match(text).hasMatch() && ok)
        result.value = value;
    else
        result.error = QStringLiteral("'%1' is not a valid integer value").arg(text);
    return result;
}

FloatConversion StrictFloat(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?\\s*$"));
    FloatConversion result;
    if (pattern.match(text).hasMatch()) {
        const double value = std::strtod(text.trimmed().toLatin1().constData(), nullptr);
        if (std::isfinite(value)) {
            result.value = value;
            return result;
        }
    }
    result.error = QStringLiteral("'%1' is not a valid floating point value").arg(text);
    return result;
}

} // namespace ymt
