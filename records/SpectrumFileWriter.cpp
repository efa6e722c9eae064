// Writes the spectrum text file. Rows are formatted with std::to_chars, which keeps a save of a
// hundred thousand points well below the time an operator notices.
#include "records/SpectrumFile.h"

#include "core/Misc.h"
#include "core/TextFile.h"
#include "localisation/TextTables.h"

#include <QLocale>
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

QString SpectrumFileDateTime(const QDateTime& dateTime) {
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+")));
    return locale.toString(dateTime.date(), QLocale::ShortFormat) + QStringLiteral(" / ") +
           locale.toString(dateTime.time(), timeFormat.trimmed());
}

QString SpectrumLabelField(const QString& label) {
    return PadToMultiple(label, 24) + QStringLiteral(": ");
}

bool WritesDisplayColumns(const SpectrumFileExtras& extras, const CurveStore& store) {
    const int points = store.pointCount(3);
    return !extras.FirstDisplayPair && store.pointCount(1) >= points &&
           store.pointCount(2) >= points && store.pointCount(4) >= points;
}

QStringList SpectrumHeaderLines(const ResultsSnapshot& s, const SpectrumFileExtras& extras,
                                bool displayColumns) {
    const int language = extras.German ? 1 : 0;
    auto field = [language](int entry) { return SpectrumLabelField(Label(language, entry)); };
    const int kind = static_cast<int>(s.Sample.Geometry);
    const int geometry = kind >= 0 && kind <= 3 ? kind : 0;
    const QString mode = s.ModeCaption.left(4).leftJustified(4, QLatin1Char(' '));
    const ShownResults& r = s.Shown;

    QStringList titles{Label(language, 14)};
    if (displayColumns)
        titles << QStringLiteral("|Z| [Ohm]") << QStringLiteral("theta [°]") << extras.LeftAxisTitle
               << extras.RightAxisTitle;
    else if (extras.FirstDisplayPair)
        titles << extras.LeftAxisTitle << extras.RightAxisTitle;
    else
        titles << QStringLiteral("|Z| [Ohm]") << QStringLiteral("theta [°]");

    QStringList lines{
        Label(language, 0) + QStringLiteral("  ") + extras.DateTime + QStringLiteral(" -- ") +
            s.Sample.MeasuredBy,
        QString(),
        SpectrumLabelField(QStringLiteral("Material")) + s.Sample.Material,
        field(2) + s.SampleNameText,
        field(3) + s.NotesText,
        field(24) + QString::fromUtf8(kGeometryNames[language][geometry]),
        field(7) + s.ElectrodeDistanceText,
        field(8) + s.ElectrodeAreaText,
        QString(),
        field(14) + s.CapFrequency,
        field(15) + ResultText(r.Cap),
        QStringLiteral("tand              ") + s.TandUnit + QStringLiteral(": ") +
            ResultText(r.TanD),
        QStringLiteral("eps(rel)                : ") + ResultText(r.Eps),
        QStringLiteral("f(min)             [kHz]: ") + ResultText(r.FMin),
        QStringLiteral("f(max)             [kHz]: ") + ResultText(r.FMax),
        QStringLiteral("keff                 [%]: ") + ResultText(r.KEff),
        mode + QStringLiteral("                 [%]: ") + ResultText(r.KMode),
        QStringLiteral("Q(3dB)                  : ") + ResultText(r.Q3dB),
        QStringLiteral("B(3dB)             [kHz]: ") + ResultText(r.B3dB),
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

QByteArray SpectrumFileBytes(const ResultsSnapshot& snapshot, const SpectrumFileExtras& extras,
                             const CurveStore& store,
                             std::optional<std::pair<double, double>> visibleRange) {
    const bool displayColumns = WritesDisplayColumns(extras, store);
    QByteArray out;
    for (const QString& line : SpectrumHeaderLines(snapshot, extras, displayColumns))
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
