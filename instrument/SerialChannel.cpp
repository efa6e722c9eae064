#include "instrument/SerialChannel.h"

namespace ymt::sicl {

std::unique_ptr<ByteChannel> openSerialChannel(const QString& devicePath, int, QString* error) {
    if (error)
        *error = QStringLiteral("serial adapters are not available yet (%1)").arg(devicePath);
    return nullptr;
}

} // namespace ymt::sicl
