// The "serial" transport: a COMn session on a real serial port. sicl.conf names the device
//
//   [interfaces]
//   COM2 = serial /dev/ttyUSB0        # or /dev/serial/by-id/...; without a line: /dev/ttyS1
//
// iserialctrl sets the line (baud rate, parity, width, stop bits, flow control) and request 10
// the byte that ends a read (0x100 + byte; 0 for none).
#pragma once

#include "instrument/sicl/Transport.h"

namespace ymt::sicl {

// The device of COMn when sicl.conf names none: /dev/ttyS(n-1).
QString defaultSerialDevice(int comPort);

// The device path named by the parameters of a "serial" line ("" when none is given).
QString serialDeviceFromParameters(const QString& parameters);

TransportFactory makeSerialTransportFactory();

// Why the last iopen of a serial port failed (the system's message), "" after a success.
QString lastSerialOpenProblem();

} // namespace ymt::sicl
