#include "core/Clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace ymt::clock {
namespace {

struct ClockState {
    bool isVirtual = false;
    qint64 virtualMs = 0;
    QElapsedTimer realTimer;
    ClockState() { realTimer.start(); }
};

ClockState& state() {
    static ClockState instance;
    return instance;
}

} // namespace

void setVirtual(bool on) {
    state().isVirtual = on;
}

bool isVirtual() {
    return state().isVirtual;
}

qint64 nowMs() {
    // Virtual time runs on top of real time so that order is kept when the mode changes.
    return state().realTimer.elapsed() + state().virtualMs;
}

void sleepMs(qint64 ms) {
    if (ms <= 0)
        return;
    if (state().isVirtual) {
        state().virtualMs += ms;
        return;
    }
    const qint64 end = nowMs() + ms;
    for (qint64 left = ms; left > 0; left = end - nowMs())
        QThread::msleep(static_cast<unsigned long>(left));
}

void yieldRealMs(qint64 ms) {
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

QDateTime currentDateTime() {
    return QDateTime::currentDateTime().addMSecs(state().virtualMs);
}

} // namespace ymt::clock
