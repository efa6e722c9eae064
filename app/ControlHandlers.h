// Leave handlers of the window's single-line fields: leaving a field runs its handler, and
// Enter runs the same handler while the field keeps the focus.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <set>

class QWidget;

namespace ymt {

class LeaveHandlers : public QObject {
public:
    explicit LeaveHandlers(QObject* parent = nullptr) : QObject(parent) {}

    // Several fields may share one handler (the six range fields of "Options" do).
    void attach(QWidget* field, std::function<void()> handler);
    bool has(QWidget* field) const { return handlers_.count(field) != 0; }
    // Runs the field's handler as leaving it does; false when the field has none. A handler
    // that opens a box takes the focus away; that second leave does not run it again.
    bool run(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<QWidget*, std::function<void()>> handlers_;
    std::set<QWidget*> running_;
};

} // namespace ymt
