// The user guide names controls in bold (**Read New Spectrum**); every such name must be a
// caption the operator finds in the window, and every picture it shows must exist.
#include "tests/app/MainWindowTestSupport.h"

#include "app/GuideWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

QString guideText() {
    QFile file(QStringLiteral(YMT_SOURCE_DIR "/docs/guide.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Captions compare without surrounding blanks, runs of blanks and a trailing colon.
QString normalised(QString caption) {
    caption = caption.simplified();
    while (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

// Every text an operator can read on a control of the window: button, check box and radio
// captions, labels, group titles, tab names, menu items and list items.
QSet<QString> windowCaptions(QWidget* window) {
    QSet<QString> captions;
    const auto add = [&captions](const QString& text) {
        if (!normalised(text).isEmpty())
            captions.insert(normalised(text));
    };
    for (auto* button : window->findChildren<QAbstractButton*>())
        add(button->text());
    for (auto* label : window->findChildren<QLabel*>())
        add(label->text());
    for (auto* group : window->findChildren<QGroupBox*>())
        add(group->title());
    for (auto* tabs : window->findChildren<QTabWidget*>())
        for (int i = 0; i < tabs->count(); ++i)
            add(tabs->tabText(i));
    for (auto* action : window->findChildren<QAction*>())
        add(action->text());
    for (auto* list : window->findChildren<QComboBox*>())
        for (int i = 0; i < list->count(); ++i)
            add(list->itemText(i));
    return captions;
}

TEST(Guide, EveryControlItNamesExistsInTheWindow) {
    const QString guide = guideText();
    ASSERT_FALSE(guide.isEmpty()) << "docs/guide.md is missing";
    ymt::test::WindowOnTempHome fixture;
    const QSet<QString> captions = windowCaptions(fixture.window.get());
    ASSERT_TRUE(captions.contains(QStringLiteral("Read New Spectrum")));

    const QRegularExpression bold(QStringLiteral("\\*\\*([^*]+)\\*\\*"));
    int named = 0;
    for (const QRegularExpressionMatch& match : bold.globalMatch(guide)) {
        ++named;
        const QString name = normalised(match.captured(1));
        EXPECT_TRUE(captions.contains(name))
            << "the guide names \"" << name.toStdString() << "\", which is no control";
    }
    // The guide walks through the whole window, so it names many controls.
    EXPECT_GT(named, 40);
}

TEST(Guide, EveryPictureItShowsIsInTheDocsFolder) {
    const QString guide = guideText();
    const QRegularExpression image(QStringLiteral("!\\[[^\\]]*\\]\\(([^)]+)\\)"));
    int pictures = 0;
    for (const QRegularExpressionMatch& match : image.globalMatch(guide)) {
        ++pictures;
        const QString path = QStringLiteral(YMT_SOURCE_DIR "/docs/") + match.captured(1);
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    }
    EXPECT_GE(pictures, 7);
}

// F1 shows the guide in the program's own window, pictures included: no browser needed.
TEST(Guide, F1ShowsItInsideTheProgramWithItsHeadingsAndPictures) {
    ymt::test::WindowOnTempHome fixture;
    QAction* f1 = nullptr;
    for (QAction* action : fixture.window->findChildren<QAction*>())
        if (action->shortcut() == QKeySequence(Qt::Key_F1))
            f1 = action;
    ASSERT_NE(f1, nullptr);
    f1->trigger();
    auto* shown = fixture.window->findChild<ymt::GuideWindow*>();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(fixture.dialogs.messages.empty());
    EXPECT_TRUE(shown->isVisible());

    const QRegularExpression heading(QStringLiteral("^#+ (.+)$"),
                                     QRegularExpression::MultilineOption);
    QStringList written;
    for (const QRegularExpressionMatch& match : heading.globalMatch(guideText()))
        written << match.captured(1).trimmed();
    ASSERT_GE(written.size(), 10);
    EXPECT_EQ(shown->headings(), written);

    const QVariant picture = shown->browser()->loadResource(
        QTextDocument::ImageResource, QUrl(QStringLiteral("pictures/tab-hardware.png")));
    const QImage image = picture.typeId() == QMetaType::QByteArray
                             ? QImage::fromData(picture.toByteArray())
                             : picture.value<QImage>();
    EXPECT_EQ(image.size(),
              QImage(QStringLiteral(YMT_SOURCE_DIR "/docs/pictures/tab-hardware.png")).size());
    EXPECT_FALSE(image.isNull());

    // F1 again keeps the one window.
    f1->trigger();
    EXPECT_EQ(fixture.window->findChildren<ymt::GuideWindow*>().size(), 1);
}

} // namespace
