// How the script driver sees the window's controls: lookup by component name, whether an
// operator could use a control, and the text a control shows.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;
class QTabWidget;
class QAbstractButton;

namespace ymt {

// The widget or QAction named `name` below root (or root itself); nullptr when there is none.
QObject* FindControl(QWidget* root, const QString& name);

// Empty when an operator could use the control; otherwise why not ("hidden", "disabled").
// A control on a tab page other than the current one counts as usable.
QString UnusableReason(QWidget* root, QObject* control);

// Hidden by the program (not merely on another tab page).
bool IsHiddenByProgram(QWidget* root, QObject* control);
bool IsEnabledInWindow(QWidget* root, QObject* control);

// The tab page a widget lies on (its ancestor that is a page of a QTabWidget), or nullptr.
QWidget* TabPageOf(QWidget* root, QObject* control);
// The tab widget whose page `page` is; nullptr when page is not a tab page.
QTabWidget* TabWidgetOfPage(QWidget* page);

// The radio buttons of a radio group: a widget holding a QButtonGroup, or a group box holding
// radio buttons. Empty for anything else.
QList<QAbstractButton*> RadioButtonsOf(QObject* holder);

// What `show` prints: caption or text, 0/1 for a check box, the selected item of a list or
// radio group; several lines for a multi-line box. nullopt-like: ok=false when not readable.
struct ControlValue {
    bool ok = false;
    bool multiLine = false;
    QStringList lines; // exactly one entry unless multiLine
    QString single() const { return lines.join(QLatin1Char('\n')); }
};
ControlValue ValueOf(QObject* control);

// The caption an operator reads on or beside a control: the text of a button, check box, radio
// button, label or menu item, the title of a group box, radio group or plot, the tab text of a
// page.
// Empty for fields and lists.
QString CaptionOf(QObject* control);
// The hint (tooltip) of a control; empty when it has none.
QString HintOf(QObject* control);

// Every named control below root in tree order (Qt's own helper objects left out); those of
// another window of the program only while that window is open.
QList<QObject*> NamedControls(QWidget* root);

} // namespace ymt
