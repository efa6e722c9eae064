#include "instrument/transports/SerialChannel.h"

#include "core/TextCatalogue.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/SerialPort.h"

#include <algorithm>
#include <cerrno>

namespace ymt::sicl {
namespace {

// The adapter's replies (instrument data and "++" answers) end with LF.
constexpr int kLineFeed = '\n';

class SerialChannel : public ByteChannel {
public:
    explicit SerialChannel(std::unique_ptr<serial::SerialPort> port) : port(std::move(port)) {
        this->port->setTerminator(kLineFeed);
    }

    int writeAll(const char* data, std::size_t count, long timeoutMs) override {
        port->setTimeoutMs(portTimeout(timeoutMs));
        if (port->write(data, count))
            return I_ERR_NOERROR;
        return port->errorText().endsWith(QLatin1String("timeout")) ? I_ERR_TIMEOUT : I_ERR_IO;
    }

    int readSome(char* buffer, std::size_t size, long timeoutMs, std::size_t* got) override {
        port->setTimeoutMs(portTimeout(timeoutMs));
        const serial::SerialPort::ReadResult result = port->read(buffer, size);
        *got = result.count;
        if (result.count > 0)
            return I_ERR_NOERROR; // a failure after the bytes shows at the next read
        return result.end == serial::SerialPort::ReadEnd::Timeout ? I_ERR_TIMEOUT : I_ERR_IO;
    }

private:
    // The port's 0 means no limit; a channel's 0 means do not wait.
    static long portTimeout(long timeoutMs) { return timeoutMs < 0 ? 0 : std::max(timeoutMs, 1L); }

    std::unique_ptr<serial::SerialPort> port;
};

} // namespace

std::unique_ptr<ByteChannel> openSerialChannel(const QString& devicePath, int baudRate,
                                               QString* error) {
    auto port = std::make_unique<serial::SerialPort>();
    if (!port->open(devicePath, baudRate)) {
        if (error) {
            *error = port->errorText();
            if (port->errorNumber() == EACCES)
                *error += Text(Txt::IoSerialNeedsDialout);
        }
        return nullptr;
    }
    port->flushInput();
    return std::make_unique<SerialChannel>(std::move(port));
}

} // namespace ymt::sicl
