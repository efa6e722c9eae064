// The quality-control file "QC.txt" at start-up: created when missing, converted from the old
// layout, a left-behind "QC_backup.txt" taken over, and the type names read.
#pragma once

#include <QString>
#include <QStringList>

namespace ymt {

struct QcStartupResult {
    bool ok = true;
    QString error;         // the platform's file error message when !ok
    QStringList typeNames; // without the leading "none"
};

// programDir and backupDir end in "/". versionText is e.g. "2.4.5 ".
QcStartupResult PrepareQcFile(const QString& programDir, const QString& backupDir,
                              const QString& versionText, const QString& timestamp);

} // namespace ymt
