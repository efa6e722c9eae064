#include "core/Misc.h"

#include "core/Clock.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace ymt {

void DelayMs(int ms) {
    clock::sleepMs(static_cast<qint64>(ms < 0 ? 0 : ms) + 1);
}

QString IntText(qint64 n) {
    return QString::number(n);
}

namespace {

// Rounds a decimal digit string half away from zero at `decimals` places after the point.
// Digits are taken to 15 significant places first, so 1.005 reads as 1.005 and not as the
// binary 1.00499999..., as an operator reading the number expects.
QString roundedFixed(double x, int decimals) {
    if (std::isnan(x))
        return QStringLiteral("NAN");
    if (std::isinf(x))
        return x < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    decimals = std::clamp(decimals, 0, 18);
    const bool negative = std::signbit(x);
    // to_chars ignores the C locale, which Qt sets from the environment (a German desktop
    // would otherwise turn the point into a comma).
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(x),
                                       std::chars_format::scientific, 14);
    // buffer: d.dddddddddddddde±XX[X]
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, 14);
    int exponent = 0;
    std::from_chars(buffer + 18, written.ptr, exponent);
    if (buffer[17] == '-')
        exponent = -exponent;
    // Position of the decimal point within `digits` (may be negative or beyond the end).
    int pointPos = exponent + 1;
    // Build integer-part and fraction-part digit strings with enough zeros.
    std::string intPart, fracPart;
    if (pointPos <= 0) {
        intPart = "0";
        fracPart = std::string(static_cast<size_t>(-pointPos), '0') + digits;
    } else if (pointPos >= static_cast<int>(digits.size())) {
        intPart = digits + std::string(static_cast<size_t>(pointPos) - digits.size(), '0');
    } else {
        intPart = digits.substr(0, static_cast<size_t>(pointPos));
        fracPart = digits.substr(static_cast<size_t>(pointPos));
    }
    bool roundUp = static_cast<int>(fracPart.size()) > decimals &&
                   fracPart[static_cast<size_t>(decimals)] >= '5';
    if (static_cast<int>(fracPart.size()) > decimals)
        fracPart.resize(static_cast<size_t>(decimals));
    fracPart.append(static_cast<size_t>(decimals) - fracPart.size(), '0');
    std::string all = intPart + fracPart;
    if (roundUp) {
        int i = static_cast<int>(all.size()) - 1;
        for (; i >= 0; --i) {
            if (all[static_cast<size_t>(i)] == '9') {
                all[static_cast<size_t>(i)] = '0';
            } else {
                ++all[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0)
            all.insert(all.begin(), '1');
    }
    std::string whole = all.substr(0, all.size() - static_cast<size_t>(decimals));
    std::string fraction = all.substr(all.size() - static_cast<size_t>(decimals));
    size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? "0" : whole.substr(firstNonZero);
    const bool isZero = all.find_first_not_of('0') == std::string::npos;
    std::string text = (negative && !isZero ? "-" : "") + whole;
    if (decimals > 0)
        text += "." + fraction;
    return QString::fromStdString(text);
}

} // namespace

QString FixedText(double x, int width, int decimals) {
    QString text = roundedFixed(x, decimals);
    if (text.size() < width)
        text = QString(width - text.size(), QLatin1Char(' ')) + text;
    return text;
}

qint64 FileSizeKB(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return 0;
    return info.size() / 1024;
}

QString PadToMultiple(const QString& text, int n) {
    if (n < 1)
        n = 1;
    qsizetype blanks = n - (text.size() % n);
    if (blanks > 67)
        blanks = 67;
    return text + QString(blanks, QLatin1Char(' '));
}

QString ZeroPad(const QString& text, int width) {
    QString sign;
    QString rest = text;
    if (!rest.isEmpty() && (rest[0] == QLatin1Char('-') || rest[0] == QLatin1Char(' '))) {
        sign = rest.left(1);
        rest = rest.mid(1);
    }
    if (rest.size() < width)
        rest = QString(width - rest.size(), QLatin1Char('0')) + rest;
    return sign + rest;
}

QString TimestampText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
}

QString TimestampText() {
    return TimestampText(clock::currentDateTime());
}

QString CleanSampleName(const QString& name) {
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    QString cleaned = name;
    for (QChar& c : cleaned)
        if (forbidden.contains(c))
            c = QLatin1Char('_');
    return cleaned;
}

} // namespace ymt
