// Start-up handling of the quality-control file: create, convert the old 8-line layout, take
// over a left-behind "QC_backup.txt" and list the type names.
#include "records/QcFile.h"

#include "core/FileWrite.h"
#include "core/TextFile.h"
#include "records/QcTypeFile.h"

#include <QFile>
#include <QFileInfo>

namespace ymt {
namespace {

const QString kRecordEnd = QStringLiteral("****");
constexpr int kOldBlockLines = 8;

// The old layout had 8-line records without a header; each gains the four newer values (0)
// and the record end.
QStringList convertedFromOldLayout(const QStringList& oldLines, const QString& header) {
    QStringList converted{header};
    for (qsizetype start = 0; start < oldLines.size(); start += kOldBlockLines) {
        for (int i = 0; i < kOldBlockLines; ++i) {
            const qsizetype index = start + i;
            converted.append(index < oldLines.size() ? oldLines[index] : QString());
        }
        for (int i = 0; i < 4; ++i)
            converted.append(QStringLiteral("0.000"));
        converted.append(kRecordEnd);
    }
    return converted;
}

QStringList typeNamesOf(const QStringList& lines) {
    QStringList names;
    for (const QcTypeRecord& record : ParseQcLines(lines).Records)
        names.append(record.Name);
    return names;
}

// The platform's message alone ("No such file or directory") does not say which file failed.
QcStartupResult failure(const QString& path, const QString& message) {
    QcStartupResult result;
    result.ok = false;
    result.error = path + QStringLiteral(": ") + message;
    return result;
}

// A "QC.txt" the operator linked to a file kept elsewhere stays a link: the old content is
// copied to the backup directory and the link's target takes the new content where it lies.
QcStartupResult takeOverThroughLink(const QString& qcPath, const QString& backupPath,
                                    const QString& movedPath) {
    QString error;
    QByteArray current, replacement;
    if (!ReadWholeFile(qcPath, current, &error))
        return failure(qcPath, error);
    if (!ReplaceOwnFileContents(movedPath, current, &error))
        return failure(movedPath, error);
    if (!ReadWholeFile(backupPath, replacement, &error))
        return failure(backupPath, error);
    if (!ReplaceFileContents(qcPath, replacement, &error))
        return failure(qcPath, error);
    QFile::remove(backupPath);
    QcStartupResult result;
    result.typeNames = typeNamesOf(SplitLines(DecodeCp1252(replacement)));
    return result;
}

} // namespace

QcStartupResult PrepareQcFile(const QString& programDir, const QString& backupDir,
                              const QString& versionText, const QString& timestamp) {
    const QString qcPath = QcFilePath(programDir);
    const QString backupPath = programDir + QStringLiteral("QC_backup.txt");
    const QString header = QcHeaderLine(versionText);
    QString error;

    if (!QFileInfo::exists(qcPath) && !WriteTextFile(qcPath, {header}, &error))
        return failure(qcPath, error);

    QStringList lines;
    if (!ReadTextFile(qcPath, lines, &error))
        return failure(qcPath, error);
    const bool oldLayout = lines.isEmpty() || !lines.first().contains(QStringLiteral("Zelvanor"));
    if (oldLayout && !WriteOwnTextFile(backupPath, convertedFromOldLayout(lines, header), &error))
        return failure(backupPath, error);

    // Both the conversion and a rewrite interrupted before its last two steps leave the new
    // content in "QC_backup.txt"; the replaced file is kept in the backup directory.
    if (QFileInfo::exists(backupPath)) {
        const QString movedPath =
            backupDir + QStringLiteral("QC_") + timestamp + QStringLiteral(".txt");
        if (QFileInfo(qcPath).isSymLink())
            return takeOverThroughLink(qcPath, backupPath, movedPath);
        QFile current(qcPath);
        if (current.exists() && !current.rename(movedPath))
            return failure(qcPath + QStringLiteral(" -> ") + movedPath, current.errorString());
        QFile backup(backupPath);
        if (!backup.rename(qcPath))
            return failure(backupPath, backup.errorString());
        if (!ReadTextFile(qcPath, lines, &error))
            return failure(qcPath, error);
    }

    QcStartupResult result;
    result.typeNames = typeNamesOf(lines);
    return result;
}

} // namespace ymt
