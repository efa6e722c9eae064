// The size rules of the main window, applied to the finished widget tree so that each tab's
// builder needs no sizing code of its own.
#include "app/WindowSizing.h"

#include <QAbstractSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QLayout>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>

namespace ymt {
namespace {

bool growsWide(const QWidget* widget) {
    return widget && (widget->sizePolicy().horizontalPolicy() & QSizePolicy::ExpandFlag) &&
           widget->maximumWidth() >= QWIDGETSIZE_MAX;
}

bool isCappedField(QWidget* widget) {
    return (qobject_cast<QLineEdit*>(widget) || qobject_cast<QAbstractSpinBox*>(widget)) &&
           widget->maximumWidth() < QWIDGETSIZE_MAX;
}

// A field with a maximum width sits at the left of a wider cell, next to its caption, instead
// of floating in the cell's middle.
void alignCappedFieldsLeft(QLayout* layout) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (isCappedField(item->widget()) && !(item->alignment() & Qt::AlignHorizontal_Mask))
            item->setAlignment(item->alignment() | Qt::AlignLeft);
    }
}

// A grid of captions, number fields and buttons gets an empty last column that takes the
// extra width, so its rows keep their designed spacing; stretch given to its own columns would
// only pull its number fields apart. A grid with a text field lets that field grow.
void keepGridTogether(QGridLayout* grid) {
    for (int i = 0; i < grid->count(); ++i) {
        if (growsWide(grid->itemAt(i)->widget()))
            return;
    }
    const int columns = grid->columnCount();
    for (int column = 0; column < columns; ++column)
        grid->setColumnStretch(column, 0);
    grid->setColumnStretch(columns, 1);
}

// Follows the window's font and contents: each change of them comes as a font change or a
// layout request, after which the contents' minimum is known again.
class MinimumSizeKeeper : public QObject {
public:
    MinimumSizeKeeper(QWidget* window, QSize designed) : QObject(window), designed_(designed) {}

    void apply(QWidget* window) const {
        window->setMinimumSize(designed_.expandedTo(window->minimumSizeHint()));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::FontChange:
        case QEvent::LayoutRequest:
        case QEvent::Show:
            apply(static_cast<QWidget*>(watched));
            break;
        default:
            break;
        }
        return false;
    }

private:
    QSize designed_;
};

} // namespace

void KeepMinimumSizeForContents(QWidget* window, QSize designed) {
    QFont font = window->font();
    font.setFamily(QString::fromLatin1(kWindowFontFamily));
    window->setFont(font);
    auto* keeper = new MinimumSizeKeeper(window, designed);
    window->installEventFilter(keeper);
    keeper->apply(window);
}

void FitWindowToAnySize(QWidget* root) {
    // A number needs about a dozen digits; the spin boxes follow the number fields.
    for (QAbstractSpinBox* spin : root->findChildren<QAbstractSpinBox*>()) {
        spin->setMaximumWidth(spin->fontMetrics().horizontalAdvance(QString(14, QLatin1Char('0'))) +
                              24);
        spin->setSizePolicy(QSizePolicy::Preferred, spin->sizePolicy().verticalPolicy());
    }
    for (QLayout* layout : root->findChildren<QLayout*>()) {
        alignCappedFieldsLeft(layout);
        if (auto* grid = qobject_cast<QGridLayout*>(layout))
            keepGridTogether(grid);
    }
    // All tabs stay in sight at the smallest size: captions are shortened rather than
    // pushed behind scroll arrows.
    for (QTabWidget* tabs : root->findChildren<QTabWidget*>()) {
        tabs->tabBar()->setUsesScrollButtons(false);
        tabs->tabBar()->setElideMode(Qt::ElideRight);
    }
}

} // namespace ymt
