// TCP connection to a network adapter, opened with a bounded connect.
#pragma once

#include "instrument/transports/ByteChannel.h"

#include <QString>

#include <memory>

namespace ymt::sicl {

// Connects to host:port within timeoutMs; null with a one-line reason in *error otherwise.
std::unique_ptr<FdChannel> connectTcp(const QString& host, int port, long timeoutMs,
                                      QString* error);

} // namespace ymt::sicl
