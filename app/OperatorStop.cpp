#include "app/OperatorStop.h"

#include "core/Clock.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

namespace ymt {
namespace {

// The window answers the Stop button within this many milliseconds of a wait.
constexpr int kSliceMs = 50;
// With the virtual clock a wait without limit on an analyzer that never completes would poll
// at full speed; past this much virtual time each slice also passes some real time.
constexpr qint64 kVirtualSpinLimitMs = 10 * 60 * 1000;
constexpr qint64 kVirtualSpinYieldMs = 10;

bool isOperatorInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

} // namespace

OperatorStop::OperatorStop(QWidget* window, QStatusBar* statusBar, std::function<void()> onStopped,
                           std::function<void()> onCloseRequest)
    : QObject(window), window_(window), button_(new QPushButton(QStringLiteral("Stop"))),
      action_(new QAction(QStringLiteral("Stop measurement"), window)),
      onStopped_(std::move(onStopped)), onCloseRequest_(std::move(onCloseRequest)) {
    button_->setObjectName(QStringLiteral("StopButton"));
    button_->setToolTip(QStringLiteral("Stop waiting for the impedance analyzer (Esc)"));
    button_->setFocusPolicy(Qt::NoFocus);
    button_->hide();
    statusBar->addPermanentWidget(button_);
    connect(button_, &QPushButton::clicked, this, &OperatorStop::requestStop);
    action_->setObjectName(QStringLiteral("StopMeasurement1"));
    action_->setShortcut(QKeySequence(Qt::Key_Escape));
    // Outside a wait Esc belongs to whatever has the focus.
    action_->setEnabled(false);
    connect(action_, &QAction::triggered, this, &OperatorStop::requestStop);
}

void OperatorStop::requestStop() {
    if (waiting_)
        stopRequested_ = true;
}

void OperatorStop::endAllWaits() {
    endingAll_ = true;
    stopRequested_ = true;
}

void OperatorStop::waitStarted() {
    waiting_ = true;
    stopRequested_ = endingAll_;
    waitStartMs_ = clock::nowMs();
    button_->show();
    action_->setEnabled(true);
    // Input other than the stop must not start a second operation inside this one. A tick of
    // the repeat timer still arrives: the window skips it while waiting() and logs it.
    qApp->installEventFilter(this);
}

bool OperatorStop::pause(int ms) {
    const qint64 end = clock::nowMs() + std::max(ms, 0);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (stopRequested_)
            return true;
        if (clock::isVirtual() && clock::nowMs() - waitStartMs_ > kVirtualSpinLimitMs)
            clock::yieldRealMs(kVirtualSpinYieldMs);
        const qint64 left = end - clock::nowMs();
        if (left <= 0)
            return false;
        clock::sleepMs(std::min<qint64>(left, kSliceMs));
    }
}

void OperatorStop::waitEnded(bool stopped) {
    qApp->removeEventFilter(this);
    button_->hide();
    action_->setEnabled(false);
    waiting_ = false;
    stopRequested_ = endingAll_;
    if (stopped)
        ++stoppedWaits_;
    if (stopped && onStopped_)
        onStopped_();
}

bool OperatorStop::eventFilter(QObject* watched, QEvent* event) {
    if (!waiting_)
        return false;
    if (event->type() == QEvent::Close && watched == window_) {
        event->ignore();
        requestStop();
        if (onCloseRequest_)
            onCloseRequest_();
        return true;
    }
    if (!isOperatorInput(event->type()))
        return false;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        requestStop();
        return true;
    }
    // Input reaches the window system's window first, then the widget under it: only the
    // widget decides.
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    return widget != button_ && !button_->isAncestorOf(widget);
}

} // namespace ymt
