// What the script driver needs from the main window: its controls (found by component name),
// the leave handlers of its fields, the repeat timer, its state lines and its dialogs.
#pragma once

#include "app/Dialogs.h"

#include <QStringList>

class QWidget;

namespace ymt {

class ScriptTarget {
public:
    virtual ~ScriptTarget() = default;
    // The top-level window; controls are its descendants (widgets or QActions) by objectName.
    virtual QWidget* rootWidget() = 0;
    // Runs the leave handler of a field exactly as leaving it does; false if it has none.
    virtual bool runExitHandler(QWidget* field) = 0;
    // The next event of the repeat-measurement timer (on the virtual clock: at its due time);
    // returns the line the script prints about it.
    virtual QString runTimerTick() = 0;
    // key=value lines of the program state (doubles with %.17g).
    virtual QStringList stateLines() = 0;
    // Routes every dialog of the window through the given interface (not owned).
    virtual void setDialogs(DialogInterface* dialogs) = 0;
};

} // namespace ymt
