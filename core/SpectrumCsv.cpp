// std::to_chars without a precision gives the shortest round-trip text and std::from_chars reads
// it back correctly rounded, so a written file comes back bit for bit in any locale.
#include "core/SpectrumCsv.h"

#include "core/ByteLines.h"
#include "core/TextCatalogue.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace ymt {
namespace {

QByteArrayView trimmedField(QByteArrayView field) {
    field = field.trimmed();
    // A spreadsheet may quote every field.
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.sliced(1, field.size() - 2).trimmed();
    return field;
}

std::optional<double> fieldNumber(QByteArrayView field) {
    field = trimmedField(field);
    if (field.startsWith('+'))
        field = field.sliced(1);
    double value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (error != std::errc() || stop != end || field.isEmpty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool isTitleRow(QByteArrayView line) {
    const QList<QByteArray> fields = line.toByteArray().split(',');
    static const char* const titles[] = {"frequency_kHz", "abs_Z_ohm", "theta_deg"};
    if (fields.size() < 3)
        return false;
    for (int i = 0; i < 3; ++i)
        if (trimmedField(fields[i]) != QByteArrayView(titles[i]))
            return false;
    return true;
}

SpectrumCsvRead failed(int line, const QString& text) {
    SpectrumCsvRead read;
    read.error = Text(Txt::ReadLine).arg(line).arg(text);
    return read;
}

} // namespace

bool IsSpectrumCsvFirstLine(QByteArrayView line) {
    if (line.startsWith("\xEF\xBB\xBF"))
        line = line.sliced(3); // a byte-order mark some editors put first
    return line.startsWith('#') || isTitleRow(line);
}

QByteArray ShortestNumberText(double value) {
    char text[32];
    // General, not plain: plain may take fixed notation for a large number and write digits of
    // its exact binary value beyond the seventeen that are needed.
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general);
    return QByteArray(text, result.ptr - text);
}

QByteArray SpectrumCsvRow(const SpectrumPoint& point) {
    return ShortestNumberText(point.frequency) + ',' + ShortestNumberText(point.magnitude) + ',' +
           ShortestNumberText(point.phase) + '\n';
}

SpectrumCsvRead ParseSpectrumCsv(QByteArrayView bytes) {
    SpectrumCsvRead read;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    bool titlesSeen = false;
    int number = 0;
    qsizetype start = 0;
    QByteArrayView line;
    while (NextByteLine(bytes, start, line)) {
        ++number;
        if (line.trimmed().isEmpty())
            continue;
        if (line.startsWith('#')) {
            const QString text = QString::fromUtf8(line.sliced(1)).trimmed();
            const qsizetype colon = text.indexOf(QLatin1Char(':'));
            if (colon > 0)
                read.keys.append({text.left(colon).trimmed(), text.mid(colon + 1).trimmed()});
            continue;
        }
        if (!titlesSeen) {
            if (!isTitleRow(line))
                return failed(number,
                              Text(Txt::CsvTitlesMissing).arg(QLatin1String(kSpectrumCsvTitles)));
            titlesSeen = true;
            continue;
        }
        const QList<QByteArray> fields = line.toByteArray().split(',');
        std::optional<double> values[3];
        for (int i = 0; i < 3 && i < fields.size(); ++i)
            values[i] = fieldNumber(fields[i]);
        if (!values[0] || !values[1] || !values[2])
            return failed(number, Text(Txt::CsvRowNumbers));
        if (std::fabs(*values[0]) > kMaxRowFrequencyKHz)
            return failed(number, Text(Txt::CsvFrequencyKHz).arg(*values[0]));
        if (qint64(read.points.size()) >= kMaxSpectrumRows)
            return failed(number, Text(Txt::CsvTooManyRows).arg(kMaxSpectrumRows));
        read.points.push_back({*values[0], *values[1], *values[2]});
    }
    if (!titlesSeen) {
        read.error = Text(Txt::CsvNoTitles).arg(QLatin1String(kSpectrumCsvTitles));
        return read;
    }
    read.ok = true;
    return read;
}

} // namespace ymt
