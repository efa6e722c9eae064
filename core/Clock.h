// The one clock of the program: every wait and every instrument timeout reads it. In virtual
// mode (--fast) delays pass at once, while their order and effects stay the same.
#pragma once

#include <QDateTime>
#include <QtGlobal>

namespace ymt::clock {

void setVirtual(bool on);
bool isVirtual();

// Milliseconds since an arbitrary fixed start; never goes backwards.
qint64 nowMs();

// Blocks the caller (without processing window events) for ms milliseconds of this clock.
void sleepMs(qint64 ms);

// Gives the processor back for ms of real time in either mode: a virtual wait that only an
// outside event (a signal, the operator) can end must not spin.
void yieldRealMs(qint64 ms);

// Local date and time, moved on by the virtual time that has passed.
QDateTime currentDateTime();

} // namespace ymt::clock
