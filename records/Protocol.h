// The protocol: its header block, column titles and result lines (fields separated by tabs),
// and the reading of protocol files.
#pragma once

#include <QString>
#include <QStringList>

namespace ymt {

// Protocol files larger than this are refused; a day's protocol stays far below it.
inline constexpr qint64 kProtocolLoadLimitKB = 16 * 1024;

// "Sample" padded to the length of the sample name, then the ten column titles.
QString ProtocolColumnTitles(const QString& sampleWord, const QString& sampleName,
                             const QString& frequencyText, const QString& lossTangentUnit,
                             const QString& modeCaption);

struct ProtocolHeaderTexts {
    QString Material;
    QString NotesLabel; // "Notes" in the file language
    QString Notes;
    QString DateTimeLabel; // "Date / Time" in the file language
    QString Date;          // the system's short date format
    QString Time;          // the system's long time format
    QString MeasuredBy;
    QString ColumnTitles;
};
// The six lines of "Add Header".
QStringList ProtocolHeaderBlock(const ProtocolHeaderTexts& texts);

// The texts of the result labels as they stand ("---" when not determined).
struct ProtocolResultTexts {
    QString SampleName;
    QString FMin;
    QString FMax;
    QString Rs;
    QString Cap;
    QString TanD;
    QString Eps;
    QString KEff;
    QString KMode;
    QString Q3dB;
    QString B3dB;
};
QString ProtocolResultLine(const ProtocolResultTexts& texts);

enum class ProtocolLoadStatus { Loaded, TooLarge, Failed };
struct ProtocolLoad {
    ProtocolLoadStatus Status = ProtocolLoadStatus::Failed;
    QStringList Lines;
    QString Error; // the platform's message when Failed
};
// Reads a protocol file (code page 1252, any line ends). A folder, an unreadable file or one
// above the size limit loads nothing. NUL bytes, which a text box cannot hold, become blanks.
ProtocolLoad LoadProtocolFile(const QString& path);

} // namespace ymt
