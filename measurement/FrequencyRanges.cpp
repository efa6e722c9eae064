#include "measurement/FrequencyRanges.h"

#include "core/Misc.h"
#include "instrument/HP4x94A.h"
#include "measurement/Conversions.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ymt {

double GridFrequency(double start, double stop, int index, int points) {
    if (points <= 1)
        return start;
    return start + (stop - start) * index / (points - 1);
}

void AppendSweep(CurveStore& store, double start, double stop, const double* traceA,
                 const double* traceB, int points, int sweepPoints) {
    const int grid = sweepPoints > 0 ? sweepPoints : points;
    for (int i = 0; i < points; ++i) {
        const double f = GridFrequency(start, stop, i, grid);
        store.AddPoint(3, f, traceA[i]);
        store.AddPoint(4, f, traceB[i]);
    }
}

double ClampToAnalyzer(double kHz, double analyzerMin, double analyzerMax) {
    if (kHz < analyzerMin)
        return analyzerMin;
    if (kHz > analyzerMax)
        return analyzerMax;
    return kHz;
}

std::optional<double> TypedRangeLimit(double typed, double current, double other,
                                      double analyzerMin, double analyzerMax) {
    // Start and stop never coincide.
    if (typed == other)
        typed += 1e-10;
    if (typed == current)
        return std::nullopt;
    return ClampToAnalyzer(typed, analyzerMin, analyzerMax);
}

bool ShouldBackUp(BackupOption option, SpectrumChange change, int spectrumPoints) {
    if (spectrumPoints < 1)
        return false;
    if (change == SpectrumChange::MorePoints)
        return option == BackupOption::EveryChange;
    return option != BackupOption::NoBackup;
}

QList<SweepRange> CheckedSweepRanges(const bool checked[3], const QString starts[3],
                                     const QString stops[3]) {
    QList<SweepRange> ranges;
    for (int range = 0; range < 3; ++range) {
        if (checked[range])
            ranges.append({range + 1, ParseNumber(starts[range]), ParseNumber(stops[range])});
    }
    return ranges;
}

std::optional<SweepRange> ClampedSweepRange(const SweepRange& range, double analyzerMin,
                                            double analyzerMax) {
    SweepRange clamped = range;
    clamped.start = ClampToAnalyzer(std::min(range.start, range.stop), analyzerMin, analyzerMax);
    clamped.stop = ClampToAnalyzer(std::max(range.start, range.stop), analyzerMin, analyzerMax);
    if (!(clamped.start < clamped.stop))
        return std::nullopt;
    return clamped;
}

PointsReading ReadPointsPerRange(const QString& text) {
    PointsReading reading;
    const IntConversion typed = StrictInt(text);
    if (!typed.value) {
        reading.error = typed.error;
        return reading;
    }
    reading.value = std::clamp(*typed.value, 1, HP4x94A::kTracePoints);
    return reading;
}

namespace {

// The sample name as it goes into a backup name: a file name holds at most 255 bytes, and
// the timestamp, the "_dia.txt", a "-N" and the temporary name's suffix need room beside it.
// A longer name keeps its beginning, cut at a character, and a hash of the whole name, so that
// two long names that begin alike still give two names.
QString backupNamePart(const QString& sampleName) {
    constexpr qsizetype kMaxBytes = 120;
    const QString cleaned = CleanSampleName(sampleName);
    if (QFile::encodeName(cleaned).size() <= kMaxBytes)
        return cleaned;
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(cleaned.toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
    QString kept;
    for (qsizetype i = 0; i < cleaned.size();) {
        const qsizetype length = cleaned[i].isHighSurrogate() && i + 1 < cleaned.size() ? 2 : 1;
        const QString next = kept + cleaned.mid(i, length);
        if (QFile::encodeName(next).size() > kMaxBytes - 1 - hash.size())
            break;
        kept = next;
        i += length;
    }
    return kept + QLatin1Char('~') + hash;
}

} // namespace

QString BackupBaseName(const QString& backupDir, const QString& timestamp,
                       const QString& sampleName) {
    return backupDir + timestamp + QLatin1Char('-') + backupNamePart(sampleName);
}

QString SpectrumBackupName(const QString& backupDir, const QString& timestamp,
                           const QString& sampleName) {
    return BackupBaseName(backupDir, timestamp, sampleName) + QStringLiteral("_dia.txt");
}

QString FreeBackupName(const QString& fileName) {
    // A link (even one to nothing) takes its name: a backup never goes through it.
    const auto taken = [](const QString& name) {
        return QFileInfo::exists(name) || QFileInfo(name).isSymLink();
    };
    if (!taken(fileName))
        return fileName;
    const qsizetype suffixAt = fileName.lastIndexOf(QLatin1Char('_'));
    const qsizetype folderEnd = fileName.lastIndexOf(QLatin1Char('/'));
    const qsizetype split = suffixAt > folderEnd ? suffixAt : fileName.size();
    for (int n = 1;; ++n) {
        const QString candidate =
            fileName.left(split) + QStringLiteral("-%1").arg(n) + fileName.mid(split);
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace ymt
