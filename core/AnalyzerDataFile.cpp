// Reads the analyzer's data file line by line into settings and two traces, then pairs the
// traces point by point. Every check runs before a point is handed out, so that a damaged file
// never gives half a spectrum.
#include "core/AnalyzerDataFile.h"

#include "core/ByteLines.h"
#include "core/TextCatalogue.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace ymt {
namespace {

struct Trace {
    int titleLine = 0; // line of "TRACE: X"
    int columns = 0;   // of the column-title row; 0 until it was read
    std::vector<double> hz;
    std::vector<double> values; // the first data column ("Data Trace Real")
    std::vector<int> lines;
};

QString collapsed(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString(text).replace(blanks, QStringLiteral(" ")).trimmed();
}

// "\"KEY: value\"" without its quotes; empty when the line is not quoted.
std::optional<QString> unquoted(QByteArrayView line) {
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.size() < 2 || trimmed.front() != '"' || trimmed.back() != '"')
        return std::nullopt;
    return QString::fromLatin1(trimmed.sliced(1, trimmed.size() - 2));
}

bool isBlankLine(QByteArrayView line) {
    return line.trimmed().isEmpty();
}

// The fields of a data row: numbers separated by tabs or blanks; empty when one is not a
// finite number.
std::optional<std::vector<double>> rowNumbers(QByteArrayView line) {
    std::vector<double> numbers;
    const char* at = line.data();
    const char* end = at + line.size();
    while (true) {
        while (at < end && (*at == ' ' || *at == '\t' || *at == '\r'))
            ++at;
        if (at == end)
            break;
        if (*at == '+')
            ++at;
        double value = 0;
        const auto [stop, error] = std::from_chars(at, end, value);
        if (error != std::errc() || stop == at || !std::isfinite(value))
            return std::nullopt;
        if (stop < end && *stop != ' ' && *stop != '\t' && *stop != '\r')
            return std::nullopt;
        numbers.push_back(value);
        at = stop;
    }
    return numbers;
}

QString lineError(int line, const QString& text) {
    return Text(Txt::ReadLine).arg(line).arg(text);
}

AnalyzerDataRead failed(const QString& error) {
    AnalyzerDataRead read;
    read.error = error;
    return read;
}

} // namespace

bool IsAnalyzerDataFirstLine(QByteArrayView line) {
    return line.trimmed().startsWith("4294A");
}

AnalyzerDataRead ParseAnalyzerDataFile(QByteArrayView bytes) {
    AnalyzerDataRead read;
    AnalyzerDataFile& file = read.file;
    Trace traces[2]; // A, B
    Trace* current = nullptr;
    bool inRows = false;
    int measureLine = 0;
    QString measure;
    int pointsLine = 0;
    QString pointsText;

    int number = 0;
    qsizetype start = 0;
    QByteArrayView line;
    while (NextByteLine(bytes, start, line)) {
        ++number;
        if (number == 1) {
            if (!IsAnalyzerDataFirstLine(line))
                return failed(Text(Txt::DataNotAnalyzerFile));
            file.firstLine = collapsed(QString::fromLatin1(line));
            continue;
        }
        if (isBlankLine(line)) {
            inRows = false;
            continue;
        }
        const std::optional<QString> quoted = unquoted(line);
        if (quoted && quoted->contains(QLatin1Char('\t')) && current) {
            // The column titles: "Frequency", "Data Trace Real", "Data Trace Imag" and perhaps
            // the two memory-trace columns.
            const QStringList titles = QString::fromLatin1(line.trimmed()).split(QLatin1Char('\t'));
            if (titles.size() < 2 ||
                !titles[0].contains(QStringLiteral("Frequency"), Qt::CaseInsensitive))
                return failed(lineError(number, Text(Txt::DataTitlesNotFrequency)));
            if (current->columns > 0)
                return failed(lineError(number, Text(Txt::DataSecondTitles)));
            current->columns = int(titles.size());
            inRows = true;
            continue;
        }
        if (quoted) {
            inRows = false;
            const qsizetype colon = quoted->indexOf(QLatin1Char(':'));
            const QString key = collapsed(colon < 0 ? *quoted : quoted->left(colon));
            const QString value = colon < 0 ? QString() : collapsed(quoted->mid(colon + 1));
            if (key.compare(QStringLiteral("TRACE"), Qt::CaseInsensitive) == 0) {
                const QString letter = value.toUpper();
                if (letter != QStringLiteral("A") && letter != QStringLiteral("B"))
                    return failed(lineError(number, Text(Txt::DataTraceNeitherAB).arg(value)));
                current = &traces[letter == QStringLiteral("A") ? 0 : 1];
                if (current->titleLine > 0)
                    return failed(lineError(number, Text(Txt::DataSecondTrace).arg(letter)));
                current->titleLine = number;
                continue;
            }
            if (current)
                continue; // "FORMAT: LOG" and the like describe the display, not the values
            const QString upperKey = key.toUpper();
            if (upperKey == QStringLiteral("DATE"))
                file.date = value;
            if (upperKey == QStringLiteral("MEASURE PARAMETER")) {
                measure = value;
                measureLine = number;
            }
            if (upperKey == QStringLiteral("NUMBER OF POINTS")) {
                pointsText = value;
                pointsLine = number;
            }
            file.settings.append({key, value});
            continue;
        }
        if (!inRows || !current)
            return failed(lineError(number, Text(Txt::DataNoRowHere)
                                                .arg(QString::fromLatin1(line.first(
                                                    std::min<qsizetype>(line.size(), 60))))));
        const std::optional<std::vector<double>> numbers = rowNumbers(line);
        if (!numbers || int(numbers->size()) != current->columns)
            return failed(lineError(number, Text(Txt::DataRowNumbers).arg(current->columns)));
        const double hz = (*numbers)[0];
        if (hz <= 0 || hz > kMaxRowFrequencyKHz * 1000)
            return failed(lineError(number, Text(Txt::DataFrequencyHz).arg(hz)));
        if (qint64(current->hz.size()) >= kMaxSpectrumRows)
            return failed(lineError(number, Text(Txt::DataTooManyPoints).arg(kMaxSpectrumRows)));
        current->hz.push_back(hz);
        current->values.push_back((*numbers)[1]);
        current->lines.push_back(number);
    }
    if (number == 0)
        return failed(Text(Txt::FileEmpty));

    const QString upperMeasure = measure.toUpper();
    if (measureLine == 0)
        return failed(Text(Txt::DataNoMeasureParameter));
    if (upperMeasure == QStringLiteral("ADMITTANCE MAG PHASE (DEG)"))
        file.admittance = true;
    else if (upperMeasure != QStringLiteral("IMPEDANCE MAG PHASE (DEG)"))
        return failed(lineError(measureLine, Text(Txt::DataWrongMeasure).arg(measure)));
    for (int t = 0; t < 2; ++t) {
        const QChar letter = t == 0 ? QLatin1Char('A') : QLatin1Char('B');
        if (traces[t].titleLine == 0)
            return failed(Text(Txt::DataNoTrace).arg(letter));
        if (traces[t].hz.empty())
            return failed(lineError(traces[t].titleLine, Text(Txt::DataTraceEmpty).arg(letter)));
    }
    const Trace& a = traces[0];
    const Trace& b = traces[1];
    if (a.hz.size() != b.hz.size())
        return failed(
            lineError(b.titleLine, Text(Txt::DataTraceLengths).arg(a.hz.size()).arg(b.hz.size())));
    if (pointsLine > 0) {
        bool ok = false;
        const qlonglong stated = pointsText.toLongLong(&ok);
        if (!ok || stated != qlonglong(a.hz.size()))
            return failed(lineError(
                pointsLine,
                Text(Txt::DataPointsStated).arg(pointsText, QString::number(a.hz.size()))));
    }
    std::vector<SpectrumPoint> points;
    points.reserve(a.hz.size());
    for (std::size_t i = 0; i < a.hz.size(); ++i) {
        if (a.hz[i] != b.hz[i])
            return failed(lineError(b.lines[i], Text(Txt::DataFrequenciesDiffer)
                                                    .arg(b.hz[i], 0, 'g', 12)
                                                    .arg(a.hz[i], 0, 'g', 12)));
        const double magnitude = a.values[i];
        if (magnitude < 0 || (file.admittance && magnitude == 0))
            return failed(lineError(a.lines[i], Text(Txt::DataMagnitude).arg(magnitude)));
        SpectrumPoint point;
        point.frequency = a.hz[i] / 1000;
        point.magnitude = file.admittance ? 1 / magnitude : magnitude;
        point.phase = file.admittance ? -b.values[i] : b.values[i];
        if (!std::isfinite(point.magnitude))
            return failed(lineError(a.lines[i], Text(Txt::DataMagnitude).arg(magnitude)));
        if (std::fabs(point.phase) > 90)
            ++file.phasesOutside90;
        points.push_back(point);
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& p, const auto& q) { return p.frequency < q.frequency; });
    file.points = std::move(points);
    read.ok = true;
    return read;
}

QString AnalyzerDataNotes(const AnalyzerDataFile& file) {
    QStringList parts;
    for (const auto& [key, value] : file.settings)
        parts << key + QStringLiteral(": ") + value;
    return file.firstLine + QStringLiteral(", ") + parts.join(QStringLiteral("; "));
}

} // namespace ymt
