// Lookup, usability and displayed text of controls for the script driver.
#include "app/automation/ScriptDriverControls.h"

#include "plot/FastGraph.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

namespace ymt {
namespace {

bool isControl(QObject* object) {
    return qobject_cast<QWidget*>(object) != nullptr || qobject_cast<QAction*>(object) != nullptr;
}

bool isQtInternal(QObject* object) {
    return object->objectName().isEmpty() || object->objectName().startsWith(QLatin1String("qt_"));
}

// A menu item is usable when it and every menu leading to it are visible and enabled.
bool actionUsable(QAction* action, bool checkEnabled, int depth = 0) {
    if (depth > 8)
        return true;
    if (checkEnabled ? !action->isEnabled() : !action->isVisible())
        return false;
    for (QObject* owner : action->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(owner)) {
            if (!actionUsable(menu->menuAction(), checkEnabled, depth + 1))
                return false;
        }
    }
    return true;
}

QStringList linesOf(const QString& text) {
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

ControlValue singleValue(const QString& text) {
    ControlValue value;
    value.ok = true;
    value.lines = {text};
    return value;
}

ControlValue multiValue(const QString& text) {
    ControlValue value;
    value.ok = true;
    value.multiLine = true;
    value.lines = linesOf(text);
    return value;
}

} // namespace

QObject* FindControl(QWidget* root, const QString& name) {
    if (!root || name.isEmpty())
        return nullptr;
    if (root->objectName() == name)
        return root;
    for (QObject* object : root->findChildren<QObject*>(name)) {
        if (isControl(object))
            return object;
    }
    return nullptr;
}

QTabWidget* TabWidgetOfPage(QWidget* page) {
    if (!page)
        return nullptr;
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    if (!stack)
        return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    if (!tabs || tabs->indexOf(page) < 0)
        return nullptr;
    return tabs;
}

QWidget* TabPageOf(QWidget* root, QObject* control) {
    auto* widget = qobject_cast<QWidget*>(control);
    if (auto* action = qobject_cast<QAction*>(control))
        widget = qobject_cast<QWidget*>(action->parent());
    for (QWidget* w = widget; w && w != root; w = w->parentWidget()) {
        if (TabWidgetOfPage(w))
            return w;
    }
    return nullptr;
}

bool IsHiddenByProgram(QWidget* root, QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control))
        return !actionUsable(action, false);
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget)
        return true;
    for (QWidget* w = widget; w && w != root; w = w->parentWidget()) {
        if (QTabWidget* tabs = TabWidgetOfPage(w)) {
            // The stack hides every page but the current one; only a hidden tab counts.
            if (!tabs->isTabVisible(tabs->indexOf(w)))
                return true;
            continue;
        }
        if (w->isHidden())
            return true;
        if (w->isWindow())
            break;
    }
    return false;
}

bool IsEnabledInWindow(QWidget* root, QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control))
        return actionUsable(action, true) && root->isEnabled();
    auto* widget = qobject_cast<QWidget*>(control);
    return widget && widget->isEnabledTo(root) && root->isEnabled();
}

QString UnusableReason(QWidget* root, QObject* control) {
    if (IsHiddenByProgram(root, control))
        return QStringLiteral("hidden");
    if (!IsEnabledInWindow(root, control))
        return QStringLiteral("disabled");
    return QString();
}

QList<QAbstractButton*> RadioButtonsOf(QObject* holder) {
    if (!holder)
        return {};
    if (auto* group = holder->findChild<QButtonGroup*>(QString(), Qt::FindDirectChildrenOnly))
        return group->buttons();
    if (!qobject_cast<QGroupBox*>(holder))
        return {};
    QList<QAbstractButton*> radios;
    for (QRadioButton* radio : holder->findChildren<QRadioButton*>())
        radios.append(radio);
    return radios;
}

ControlValue ValueOf(QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (action->isCheckable())
            return singleValue(action->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
        return singleValue(action->text());
    }
    auto* widget = qobject_cast<QWidget*>(control);
    if (!widget)
        return {};
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return singleValue(edit->text());
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(widget))
        return singleValue(spin->text());
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return singleValue(combo->currentText());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        return multiValue(memo->toPlainText());
    if (auto* memo = qobject_cast<QTextEdit*>(widget))
        return multiValue(memo->toPlainText());
    if (auto* list = qobject_cast<QListWidget*>(widget))
        return singleValue(list->currentItem() ? list->currentItem()->text() : QString());
    if (auto* box = qobject_cast<QCheckBox*>(widget))
        return singleValue(box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (auto* radio = qobject_cast<QRadioButton*>(widget))
        return singleValue(radio->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return singleValue(button->text());
    if (auto* label = qobject_cast<QLabel*>(widget))
        return singleValue(label->text());
    if (auto* graph = qobject_cast<TFastGraph*>(widget))
        return singleValue(graph->Title());
    if (widget->isWindow())
        return singleValue(widget->windowTitle());
    const QList<QAbstractButton*> radios = RadioButtonsOf(widget);
    if (!radios.isEmpty()) {
        for (QAbstractButton* radio : radios) {
            if (radio->isChecked())
                return singleValue(radio->text());
        }
        return singleValue(QString());
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return singleValue(group->title());
    if (auto* tabs = qobject_cast<QTabWidget*>(widget))
        return singleValue(tabs->tabText(tabs->currentIndex()));
    if (TabWidgetOfPage(widget)) {
        QTabWidget* tabs = TabWidgetOfPage(widget);
        return singleValue(tabs->tabText(tabs->indexOf(widget)));
    }
    return {};
}

QString CaptionOf(QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* graph = qobject_cast<TFastGraph*>(control))
        return graph->Title();
    if (auto* page = qobject_cast<QWidget*>(control); page && TabWidgetOfPage(page)) {
        QTabWidget* tabs = TabWidgetOfPage(page);
        return tabs->tabText(tabs->indexOf(page));
    }
    return QString();
}

QString HintOf(QObject* control) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        // A menu item without a hint of its own reports its text as tooltip.
        const QString hint = action->toolTip();
        return hint == QString(action->text()).remove(QLatin1Char('&')) ? QString() : hint;
    }
    if (auto* widget = qobject_cast<QWidget*>(control))
        return widget->toolTip();
    return QString();
}

QList<QObject*> NamedControls(QWidget* root) {
    QList<QObject*> controls;
    for (QObject* object : root->findChildren<QObject*>()) {
        if (!isControl(object) || isQtInternal(object))
            continue;
        // The controls of the program's other windows (the results of a fit) count while
        // their window is open; a menu is no window of its own here.
        const auto* widget = qobject_cast<QWidget*>(object);
        const QWidget* window = widget ? widget->window() : nullptr;
        if (window && window != root && !qobject_cast<const QMenu*>(window) && !window->isVisible())
            continue;
        controls.append(object);
    }
    return controls;
}

} // namespace ymt
