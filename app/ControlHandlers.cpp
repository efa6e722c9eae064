#include "app/ControlHandlers.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

namespace ymt {

void LeaveHandlers::attach(QWidget* field, std::function<void()> handler) {
    handlers_[field] = std::move(handler);
    field->installEventFilter(this);
    connect(field, &QObject::destroyed, this, [this, field] { handlers_.erase(field); });
}

bool LeaveHandlers::run(QWidget* field) {
    const auto found = handlers_.find(field);
    if (found == handlers_.end())
        return false;
    if (running_.count(field))
        return true;
    running_.insert(field);
    // Copy: a handler may re-attach fields.
    const std::function<void()> handler = found->second;
    handler();
    running_.erase(field);
    return true;
}

bool LeaveHandlers::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QWidget*>(watched);
    if (!field || !has(field))
        return false;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            run(field);
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Only a move of the focus inside the window leaves the field; switching to another
        // window or opening a menu does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            run(field);
    }
    return false;
}

} // namespace ymt
