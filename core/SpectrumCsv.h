// The exchange format for Python and spreadsheets: UTF-8 text, "# key: value" lines, the column
// titles frequency_kHz,abs_Z_ohm,theta_deg and one row per point, every number in its shortest
// text that reads back to the same double. Reading here; the writer of a whole spectrum (with
// the results) is in records/.
#pragma once

#include "core/SpectrumRows.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QPair>
#include <QString>

#include <vector>

namespace ymt {

inline constexpr char kSpectrumCsvTitles[] = "frequency_kHz,abs_Z_ohm,theta_deg";

// True for the first line of such a file: a "#" line or the column titles.
bool IsSpectrumCsvFirstLine(QByteArrayView line);

// The shortest text that reads back to the same double (at most 17 significant digits), with
// "." as decimal point. Only finite values are written into a file.
QByteArray ShortestNumberText(double value);

// One data row: the three numbers separated by ",", then a line end.
QByteArray SpectrumCsvRow(const SpectrumPoint& point);

struct SpectrumCsvRead {
    bool ok = false;
    QString error;                       // names the line at fault
    QList<QPair<QString, QString>> keys; // the "# key: value" lines, in file order
    std::vector<SpectrumPoint> points;   // in file order
};

// The whole file: blank lines and "#" lines anywhere, the column titles once before the rows,
// rows of three finite numbers (further columns are allowed and ignored). A row that is not
// refuses the whole file.
SpectrumCsvRead ParseSpectrumCsv(QByteArrayView bytes);

} // namespace ymt
