// The main window at its smallest and on large screens: every tab reachable, nothing clipped,
// number fields of a number's width beside their captions, and the plots taking the space.
#include "tests/app/MainWindowTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ymt {
namespace {

using test::WindowOnTempHome;

void showAt(TForm1& window, QSize size) {
    window.show();
    window.resize(size);
    QApplication::processEvents();
}

TEST(WindowSizing, AllSevenTabsShowAtTheMinimumSizeEvenWithALargerFont) {
    WindowOnTempHome fixture;
    // Desktops with a larger default font make the captions wider than the designed row.
    QFont large = fixture.window->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    fixture.window->setFont(large);
    showAt(*fixture.window, fixture.window->minimumSize());
    // The designed size is the least; a larger font may need more.
    EXPECT_GE(fixture.window->minimumWidth(), 818);
    EXPECT_GE(fixture.window->minimumHeight(), 591);
    EXPECT_EQ(fixture.window->size(), fixture.window->minimumSize());
    const QTabBar* bar = fixture.window->pageControl()->tabBar();
    ASSERT_EQ(bar->count(), 7);
    for (int i = 0; i < bar->count(); ++i)
        EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << bar->tabText(i).toStdString();
}

TEST(WindowSizing, NothingIsClippedAtTheMinimumSize) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    showAt(*fixture.window, fixture.window->minimumSize());
    // With "Show Additional Controls" the tabs hold the most controls.
    for (bool additional : {false, true}) {
        auto* show = fixture.control<QCheckBox>("CheckBox21");
        if (show->isChecked() != additional)
            show->click();
        QApplication::processEvents();
        QTabWidget* tabs = fixture.window->pageControl();
        for (int i = 0; i < tabs->count(); ++i) {
            const QWidget* page = tabs->widget(i);
            const QSize needed = page->minimumSizeHint();
            const QSize room = tabs->currentWidget()->size();
            EXPECT_LE(needed.width(), room.width()) << page->objectName().toStdString();
            EXPECT_LE(needed.height(), room.height()) << page->objectName().toStdString();
        }
    }
}

// A fresh machine has only the fonts scripts/setup.sh installs (Debian "fonts-liberation"):
// the test above runs again in a child process whose fontconfig sees no others.
TEST(WindowSizing, NothingIsClippedWithOnlyTheFontsTheSetUpInstalls) {
    const QString fonts = QStringLiteral("/usr/share/fonts/truetype/liberation");
    ASSERT_TRUE(QDir(fonts).exists()) << "scripts/setup.sh installs fonts-liberation";
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    QFile conf(config.filePath(QStringLiteral("fonts.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>%1</dir>\n"
                              "<cachedir>%2</cachedir>\n"
                              "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>\n"
                              "</fontconfig>\n")
                   .arg(fonts, config.filePath(QStringLiteral("cache")))
                   .toUtf8());
    conf.close();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FONTCONFIG_FILE"), conf.fileName());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(
        QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=WindowSizing.NothingIsClippedAtTheMinimumSize:"
                        "WindowSizing.AllSevenTabsShowAtTheMinimumSizeEvenWithALargerFont")});
    ASSERT_TRUE(child.waitForFinished(120000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 2 tests."))) << output.toStdString();
}

TEST(WindowSizing, OnAFullHdScreenNumberFieldsStayNarrowBesideTheirCaptionsAndPlotsGrow) {
    WindowOnTempHome fixture;
    fixture.window->FormActivate();
    showAt(*fixture.window, QSize(1920, 1080));
    QTabWidget* tabs = fixture.window->pageControl();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QApplication::processEvents();
        for (const QLabel* caption : tabs->widget(i)->findChildren<QLabel*>()) {
            const auto* field = qobject_cast<const QLineEdit*>(caption->buddy());
            if (!field || !field->isVisible())
                continue;
            const int gap = field->mapTo(fixture.window.get(), QPoint(0, 0)).x() -
                            caption->mapTo(fixture.window.get(), QPoint(caption->width(), 0)).x();
            EXPECT_LT(gap, 80) << caption->text().toStdString();
        }
    }
    // "0.5" (interval) and "401" need no more than a number's width.
    EXPECT_LT(fixture.control("Edit28")->width(), 200);
    EXPECT_LT(fixture.control("Edit42")->width(), 200);
    EXPECT_GT(fixture.control("fastgraph1")->width(), 1400);
    EXPECT_GT(fixture.control("dauergraph")->width(), 1400);
}

} // namespace
} // namespace ymt
