// The sample types of "QC.txt" as the quality-control tab uses them: preparing the file at
// start-up, reading one type's values, and adding, replacing or deleting a type with the
// file's complete rewrite. The questions before a change go to the caller.
#pragma once

#include "records/QcFile.h"
#include "records/QcTypeFile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace ymt {

// Asks the operator the question (a warning with OK and Abort); true to go ahead.
using QcConfirm = std::function<bool(const QString& question)>;

enum class QcChange {
    Done,     // the file holds the change (or there was nothing to delete)
    Declined, // the operator said no: nothing changed
    Failed,   // nothing changed; the error is for an error box
};

struct QcChangeResult {
    QcChange Outcome = QcChange::Done;
    bool Replaced = false; // a record of that name was there before (and was replaced or went)
    QString Error;
};

struct QcReadResult {
    bool Ok = true;
    QString Error;                     // with the file's path, for an error box
    std::optional<QStringList> Values; // empty when no record has the name
};

class QcTypeStore {
public:
    // The places follow the window's own fields (the backup folder changes with the settings).
    QcTypeStore(const QString& programDir, const QString& backupDir, const QString& versionText)
        : programDir_(programDir), backupDir_(backupDir), versionText_(versionText) {}

    QString path() const;
    QString headerLine() const { return QcHeaderLine(versionText_); }

    // The history copies of the replaced file are named after the time of the rewrite.
    QcStartupResult prepare() const;
    QcReadResult read(const QString& name) const;
    // Checks the name (a valid type name that code page 1252 can write), asks before a record
    // of the same name is replaced, and rewrites the file.
    QcChangeResult addOrReplace(const QcTypeRecord& record, const QcConfirm& confirm) const;
    // Asks before the record goes; a name no record has changes nothing and is Done.
    QcChangeResult remove(const QString& name, const QcConfirm& confirm) const;

private:
    const QString& programDir_;
    const QString& backupDir_;
    const QString& versionText_;
};

} // namespace ymt
