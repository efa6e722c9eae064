// Which result line the protocol's "Add Measured Data" writes: the column titles again after a
// header change, and in "On C measurement" mode the line of the same capacitance updated in
// place instead of a second one.
#pragma once

#include <QString>
#include <QStringList>

namespace ymt {

class ProtocolBook {
public:
    // The column titles no longer fit the lines above (a new header is due before the next
    // result line).
    bool HeaderChanged = true;
    // nF of the last protocolled result; 0 after anything that makes the next line a new one.
    double LastProtocolledCap = 1e-11;

    // The protocol's lines with the result line added: after the titles block when the header
    // changed; in place of the last line when onCMeasurement, the capacitance is the one this
    // book wrote last and that line still stands as written. Remembers the line.
    QStringList addResultLine(const QStringList& lines, const QString& columnTitles,
                              const QString& line, double capNF, bool onCMeasurement);
    // A header block was added: the titles are current.
    void headerAdded() { HeaderChanged = false; }
    // The next result line starts a new line (the protocol was opened, cleared or replaced).
    void forgetLine();

private:
    QString lastLine_;
    double capOfLastLine_ = 0;
    bool lineReplaceable_ = false;
};

} // namespace ymt
