// Drawing a plot on a device of another resolution (a printer page) through a painter scaled to
// screen units, so that labels and lines keep their size in millimetres. A point size must then
// be resolved at the resolution of those units, not at the device's, or it would be scaled twice.
#pragma once

#include <QFont>
#include <QRect>

class QPainter;

namespace ymt {

class TFastGraph;

// The resolution (dots per inch) of one drawing unit of the painter: the device's logical
// resolution divided by the painter's scale.
double DrawingUnitsDpi(const QPainter& painter);

// The font as drawn through the painter: a point-sized font becomes a pixel-sized one at the
// resolution of the drawing units when the painter is scaled; otherwise it is returned as is.
QFont FontInDrawingUnits(const QFont& font, const QPainter& painter);

// Draws the plot into a device rectangle through the painter scaled by scaleX, scaleY (device
// pixels per screen pixel). The plot rectangle and the axis working values of the screen
// drawing are left as they were, so that mouse positions on the screen still map correctly.
void DrawPlotInScreenUnits(QPainter& painter, TFastGraph& graph, const QRect& deviceRect,
                           double scaleX, double scaleY);

} // namespace ymt
