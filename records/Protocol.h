// The protocol: its header block, column titles and result lines (fields separated by tabs),
// and the reading of protocol files.
#pragma once

#include "evaluation/ResultsSnapshot.h"

#include <QString>
#include <QStringList>

namespace ymt {

// Protocol files larger than this are refused; a day's protocol stays far below it.
inline constexpr qint64 kProtocolLoadLimitKB = 16 * 1024;

// "Sample" padded to the length of the sample name, then the ten column titles.
QString ProtocolColumnTitles(const QString& sampleWord, const QString& sampleName,
                             const QString& frequencyText, const QString& lossTangentUnit,
                             const QString& modeCaption);

// The six lines of "Add Header": material, notes and "measured by" from the snapshot's sample
// description, the two labels in the file language, the date in the system's short and the time
// in its long format.
QStringList ProtocolHeaderBlock(const ResultsSnapshot& snapshot, const QString& notesLabel,
                                const QString& dateTimeLabel, const QString& date,
                                const QString& time, const QString& columnTitles);

// The result line of "Add Measured Data": the results as their labels show them, Rs with one
// decimal.
QString ProtocolResultLine(const ResultsSnapshot& snapshot);

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
