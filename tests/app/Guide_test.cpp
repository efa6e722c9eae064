// The user guide names controls in bold (**Read New Spectrum**); every such name must be a
// caption the operator finds in the window, and every picture it shows must exist.
#include "tests/app/MainWindowTestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>

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

} // namespace
