// The start-up picture and the About box: drawn by the program itself, at the sizes the
// window definition gives.
#include "app/AboutBox.h"
#include "app/SplashScreen.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Saves the picture when YMT_PICTURE_DIR is set, so that it can be looked at.
void keepForInspection(const QImage& image, const QString& name) {
    const QString dir = qEnvironmentVariable("YMT_PICTURE_DIR");
    if (!dir.isEmpty())
        image.save(QDir(dir).filePath(name));
}

int distinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

} // namespace

TEST(StartupPicture, FillsTheSplashSizeWithAPictureNotAPlainArea) {
    QImage image(591, 229, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    {
        QPainter painter(&image);
        ymt::DrawStartupPicture(painter, image.rect(), QStringLiteral("2.4.5 "));
    }
    keepForInspection(image, QStringLiteral("startup.png"));
    // Nothing of the magenta underneath shows: the picture covers its whole rectangle.
    EXPECT_EQ(image.pixel(0, 0) == QColor(Qt::magenta).rgb(), false);
    EXPECT_EQ(image.pixel(590, 228) == QColor(Qt::magenta).rgb(), false);
    EXPECT_GT(distinctColours(image), 8);
}

TEST(AboutBox, ShowsTheProgramLineBelowThePicture) {
    ymt::AboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Info"));
    const QLabel* text = box.findChild<QLabel*>(QStringLiteral("AboutText"));
    ASSERT_NE(text, nullptr);
    const QStringList lines = text->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines.at(0), QString());
    EXPECT_EQ(lines.at(1), QStringLiteral("Zelvanor Ymt Version 2.x.x for Agilent 4x94A"));
    EXPECT_FALSE(text->textInteractionFlags() & Qt::TextEditable);
    EXPECT_EQ(box.width(), 591);
    box.show();
    // Readable: the platform's normal font, all seven lines inside the box, clear of its
    // border, of the picture above and of the OK button.
    EXPECT_EQ(text->font().pointSizeF(), QApplication::font().pointSizeF());
    const QRect lines7(text->mapTo(&box, text->contentsRect().topLeft()),
                       QSize(text->contentsRect().width(), 7 * text->fontMetrics().lineSpacing()));
    EXPECT_GE(lines7.top(), 233);
    EXPECT_LE(lines7.bottom(), box.height() - 8);
    const QWidget* ok = box.findChild<QWidget*>(QStringLiteral("OKButton"));
    ASSERT_NE(ok, nullptr);
    EXPECT_FALSE(ok->geometry().intersects(lines7));
    EXPECT_LE(ok->geometry().bottom(), box.height() - 8);
    keepForInspection(box.grab().toImage(), QStringLiteral("about.png"));
}
