// Reading and rewriting the quality-control types of "QC.txt".
#include "records/QcTypeFile.h"

#include "core/FileWrite.h"
#include "core/TextCatalogue.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ymt {
namespace {

const QString kRecordEnd = QStringLiteral("****");

} // namespace

int QcRecordLineOfField(int field) {
    static constexpr int lines[] = {QcLineCapRef,  QcLineCapTol,  QcLineTanDRef,  QcLineTanDTol,
                                    QcLineKEffRef, QcLineKEffTol, QcLineKModeRef, QcLineKModeTol,
                                    QcLineFMinRef, QcLineFMinTol};
    return lines[field];
}

QStringList QcRecordValues(const std::array<QString, 10>& fields, const QString& hullCurve) {
    QStringList values;
    for (int line = 0; line < kQcValueLines; ++line)
        values.append(QString());
    for (int field = 0; field < 10; ++field)
        values[QcRecordLineOfField(field)] = fields[std::size_t(field)];
    values[QcLineHullCurve] = hullCurve;
    return values;
}

QString QcFilePath(const QString& programDir) {
    return programDir + QStringLiteral("QC.txt");
}

QString QcHeaderLine(const QString& versionText) {
    return QStringLiteral("Zelvanor Ymt ") + versionText + QStringLiteral("Quality Control File");
}

QcFileContent ParseQcLines(const QStringList& lines) {
    QcFileContent content;
    if (lines.isEmpty())
        return content;
    content.Header = lines.first();
    qsizetype i = 1;
    while (i < lines.size()) {
        QcTypeRecord record;
        record.Name = lines[i++];
        while (i < lines.size() && lines[i] != kRecordEnd) {
            if (record.Values.size() < kQcValueLines)
                record.Values.append(lines[i]);
            ++i;
        }
        ++i; // past "****"
        content.Records.append(record);
    }
    return content;
}

std::optional<QcTypeRecord> FindQcType(const QcFileContent& content, const QString& name) {
    for (const QcTypeRecord& record : content.Records) {
        if (record.Name == name)
            return record;
    }
    return std::nullopt;
}

bool IsValidQcTypeName(const QString& name) {
    return !name.isEmpty() && name.compare(QStringLiteral("none"), Qt::CaseInsensitive) != 0 &&
           name != kRecordEnd && !name.contains(QLatin1Char('\n')) &&
           !name.contains(QLatin1Char('\r'));
}

QStringList QcFileLines(const QcFileContent& content, const QString& defaultHeader) {
    QStringList lines{content.Header.isEmpty() ? defaultHeader : content.Header};
    for (const QcTypeRecord& record : content.Records) {
        lines.append(record.Name);
        for (int i = 0; i < kQcValueLines; ++i)
            lines.append(i < record.Values.size() ? record.Values[i] : QString());
        lines.append(kRecordEnd);
    }
    return lines;
}

bool AddOrReplaceQcType(QcFileContent& content, const QcTypeRecord& record) {
    bool replaced = false;
    for (qsizetype i = 0; i < content.Records.size(); ++i) {
        if (content.Records[i].Name != record.Name)
            continue;
        if (!replaced) {
            content.Records[i] = record;
            replaced = true;
        } else {
            content.Records.removeAt(i--); // a duplicate left by hand editing
        }
    }
    if (!replaced)
        content.Records.append(record);
    return replaced;
}

bool DeleteQcType(QcFileContent& content, const QString& name) {
    const qsizetype before = content.Records.size();
    content.Records.removeIf([&name](const QcTypeRecord& r) { return r.Name == name; });
    return content.Records.size() != before;
}

bool RewriteQcFile(const QString& programDir, const QString& backupDir, const QString& timestamp,
                   const QStringList& lines, QString* error) {
    const QString qcPath = QcFilePath(programDir);
    const QString newPath = programDir + QStringLiteral("QC_backup.txt");
    QString reason;
    auto fail = [&](const QString& message) {
        QFile::remove(newPath);
        if (error)
            *error = message;
        return false;
    };
    auto failOn = [&](const QString& path) { return fail(path + QStringLiteral(": ") + reason); };
    if (!WriteOwnTextFile(newPath, lines, &reason))
        return failOn(newPath);
    if (QFileInfo::exists(qcPath)) {
        if (!QDir().mkpath(backupDir))
            return fail(Text(Txt::QcBackupFolder).arg(backupDir));
        // Two rewrites within one second get distinct history names; a link is no free name.
        const QString base = backupDir + QStringLiteral("QC_") + timestamp;
        QString historyPath = base + QStringLiteral(".txt");
        for (int n = 1; QFileInfo::exists(historyPath) || QFileInfo(historyPath).isSymLink(); ++n)
            historyPath = base + QStringLiteral("-%1.txt").arg(n);
        QByteArray current;
        if (!ReadWholeFile(qcPath, current, &reason))
            return failOn(qcPath);
        if (!ReplaceOwnFileContents(historyPath, current, &reason))
            return failOn(historyPath);
    }
    // A QC.txt the operator linked to a file kept elsewhere stays a link: its target is
    // replaced where it lies (a temporary file beside the target, renamed onto it).
    if (QFileInfo(qcPath).isSymLink()) {
        if (!WriteTextFile(qcPath, lines, &reason))
            return failOn(qcPath);
        QFile::remove(newPath);
        return true;
    }
    // rename() replaces the old file in one step: "QC.txt" is never missing or half written.
    const QByteArray from = QFile::encodeName(newPath);
    const QByteArray to = QFile::encodeName(qcPath);
    if (std::rename(from.constData(), to.constData()) != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return failOn(qcPath);
    }
    return true;
}

} // namespace ymt
