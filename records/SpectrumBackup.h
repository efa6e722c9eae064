// Names of the backup copies in the backup directory: the spectrum before it changes, and the
// common part that the protocol backup shares.
#pragma once

#include <QString>

namespace ymt {

// The common part of backup names: backup directory + timestamp + "-" + sample name, with the
// characters a file name cannot hold replaced as in a typed sample name. A name over 120 bytes
// is cut to its beginning + "~" + 8 hex digits of a hash of the whole name.
QString BackupBaseName(const QString& backupDir, const QString& timestamp,
                       const QString& sampleName);

// The backup copy: BackupBaseName + "_dia.txt".
QString SpectrumBackupName(const QString& backupDir, const QString& timestamp,
                           const QString& sampleName);

// A backup name not yet taken: the name itself, else "-1", "-2" ... before its "_dia.txt"
// (or other "_xxx" suffix), so that two backups in one second both survive.
QString FreeBackupName(const QString& fileName);

} // namespace ymt
