#include "plot/FastGraph.h"

#include <QPaintEvent>
#include <QPainter>

#include <utility>

namespace ymt {

QColor toQColor(ymt::Color color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

ymt::Color fromQColor(const QColor& color) {
    return static_cast<ymt::Color>(color.red()) | static_cast<ymt::Color>(color.green()) << 8 |
           static_cast<ymt::Color>(color.blue()) << 16;
}

TFastGraph::TFastGraph(QWidget* parent) : QWidget(parent) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    setFont(font);
    setMouseTracking(true);
    for (TFastAxis* axis : {&XAxis, &YAxis, &Y2Axis})
        axis->setOwnerRepaint([this] { requestRepaint(); });
}

void TFastGraph::setTitle(const QString& title) {
    Title_ = title.left(80);
    requestRepaint();
}

void TFastGraph::setShowPoints(bool on) {
    ShowPoints = on;
    requestRepaint();
}

void TFastGraph::replot() {
    pictureStale_ = true;
    update();
}

void TFastGraph::requestRepaint() {
    // Autoscaling writes axis limits in the middle of a drawing; that must not start another.
    if (!drawing_)
        replot();
}

void TFastGraph::renderScreenPicture() {
    const qreal ratio = devicePixelRatioF();
    // Drawn into an image, whose pixels the 2-pixel curves can widen directly (a pixmap's are
    // out of reach), then handed over to the pixmap.
    const QColor window = palette().color(QPalette::Window);
    QImage image(size() * ratio, window.alpha() == 255 ? QImage::Format_RGB32
                                                       : QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(window);
    {
        QPainter painter(&image);
        drawingForScreen_ = true;
        DrawGraph(painter, QRect(1, 1, width() - 1, height() - 1));
        drawingForScreen_ = false;
    }
    picture_ = QPixmap::fromImage(std::move(image));
    pictureStale_ = false;
    ++screenDrawCount_;
}

void TFastGraph::paintEvent(QPaintEvent* event) {
    // Only a paint that covers nothing but changed overlay figures may reuse the picture.
    const bool overlayOnly = (event->region() - pendingOverlay_).isEmpty();
    pendingOverlay_ = QRegion();
    if (pictureStale_ || !overlayOnly || picture_.deviceIndependentSize().toSize() != size())
        renderScreenPicture();
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    if (band_)
        painter.fillRect(bandRect(*band_), Qt::white);
    if (cursorLine_)
        painter.fillRect(cursorRect(*cursorLine_), Qt::white);
}

QRect TFastGraph::cursorRect(int x) const {
    return QRect(x, PlotTop + 1, 1, PlotBottom - PlotTop);
}

QRect TFastGraph::bandRect(std::pair<int, int> band) const {
    const int left = std::min(band.first, band.second);
    const int right = std::max(band.first, band.second);
    return QRect(left, PlotTop, right - left, PlotBottom - 1 - PlotTop);
}

void TFastGraph::updateOverlay(const QRect& area) {
    if (area.isEmpty())
        return;
    pendingOverlay_ += area;
    update(area);
}

void TFastGraph::setCursorLine(int x) {
    if (cursorLine_ == x)
        return;
    if (cursorLine_)
        updateOverlay(cursorRect(*cursorLine_));
    cursorLine_ = x;
    updateOverlay(cursorRect(x));
}

void TFastGraph::clearCursorLine() {
    if (!cursorLine_)
        return;
    updateOverlay(cursorRect(*cursorLine_));
    cursorLine_.reset();
}

void TFastGraph::setBand(int x1, int x2) {
    const std::pair<int, int> next(x1, x2);
    if (band_ == next)
        return;
    if (band_)
        updateOverlay(bandRect(*band_));
    band_ = next;
    updateOverlay(bandRect(next));
}

void TFastGraph::clearBand() {
    if (!band_)
        return;
    updateOverlay(bandRect(*band_));
    band_.reset();
}

} // namespace ymt
