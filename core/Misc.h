// Helpers used by nearly every part of the program: number texts, padding, the timestamp text and
// the cleaning of sample names.
#pragma once

#include <QDateTime>
#include <QString>

namespace ymt {

// Waits (without processing window events) until more than ms milliseconds have passed.
void DelayMs(int ms);

QString IntText(qint64 n);

// x rounded to exactly `decimals` decimals, "." as separator, right-aligned to `width`.
QString FixedText(double x, int width, int decimals);

// Size of a file in whole KiB; 0 when it does not exist.
qint64 FileSizeKB(const QString& path);

// Appends n - (length mod n) blanks (at most 67); n below 1 counts as 1.
QString PadToMultiple(const QString& text, int n);

// Puts zeros after a leading "-" or blank until the rest has `width` characters.
QString ZeroPad(const QString& text, int width);

// YYYYMMDD-HHMMSS of the given (default: current) local time; names backups.
QString TimestampText();
QString TimestampText(const QDateTime& when);

// A sample name is part of file names: each of " * / : < > ? \ | becomes "_".
QString CleanSampleName(const QString& name);

} // namespace ymt
