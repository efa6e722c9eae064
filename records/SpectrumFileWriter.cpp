// Writes the spectrum text file. Rows are formatted with std::to_chars, which keeps a save of a
// hundred thousand points well below the time an operator notices.
#include "records/SpectrumFile.h"

#include "core/Misc.h"
#include "core/TextFile.h"
#include "localisation/TextTables.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <cstring>

namespace ymt {
namespace {

const char* const kGeometryNames[2][4] = {
    {"Arbitrary Geometry", "Circular Disc / Rod", "Rectangular Disc / Rod", "Ring"},
    {"Freie Geometrie", "Kreisscheibe / Rundstab", "Rechteck-Platte / Rechteckstab", "Ring"}};

// Writes exactly 16 characters at `text`.
void writeNumber(char* text, double value) {
    if (!std::isfinite(value)) {
        // Only derived display columns can hold these; the measured columns never do.
        const char* word = std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
        const auto length = std::strlen(word);
        std::memset(text, ' ', 16 - length);
        std::memcpy(text + 16 - length, word, length);
        return;
    }
    if (value == 0)
        value = 0; // no "-" for negative zero
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                      std::chars_format::scientific, 7);
    // digits holds d.ddddddde±xx (two or three exponent digits).
    const qsizetype exponentDigits = result.ptr - (digits + 11);
    text[0] = value < 0 ? '-' : ' ';
    std::memcpy(text + 1, digits, 9);
    text[10] = 'E';
    text[11] = digits[10];
    std::memset(text + 12, '0', 4);
    std::memcpy(text + 16 - exponentDigits, digits + 11, static_cast<size_t>(exponentDigits));
}

} // namespace

QByteArray SpectrumNumberText(double value) {
    QByteArray out(16, ' ');
    writeNumber(out.data(), value);
    return out;
}

QString SpectrumLabelField(const QString& label) {
    return PadToMultiple(label, 24) + QStringLiteral(": ");
}

bool WritesDisplayColumns(const SpectrumHeader& header, const CurveStore& store) {
    const int points = store.pointCount(3);
    return !header.firstDisplayPair && store.pointCount(1) >= points &&
           store.pointCount(2) >= points && store.pointCount(4) >= points;
}

QStringList SpectrumHeaderLines(const SpectrumHeader& h, bool displayColumns) {
    const int language = h.german ? 1 : 0;
    auto field = [language](int entry) { return SpectrumLabelField(Label(language, entry)); };
    const int geometry = h.geometry >= 0 && h.geometry <= 3 ? h.geometry : 0;
    const QString mode = h.modeCaption.left(4).leftJustified(4, QLatin1Char(' '));

    QStringList titles{Label(language, 14)};
    if (displayColumns)
        titles << QStringLiteral("|Z| [Ohm]") << QStringLiteral("theta [°]") << h.leftAxisTitle
               << h.rightAxisTitle;
    else if (h.firstDisplayPair)
        titles << h.leftAxisTitle << h.rightAxisTitle;
    else
        titles << QStringLiteral("|Z| [Ohm]") << QStringLiteral("theta [°]");

    QStringList lines{
        Label(language, 0) + QStringLiteral("  ") + h.dateTime + QStringLiteral(" -- ") +
            h.measuredBy,
        QString(),
        SpectrumLabelField(QStringLiteral("Material")) + h.material,
        field(2) + h.sampleName,
        field(3) + h.notes,
        field(24) + QString::fromUtf8(kGeometryNames[language][geometry]),
        field(7) + h.electrodeDistance,
        field(8) + h.electrodeArea,
        QString(),
        field(14) + h.capacitanceFrequency,
        field(15) + h.capacitance,
        QStringLiteral("tand              ") + h.tandUnit + QStringLiteral(": ") + h.tand,
        QStringLiteral("eps(rel)                : ") + h.eps,
        QStringLiteral("f(min)             [kHz]: ") + h.fmin,
        QStringLiteral("f(max)             [kHz]: ") + h.fmax,
        QStringLiteral("keff                 [%]: ") + h.keff,
        mode + QStringLiteral("                 [%]: ") + h.kmode,
        QStringLiteral("Q(3dB)                  : ") + h.q3db,
        QStringLiteral("B(3dB)             [kHz]: ") + h.b3db,
        QString(),
        titles.join(QLatin1Char('\t')),
    };
    // A pasted line break inside a field would move every later header line, and the reader
    // takes the header lines by position: the break becomes a blank.
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (QString& line : lines)
        line.replace(lineBreak, QStringLiteral(" "));
    return lines;
}

QByteArray SpectrumFileBytes(const SpectrumHeader& header, const CurveStore& store,
                             std::optional<std::pair<double, double>> visibleRange) {
    const bool displayColumns = WritesDisplayColumns(header, store);
    QByteArray out;
    for (const QString& line : SpectrumHeaderLines(header, displayColumns))
        out.append(EncodeCp1252(line)).append("\r\n");

    const Curve& magnitude = store.curve(3);
    const Curve& phase = store.curve(4);
    const Curve& display1 = store.curve(1);
    const Curve& display2 = store.curve(2);
    const size_t points = std::min(magnitude.Points.size(), phase.Points.size());
    // Every row has the same length, so the rows are written straight into the buffer.
    const qsizetype columns = displayColumns ? 5 : 3;
    const qsizetype rowLength = columns * 17 + 1; // numbers, tabs between them, CR LF
    const qsizetype headerLength = out.size();
    out.resize(headerLength + static_cast<qsizetype>(points) * rowLength);
    char* at = out.data() + headerLength;
    for (size_t i = 0; i < points; ++i) {
        const double f = magnitude.Points[i].x;
        if (visibleRange && !(f > visibleRange->first && f < visibleRange->second))
            continue;
        const double values[5] = {f, magnitude.Points[i].y, phase.Points[i].y,
                                  displayColumns ? display1.Points[i].y : 0,
                                  displayColumns ? display2.Points[i].y : 0};
        for (qsizetype column = 0; column < columns; ++column) {
            writeNumber(at, values[column]);
            at[16] = column + 1 < columns ? '\t' : '\r';
            at += 17;
        }
        *at++ = '\n';
    }
    out.truncate(at - out.constData());
    return out;
}

} // namespace ymt
