// The points of any spectrum file the program opens, without its header: the program's own
// spectrum text file, the analyzer's data file or the CSV exchange file, told apart by the
// first line. The simulated analyzer plays recorded samples back from it.
#pragma once

#include "core/SpectrumRows.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

namespace ymt {

enum class SpectrumFileKind {
    Own,          // first line holds "mpedan" (the program's spectrum text file)
    AnalyzerData, // "4294A REV..."
    Csv,          // a "#" line or the CSV column titles
    Unknown
};

SpectrumFileKind SpectrumFileKindOf(QByteArrayView firstLine);

struct SpectrumPointFile {
    bool ok = false;
    QString error; // for the operator, with the path
    SpectrumFileKind kind = SpectrumFileKind::Unknown;
    std::vector<SpectrumPoint> points; // sorted by frequency (kHz)
};

// Reads the whole file (at most kMaxWholeFileBytes); a damaged row refuses it.
SpectrumPointFile ReadSpectrumPointFile(const QString& path);
SpectrumPointFile ParseSpectrumPointFile(QByteArrayView bytes);

} // namespace ymt
