#include "core/SpectrumPointFile.h"

#include "core/AnalyzerDataFile.h"
#include "core/SpectrumCsv.h"
#include "core/TextCatalogue.h"
#include "core/TextFile.h"

#include <QBuffer>

#include <algorithm>

namespace ymt {
namespace {

QByteArrayView firstLineOf(QByteArrayView bytes) {
    const qsizetype end = bytes.indexOf('\n');
    QByteArrayView line = end < 0 ? bytes : bytes.first(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// The program's own file: the rows follow the column titles (the first line with "Ohm" and
// "theta"), as the comparison set reads them.
SpectrumPointFile parseOwnFile(QByteArrayView bytes) {
    SpectrumPointFile read;
    QByteArray copy = bytes.toByteArray();
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QByteArray line;
    qint64 number = 0;
    bool titles = false;
    while (ReadFileLine(buffer, line)) {
        ++number;
        if (number > 1 && line.contains("Ohm") && line.contains("theta")) {
            titles = true;
            break;
        }
    }
    if (!titles) {
        read.error = Text(Txt::SpectrumNoTitles);
        return read;
    }
    SpectrumRows rows = ReadSpectrumRows(buffer);
    if (rows.incompleteRows > 0) {
        read.error = Text(Txt::ReadLine)
                         .arg(number + rows.firstIncompleteRow)
                         .arg(Text(Txt::RowNotThreeNumbers));
        return read;
    }
    if (rows.tooManyRows) {
        read.error = Text(Txt::SpectrumTooManyRows).arg(kMaxSpectrumRows);
        return read;
    }
    read.points = std::move(rows.points);
    read.ok = true;
    return read;
}

} // namespace

SpectrumFileKind SpectrumFileKindOf(QByteArrayView firstLine) {
    if (IsAnalyzerDataFirstLine(firstLine))
        return SpectrumFileKind::AnalyzerData;
    if (IsSpectrumCsvFirstLine(firstLine))
        return SpectrumFileKind::Csv;
    if (firstLine.contains(QByteArrayView("mpedan")))
        return SpectrumFileKind::Own;
    return SpectrumFileKind::Unknown;
}

SpectrumPointFile ParseSpectrumPointFile(QByteArrayView bytes) {
    SpectrumPointFile read;
    read.kind = SpectrumFileKindOf(firstLineOf(bytes));
    switch (read.kind) {
    case SpectrumFileKind::Own: {
        read = parseOwnFile(bytes);
        read.kind = SpectrumFileKind::Own;
        break;
    }
    case SpectrumFileKind::AnalyzerData: {
        AnalyzerDataRead data = ParseAnalyzerDataFile(bytes);
        read.ok = data.ok;
        read.error = data.error;
        read.points = std::move(data.file.points);
        break;
    }
    case SpectrumFileKind::Csv: {
        SpectrumCsvRead csv = ParseSpectrumCsv(bytes);
        read.ok = csv.ok;
        read.error = csv.error;
        read.points = std::move(csv.points);
        break;
    }
    case SpectrumFileKind::Unknown:
        read.error = Text(Txt::SpectrumUnknownKind);
        break;
    }
    if (!read.ok)
        read.points.clear();
    std::stable_sort(read.points.begin(), read.points.end(),
                     [](const auto& a, const auto& b) { return a.frequency < b.frequency; });
    return read;
}

SpectrumPointFile ReadSpectrumPointFile(const QString& path) {
    QByteArray bytes;
    QString reason;
    if (!ReadWholeFile(path, bytes, &reason)) {
        SpectrumPointFile read;
        read.error = path + QStringLiteral(": ") + reason;
        return read;
    }
    SpectrumPointFile read = ParseSpectrumPointFile(bytes);
    if (!read.ok)
        read.error = path + QStringLiteral(": ") + read.error;
    return read;
}

} // namespace ymt
