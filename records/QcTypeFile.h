// The sample types of "QC.txt": reading one type's values, and the complete rewrite of the file
// when a type is added, replaced or deleted. The file is a header line followed by 13-line
// records: the name, eleven value lines and "****".
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace ymt {

inline constexpr int kQcValueLines = 11; // record lines 2 to 12

// "QC.txt" in the program directory (which ends in "/").
QString QcFilePath(const QString& programDir);
// The file's first line; versionText is e.g. "2.4.5 ".
QString QcHeaderLine(const QString& versionText);

// The value lines of a record in file order: C reference, C tolerance, tand reference, tand
// tolerance, k(eff) reference, k(eff) tolerance, hull-curve file, f(min) reference, f(min)
// tolerance, mode-k reference, mode-k tolerance.
enum QcValueLine : int {
    QcLineCapRef = 0,
    QcLineCapTol = 1,
    QcLineTanDRef = 2,
    QcLineTanDTol = 3,
    QcLineKEffRef = 4,
    QcLineKEffTol = 5,
    QcLineHullCurve = 6,
    QcLineFMinRef = 7,
    QcLineFMinTol = 8,
    QcLineKModeRef = 9,
    QcLineKModeTol = 10,
};

// The value line each of the window's ten limit fields (reference and tolerance of C, tand,
// k(eff), mode k, f(min)) is kept in.
int QcRecordLineOfField(int field);
// A record's value lines from the limit fields' texts in field order and the hull-curve file.
QStringList QcRecordValues(const std::array<QString, 10>& fields, const QString& hullCurve);

struct QcTypeRecord {
    QString Name;
    QStringList Values; // kQcValueLines texts; a record cut short by the end of file has fewer
};

// The file's lines split into its header line and records (a reader skips from a name line to
// the line after the next "****").
struct QcFileContent {
    QString Header;
    QList<QcTypeRecord> Records;
};
QcFileContent ParseQcLines(const QStringList& lines);

// The record of the first type whose name line equals name exactly.
std::optional<QcTypeRecord> FindQcType(const QcFileContent& content, const QString& name);

// "none" in any case, an empty name, a name with a line break or the record end "****" cannot
// name a type.
bool IsValidQcTypeName(const QString& name);

// The file's lines after a change: the header line (the file's own, or the default header when
// the file is empty), then the records.
QStringList QcFileLines(const QcFileContent& content, const QString& defaultHeader);

// Replaces the record of the same name in place, or appends it; returns true when it replaced.
bool AddOrReplaceQcType(QcFileContent& content, const QcTypeRecord& record);
// Removes every record of the name; returns whether one was removed.
bool DeleteQcType(QcFileContent& content, const QString& name);

// Rewrites "QC.txt" in programDir with the new lines: they go to "QC_backup.txt" first, the old
// file is copied into backupDir (created when missing) as "QC_" + timestamp + ".txt" (with "-1",
// "-2" ... when that name is taken), and "QC_backup.txt" is renamed over "QC.txt" (a "QC.txt"
// that is a link keeps it: the link's target gets the lines). On failure returns false with
// the file and the platform's message, and no partial "QC_backup.txt" is left behind.
bool RewriteQcFile(const QString& programDir, const QString& backupDir, const QString& timestamp,
                   const QStringList& lines, QString* error);

} // namespace ymt
