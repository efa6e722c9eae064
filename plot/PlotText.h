// Text placement shared by all plot drawing: text hangs from the centre of its top edge (for
// rotated text, the edge on the side of the characters' tops).
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

#include <optional>

class QPainter;
class QPaintDevice;

namespace ymt {

enum class TextDirection {
    Horizontal,
    Upwards,  // rotated by 90 degrees, read from bottom to top
    Downwards // rotated by 270 degrees, read from top to bottom
};

// Character height c of a font on a device in pixels: the pixel size when the font has one,
// otherwise its point size at the device's resolution.
int CharHeight(const QFont& font, const QPaintDevice* device);

// Draws text with the painter's font at the reference point, in textColor; with a background
// colour the text's cell is filled first (opaque text), without one it is transparent.
void DrawPlotText(QPainter& painter, QPoint reference, const QString& text, TextDirection direction,
                  const QColor& textColor, std::optional<QColor> background);

} // namespace ymt
