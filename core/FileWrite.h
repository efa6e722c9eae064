// Writing whole files safely. A full disk makes the system write only part of a buffer
// without any error; buffered devices then report success for a cut-short file. These
// functions write straight to the file and count every byte.
#pragma once

#include <QByteArray>
#include <QString>

namespace ymt {

// Replaces the file with the bytes through a temporary file in its folder and a rename, so
// that the old contents stay whole when anything fails. False, with the reason (without the
// path), when the file could not be written completely.
bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* reason);

// The same, with the error naming the file ("path: reason"), as the messages show it.
bool WriteFileReplacing(const QString& path, const QByteArray& bytes, QString* error);

// For the files the program names itself (backups, the protocol's crash copy, QC_backup.txt):
// a link found at the path is replaced by the new file, never written through, so that a link
// planted in the program's folders cannot make it overwrite another file. (The two above
// follow a link the operator made and replace its target, writing beside the target.)
bool ReplaceOwnFileContents(const QString& path, const QByteArray& bytes, QString* reason);

// Appends the bytes whole or not at all: false, with the reason, when not all of them reached
// the file, which then holds what it held before (a file the append created is removed).
bool AppendFileContents(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace ymt
