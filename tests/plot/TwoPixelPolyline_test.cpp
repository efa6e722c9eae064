// Two-pixel curves on an image are widened in a mask; under a clip they are still stamped four
// times. Both must set the same pixels.
#include "plot/TwoPixelPolyline.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <random>

namespace ymt {
namespace {

QImage drawn(const QPolygon& run, bool clipped, QImage& mask) {
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.translate(2, 3);
    if (clipped)
        painter.setClipRect(QRect(-2, -3, 100, 100));
    DrawTwoPixelPolyline(painter, run, Qt::red, mask);
    return image;
}

// The first run turns back on itself, where the raster engine draws a pixel past the vertices,
// and meets a mask of exactly its size; the random walks reuse the grown mask.
TEST(TwoPixelPolyline, WideningInAMaskSetsThePixelsOfTheStampedPolyline) {
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> step(-4, 4);
    QImage mask;
    for (int t = 0; t < 100; ++t) {
        QPolygon run;
        QPoint at(40, 40);
        for (int i = 0; i < 16 + t % 40; ++i) {
            run << at;
            const QPoint next =
                t == 0 ? QPoint(i % 2 ? -6 : 6, i % 2 ? -1 : 1) : QPoint(step(rng), step(rng));
            at = QPoint(std::clamp(at.x() + next.x(), 5, 90), std::clamp(at.y() + next.y(), 5, 90));
        }
        const QImage widened = drawn(run, false, mask);
        ASSERT_TRUE(widened == drawn(run, true, mask)) << t;
    }
}

} // namespace
} // namespace ymt
