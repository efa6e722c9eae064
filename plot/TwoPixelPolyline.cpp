#include "plot/TwoPixelPolyline.h"

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstring>
#include <vector>

namespace ymt {

QPen TwoPixelStampPen(const QColor& color) {
    return QPen(color, 1, Qt::SolidLine, Qt::SquareCap);
}

namespace {

void drawStamped(QPainter& painter, const QPolygon& run, const QColor& color) {
    painter.setPen(TwoPixelStampPen(color));
    for (const QPoint shift : {QPoint(0, 0), QPoint(-1, 0), QPoint(0, -1), QPoint(-1, -1)}) {
        painter.translate(shift);
        painter.drawPolyline(run);
        painter.translate(-shift);
    }
}

// The image the painter draws on when its pixels land unscaled, unclipped and opaque, moved by
// a whole number of pixels (offset); otherwise nullptr.
QImage* directTarget(const QPainter& painter, QPoint& offset) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
        format != QImage::Format_ARGB32_Premultiplied)
        return nullptr;
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate ||
        transform.dx() != std::trunc(transform.dx()) ||
        transform.dy() != std::trunc(transform.dy()) || std::fabs(transform.dx()) > 1e6 ||
        std::fabs(transform.dy()) > 1e6)
        return nullptr;
    if (painter.hasClipping() || painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver ||
        painter.testRenderHint(QPainter::Antialiasing))
        return nullptr;
    offset = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    return image;
}

// The 1-pixel polyline reaches at most one pixel past its vertices (where it turns back on
// itself); a margin of two keeps it clear of the mask's edge, where it would be clipped.
constexpr int kMaskMargin = 2;

// Below this many vertices, or with more mask pixels per vertex than this, the four stamped
// polylines cost less than clearing and scanning the mask.
constexpr int kMinimumMaskedVertices = 16;
constexpr qint64 kMaximumMaskPixelsPerVertex = 1024;

} // namespace

void DrawTwoPixelPolyline(QPainter& painter, const QPolygon& run, const QColor& color,
                          QImage& mask) {
    QPoint offset;
    QImage* target = run.size() >= kMinimumMaskedVertices ? directTarget(painter, offset) : nullptr;
    const QRect box =
        run.boundingRect().adjusted(-kMaskMargin, -kMaskMargin, kMaskMargin, kMaskMargin);
    // The widened pixels reach one pixel further left and up than the mask.
    const QRect written = box.adjusted(-1, -1, 0, 0).translated(offset);
    if (!target || !target->rect().contains(written) ||
        qint64(box.width()) * box.height() > kMaximumMaskPixelsPerVertex * run.size()) {
        drawStamped(painter, run, color);
        return;
    }

    // A 32-bit mask takes the raster engine's plain solid fill; an 8-bit one took twice as long
    // per polyline, partly on pooled threads.
    if (mask.width() < box.width() || mask.height() < box.height())
        mask = QImage(box.size().expandedTo(mask.size()), QImage::Format_RGB32);
    for (int j = 0; j < box.height(); ++j)
        std::memset(mask.scanLine(j), 0, static_cast<size_t>(box.width()) * sizeof(quint32));
    {
        QPainter maskPainter(&mask);
        maskPainter.setPen(TwoPixelStampPen(Qt::white));
        maskPainter.translate(-box.topLeft());
        maskPainter.drawPolyline(run);
    }

    // Target pixel (x, y) is set when the mask has (x, y), (x + 1, y), (x, y + 1) or
    // (x + 1, y + 1): the four shifted copies of the polyline. The mask's pixels are tested four
    // at a time, as most of it is empty.
    const QRgb rgb = color.rgba();
    const int width = box.width();
    const std::vector<quint32> empty(static_cast<size_t>(width), 0);
    auto maskRow = [&](int j) {
        return j >= 0 && j < box.height() ? reinterpret_cast<const quint32*>(mask.constScanLine(j))
                                          : empty.data();
    };
    uchar* const bits = target->bits();
    const qsizetype bytesPerLine = target->bytesPerLine();
    for (int j = -1; j < box.height(); ++j) {
        const quint32* upper = maskRow(j);
        const quint32* lower = maskRow(j + 1);
        // Mask pixel i widens into target pixels i and i - 1 of this row.
        QRgb* line = reinterpret_cast<QRgb*>(bits + (written.top() + 1 + j) * bytesPerLine) +
                     written.left() + 1;
        auto widen = [&](int from, int to) {
            for (int i = from; i < to; ++i)
                if (upper[i] | lower[i]) {
                    line[i] = rgb;
                    line[i - 1] = rgb;
                }
        };
        int i = 0;
        for (; i + 4 <= width; i += 4) {
            quint64 words[4];
            std::memcpy(words, upper + i, 16);
            std::memcpy(words + 2, lower + i, 16);
            if (words[0] | words[1] | words[2] | words[3])
                widen(i, i + 4);
        }
        widen(i, width);
    }
}

} // namespace ymt
