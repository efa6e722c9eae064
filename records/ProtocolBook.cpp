// The result lines of the protocol and when one replaces the last.
#include "records/ProtocolBook.h"

namespace ymt {

QStringList ProtocolBook::addResultLine(const QStringList& lines, const QString& columnTitles,
                                        const QString& line, double capNF, bool onCMeasurement) {
    QStringList result = lines;
    if (HeaderChanged)
        result << QStringLiteral(" ") << columnTitles << QStringLiteral(" ");
    // A line the operator changed, or one from before a reset of the remembered capacitance,
    // stays.
    const bool sameMeasurement = onCMeasurement && capNF == LastProtocolledCap && !HeaderChanged &&
                                 lineReplaceable_ && LastProtocolledCap == capOfLastLine_ &&
                                 !result.isEmpty() && result.last() == lastLine_;
    if (sameMeasurement)
        result.last() = line;
    else
        result.append(line);
    HeaderChanged = false;
    LastProtocolledCap = capNF;
    capOfLastLine_ = capNF;
    lastLine_ = line;
    lineReplaceable_ = true;
    return result;
}

void ProtocolBook::forgetLine() {
    lineReplaceable_ = false;
    lastLine_.clear();
}

} // namespace ymt
