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

// Reads a whole text file. On failure returns false and puts the platform's message in *error.
bool ReadTextFile(const QString& path, QStringList& lines, QString* error = nullptr);

// Writes every line followed by CR LF, atomically (temporary file, then rename).
bool WriteTextFile(const QString& path, const QStringList& lines, QString* error = nullptr);

// Appends lines (each followed by CR LF) to a file, creating it when missing.
bool AppendTextFile(const QString& path, const QStringList& lines, QString* error = nullptr);

} // namespace ymt
