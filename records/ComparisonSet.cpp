#include "records/ComparisonSet.h"

#include "core/SpectrumPointFile.h"
#include "core/TextCatalogue.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace ymt {
namespace {

constexpr double kLowestFrequency = 0.04;    // kHz
constexpr double kHighestFrequency = 110000; // kHz
constexpr int kLargestIgnoredDrag = 5;       // pixels

ComparisonFile fileError(const QString& message) {
    ComparisonFile file;
    file.status = ComparisonFile::Status::FileError;
    file.error = message;
    return file;
}

bool isColumnTitleLine(const QByteArray& line) {
    return line.contains("Ohm") && line.contains("theta");
}

} // namespace

ComparisonFile ReadComparisonFile(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (QFileInfo(path).isDir())
        return fileError(Text(Txt::ComparisonIsFolder).arg(path));
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return fileError(Text(Txt::ComparisonNotRegular).arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileError(Text(Txt::ComparisonCannotRead).arg(path, file.errorString()));

    ComparisonFile result;
    QByteArray line;
    const bool firstLineRead = ReadFileLine(file, line);
    const SpectrumFileKind kind = SpectrumFileKindOf(line);
    if (firstLineRead &&
        (kind == SpectrumFileKind::AnalyzerData || kind == SpectrumFileKind::Csv)) {
        file.close();
        SpectrumPointFile read = ReadSpectrumPointFile(path);
        if (!read.ok)
            return fileError(Text(Txt::ErrorPrefixed).arg(read.error));
        for (const SpectrumPoint& point : read.points)
            result.phasesOutside90 += std::fabs(point.phase) > 90 ? 1 : 0;
        result.points = std::move(read.points);
        return result;
    }
    if (!firstLineRead || !line.contains("mpedan")) {
        result.status = ComparisonFile::Status::UnknownFormat;
        return result;
    }
    qint64 lineNumber = 1;
    bool titlesFound = false;
    while (ReadFileLine(file, line)) {
        ++lineNumber;
        if (isColumnTitleLine(line)) {
            titlesFound = true;
            break;
        }
    }
    if (!titlesFound) {
        result.status = ComparisonFile::Status::UnknownFormat;
        result.missingColumnTitles = true;
        return result;
    }

    SpectrumRows rows = ReadSpectrumRows(file);
    if (file.error() != QFileDevice::NoError)
        return fileError(Text(Txt::ComparisonCannotRead).arg(path, file.errorString()));
    if (rows.incompleteRows > 0)
        return fileError(Text(Txt::ComparisonRowAt)
                             .arg(name, QString::number(lineNumber + rows.firstIncompleteRow),
                                  Text(Txt::RowNotThreeNumbers)));
    if (rows.tooManyRows)
        return fileError(
            Text(Txt::ComparisonTooManyRows).arg(name, QString::number(kMaxSpectrumRows)));
    result.points = std::move(rows.points);
    return result;
}

bool EntryInUse(const CurveStore& set, int entry) {
    return set.pointCount(ImpedanceCurveOf(entry)) > 0;
}

int ChooseEntry(const CurveStore& set) {
    for (int entry = 1; entry < kComparisonEntries; ++entry)
        if (!EntryInUse(set, entry))
            return entry;
    return kComparisonEntries;
}

void FillEntry(CurveStore& set, int entry, const CurveStore& reading) {
    const int impedance = ImpedanceCurveOf(entry);
    const int phase = PhaseCurveOf(entry);
    set.ClearCurve(impedance);
    set.ClearCurve(phase);
    for (const CurvePoint& point : reading.curve(1).Points)
        set.AddPoint(impedance, point.x, point.y);
    for (const CurvePoint& point : reading.curve(2).Points)
        set.AddPoint(phase, point.x, point.y);
}

void ApplyCurveGroup(CurveStore& set, bool phase,
                     const std::array<bool, kComparisonEntries>& checked) {
    for (int entry = 1; entry <= kComparisonEntries; ++entry) {
        const bool shown = checked[static_cast<size_t>(entry - 1)];
        set.setVisible(ImpedanceCurveOf(entry), !phase && shown);
        set.setVisible(PhaseCurveOf(entry), phase && shown);
    }
}

QString CurveGroupAxisTitle(bool phase, const QString& impedanceWord) {
    return phase ? QStringLiteral("Phase theta [°]") : impedanceWord + QStringLiteral(" |Z| [Ohm]");
}

std::optional<double> ComparisonRangeValue(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || std::isnan(value))
        return std::nullopt;
    return std::clamp(value, kLowestFrequency, kHighestFrequency);
}

std::optional<FrequencyBand> ComparisonZoomBand(int start, int current, int left, int right,
                                                double min, double max) {
    if (current < start)
        std::swap(start, current);
    const int width = right - left;
    if (current - start <= kLargestIgnoredDrag || width <= 0)
        return std::nullopt;
    // A drag from the first pixel inside the frame starts exactly at the axis minimum.
    const double low = start - left == 1 ? min : min + double(start - left) / width * (max - min);
    // A release on the frame's right edge or beyond it (the mouse kept one pixel further out)
    // ends exactly at the axis maximum.
    const double high =
        current - left >= width ? max : min + double(current - left) / width * (max - min);
    return FrequencyBand{low, high};
}

} // namespace ymt
