// Pictures of every tab of the main window as PNG files (--screenshot DIR), so that the layout
// can be checked without a display.
#pragma once

#include <QSize>
#include <QStringList>

class TForm1;

namespace ymt {

// Renders each tab at each size into dir as "<TabSheet name>-<w>x<h>.png". Returns the files
// written; on a failure *error holds the reason and the list stops there.
QStringList SaveTabScreenshots(TForm1& window, const QString& dir, const QList<QSize>& sizes,
                               QString* error);

} // namespace ymt
