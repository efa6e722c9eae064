// The "Stop" button of the status bar: shown while the analyzer is waited for (a sweep, a
// completion wait), it and Esc end that wait as its timeout would. During the wait the window
// stays painted and answers only the Stop button, Esc and requests to close.
#pragma once

#include "instrument/analyzer/HP4x94A.h"

#include <QObject>

#include <functional>

class QAction;
class QPushButton;
class QStatusBar;

namespace ymt {

class OperatorStop : public QObject, public CompletionWaitObserver {
public:
    // onStopped runs when a wait ended because of the operator; onCloseRequest when the window
    // was asked to close while a wait ran (the wait is stopped, the close is left to the caller).
    OperatorStop(QWidget* window, QStatusBar* statusBar, std::function<void()> onStopped,
                 std::function<void()> onCloseRequest);

    QPushButton* button() const { return button_; }
    // The menu's "Stop measurement" (Esc): enabled only while a wait runs.
    QAction* action() const { return action_; }
    bool waiting() const { return waiting_; }
    // The Stop button and Esc: the running wait ends at its next pause.
    void requestStop();
    // The end of the program: the running wait and every later one end at once.
    void endAllWaits();
    bool endingAllWaits() const { return endingAll_; }
    // Waits ended by a stop so far; an operation of several waits compares it to end early.
    int stoppedWaits() const { return stoppedWaits_; }

    void waitStarted() override;
    bool pause(int ms) override;
    void waitEnded(bool stopped) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QPushButton* button_;
    QAction* action_;
    std::function<void()> onStopped_;
    std::function<void()> onCloseRequest_;
    bool waiting_ = false;
    bool stopRequested_ = false;
    bool endingAll_ = false;
    int stoppedWaits_ = 0;
    qint64 waitStartMs_ = 0;
};

} // namespace ymt
