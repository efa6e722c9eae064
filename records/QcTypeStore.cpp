// The quality-control types of "QC.txt": read, add, replace and delete.
#include "records/QcTypeStore.h"

#include "core/Misc.h"
#include "core/TextCatalogue.h"
#include "core/TextFile.h"
#include "localisation/TextTables.h"

#include <QFileInfo>

namespace ymt {
namespace {

QcChangeResult failed(const QString& error) {
    QcChangeResult result;
    result.Outcome = QcChange::Failed;
    result.Error = error;
    return result;
}

QcChangeResult declined() {
    QcChangeResult result;
    result.Outcome = QcChange::Declined;
    return result;
}

} // namespace

QString QcTypeStore::path() const {
    return QcFilePath(programDir_);
}

QcStartupResult QcTypeStore::prepare() const {
    return PrepareQcFile(programDir_, backupDir_, versionText_, TimestampText());
}

QcReadResult QcTypeStore::read(const QString& name) const {
    QcReadResult result;
    QStringList lines;
    QString error;
    if (!ReadTextFile(path(), lines, &error)) {
        result.Ok = false;
        result.Error = path() + QStringLiteral(": ") + error;
        return result;
    }
    if (const auto record = FindQcType(ParseQcLines(lines), name))
        result.Values = record->Values;
    return result;
}

QcChangeResult QcTypeStore::addOrReplace(const QcTypeRecord& record,
                                         const QcConfirm& confirm) const {
    if (!IsValidQcTypeName(record.Name))
        return failed(Message(Msg::TypeNameNoneInvalid));
    // The file would hold "?" instead: two such names would share one record and the second
    // type's limits would never be found again.
    if (const QStringList lacking = CharactersNotInCp1252({record.Name}); !lacking.isEmpty())
        return failed(Text(Txt::QcNameNotInCp1252).arg(lacking.join(QLatin1Char(' '))));
    QStringList lines;
    QString error;
    if (QFileInfo::exists(path()) && !ReadTextFile(path(), lines, &error))
        return failed(path() + QStringLiteral(": ") + error);
    QcFileContent content = ParseQcLines(lines);
    if (FindQcType(content, record.Name) &&
        !confirm(record.Name + Message(Msg::AlreadyExistsReplace)))
        return declined();
    QcChangeResult result;
    result.Replaced = AddOrReplaceQcType(content, record);
    if (!RewriteQcFile(programDir_, backupDir_, TimestampText(), QcFileLines(content, headerLine()),
                       &error))
        return failed(error);
    return result;
}

QcChangeResult QcTypeStore::remove(const QString& name, const QcConfirm& confirm) const {
    if (!IsValidQcTypeName(name))
        return failed(Message(Msg::TypeNameNoneInvalid));
    QStringList lines;
    QString error;
    if (!ReadTextFile(path(), lines, &error))
        return failed(path() + QStringLiteral(": ") + error);
    QcFileContent content = ParseQcLines(lines);
    if (!FindQcType(content, name))
        return {};
    if (!confirm(Message(Msg::DeleteType) + name + QStringLiteral(" ?")))
        return declined();
    DeleteQcType(content, name);
    if (!RewriteQcFile(programDir_, backupDir_, TimestampText(), QcFileLines(content, headerLine()),
                       &error))
        return failed(error);
    QcChangeResult result;
    result.Replaced = true;
    return result;
}

} // namespace ymt
