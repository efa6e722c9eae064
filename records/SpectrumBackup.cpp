#include "records/SpectrumBackup.h"

#include "core/Misc.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace ymt {

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
