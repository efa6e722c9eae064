// The main window at its smallest and on large screens: every tab reachable, nothing clipped,
// number fields of a number's width beside their captions, and the plots taking the space.
#include "tests/app/MainWindowTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>

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
    EXPECT_EQ(fixture.window->minimumSize(), QSize(818, 591));
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
