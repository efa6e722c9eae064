// Solid curves of width 2, drawn as the 1-pixel polyline stamped with a 2 x 2 square (the
// pixel itself and its neighbours to the left and above): the pixels of the wide pen without
// the raster engine's far slower wide-line stroker.
#pragma once

#include <QPen>

class QImage;
class QPainter;
class QPolygon;

namespace ymt {

// The 1-pixel pen that is stamped; a lone point of a 2-pixel curve gets its mark in it.
QPen TwoPixelStampPen(const QColor& color);

// Draws run in color. On an image the painter writes unscaled and unclipped, the 1-pixel
// polyline is drawn once into mask (scratch space, grown as needed and kept by the caller) and
// widened there; elsewhere it is drawn four times, shifted.
void DrawTwoPixelPolyline(QPainter& painter, const QPolygon& run, const QColor& color,
                          QImage& mask);

} // namespace ymt
