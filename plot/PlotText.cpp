#include "plot/PlotText.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace ymt {

int CharHeight(const QFont& font, const QPaintDevice* device) {
    if (font.pixelSize() > 0)
        return font.pixelSize();
    const int dpi = device ? device->logicalDpiY() : 96;
    return static_cast<int>(std::lround(font.pointSizeF() * dpi / 72.0));
}

void DrawPlotText(QPainter& painter, QPoint reference, const QString& text, TextDirection direction,
                  const QColor& textColor, std::optional<QColor> background) {
    if (text.isEmpty())
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(text);
    const QRect cell(-width / 2, 0, width, metrics.height());
    painter.save();
    painter.translate(reference);
    if (direction == TextDirection::Upwards)
        painter.rotate(-90);
    else if (direction == TextDirection::Downwards)
        painter.rotate(90);
    if (background)
        painter.fillRect(cell, *background);
    painter.setPen(textColor);
    painter.drawText(QPoint(cell.left(), metrics.ascent()), text);
    painter.restore();
}

} // namespace ymt
