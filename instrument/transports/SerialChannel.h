// A serial port (8N1, raw, no flow control) as the byte channel of a USB GPIB adapter.
#pragma once

#include "instrument/transports/ByteChannel.h"

#include <QString>

#include <memory>

namespace ymt::sicl {

// Null with a one-line reason in *error when the port cannot be opened.
std::unique_ptr<ByteChannel> openSerialChannel(const QString& devicePath, int baudRate,
                                               QString* error);

} // namespace ymt::sicl
