// Text files as the program keeps them: code page 1252 with CR LF line ends. Files that are
// replaced are written to a temporary file beside the target and renamed into place.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ymt {

QByteArray EncodeCp1252(const QString& text);
QString DecodeCp1252(const QByteArray& bytes);

// The characters EncodeCp1252 writes as "?" since the code page has none for them, each once,
// so that the operator can be told before such a file is taken for what was typed.
QStringList CharactersNotInCp1252(const QStringList& lines);

// Splits at CR LF, lone CR or lone LF; a final line end does not add an empty line.
QStringList SplitLines(const QString& text);

// No file the program reads whole comes near this size (a protocol may hold 16 MB); reading
// takes several times the file's size in memory, so a larger file is refused unread.
inline constexpr qint64 kMaxWholeFileBytes = 32 * 1024 * 1024;

// Reads a whole regular file of at most kMaxWholeFileBytes. On failure returns false and puts
// the reason (the platform's message, or which rule the file breaks) in *error, without the
// path. A FIFO or a device is refused before it is opened, as reading it might never end.
bool ReadWholeFile(const QString& path, QByteArray& bytes, QString* error = nullptr);

// Reads a whole text file (through ReadWholeFile).
bool ReadTextFile(const QString& path, QStringList& lines, QString* error = nullptr);

// Writes every line followed by CR LF, atomically (temporary file, then rename).
bool WriteTextFile(const QString& path, const QStringList& lines, QString* error = nullptr);

// The same for a file the program names itself: a link at the path is replaced, never
// followed (ReplaceOwnFileContents).
bool WriteOwnTextFile(const QString& path, const QStringList& lines, QString* error = nullptr);

// Appends lines (each followed by CR LF) to a file, creating it when missing.
bool AppendTextFile(const QString& path, const QStringList& lines, QString* error = nullptr);

} // namespace ymt
