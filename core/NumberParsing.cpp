#include "core/NumberParsing.h"

#include "core/TextCatalogue.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <string>

namespace ymt {

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

double ParseNumber(const QString& text) {
    qsizetype first = 0;
    while (first < text.size() && !isDigit(text[first]) && text[first] != QLatin1Char('+') &&
           text[first] != QLatin1Char('-'))
        ++first;
    qsizetype last = text.size() - 1;
    while (last >= first && !isDigit(text[last]))
        --last;
    if (last < first)
        return 0.0;
    const QString core = text.mid(first, last - first + 1);
    // Strict form: [+-] digits [. digits] [(e|E) [+-] digits], at least one mantissa digit.
    qsizetype i = 0;
    const qsizetype n = core.size();
    if (i < n && (core[i] == QLatin1Char('+') || core[i] == QLatin1Char('-')))
        ++i;
    qsizetype mantissaDigits = 0;
    while (i < n && isDigit(core[i]))
        ++i, ++mantissaDigits;
    if (i < n && core[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && isDigit(core[i]))
            ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0)
        return 0.0;
    if (i < n && (core[i] == QLatin1Char('e') || core[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (core[i] == QLatin1Char('+') || core[i] == QLatin1Char('-')))
            ++i;
        qsizetype exponentDigits = 0;
        while (i < n && isDigit(core[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return 0.0;
    }
    if (i != n)
        return 0.0;
    // from_chars reads "." whatever the C locale says; it takes no "+", so that is skipped.
    const std::string ascii = core.toStdString();
    const char* begin = ascii.data();
    if (*begin == '+')
        ++begin;
    double value = 0.0;
    const auto [end, status] = std::from_chars(begin, ascii.data() + ascii.size(), value);
    if (status != std::errc() || end != ascii.data() + ascii.size())
        return 0.0;
    return std::isfinite(value) ? value : 0.0;
}

int LeadingInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > std::numeric_limits<int>::max())
            value = std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

IntConversion StrictInt(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    IntConversion result;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (pattern.match(text).hasMatch() && ok)
        result.value = value;
    else
        result.error = Text(Txt::NotAnInteger).arg(text);
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
    result.error = Text(Txt::NotAFloat).arg(text);
    return result;
}

} // namespace ymt
