#include "instrument/transports/SerialTransport.h"

#include "core/TextCatalogue.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/SerialPort.h"

namespace ymt::sicl {
namespace {

constexpr int kDefaultBaudRate = 9600;

QString& openProblem() {
    static QString text;
    return text;
}

class SerialSession : public Transport {
public:
    explicit SerialSession(std::unique_ptr<serial::SerialPort> opened) : port(std::move(opened)) {
        port->setTimeoutMs(2000);
    }

    int write(const char* data, std::size_t count, bool, std::size_t* actual) override {
        // A serial line has no END: the message ends with its last byte.
        return port->write(data, count, actual) ? I_ERR_NOERROR : I_ERR_IO;
    }

    int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) override {
        const serial::SerialPort::ReadResult result = port->read(buffer, size);
        *actual = result.count;
        *reason = 0;
        switch (result.end) {
        case serial::SerialPort::ReadEnd::Terminator:
            *reason = I_TERM_CHR;
            return I_ERR_NOERROR;
        case serial::SerialPort::ReadEnd::Full:
            *reason = I_TERM_MAXCNT;
            return I_ERR_NOERROR;
        case serial::SerialPort::ReadEnd::Timeout:
            return I_ERR_TIMEOUT;
        case serial::SerialPort::ReadEnd::Error:
            break;
        }
        return I_ERR_IO;
    }

    int readStatusByte(unsigned char* status) override {
        *status = 0;
        return I_ERR_NOTSUPP;
    }

    // On a serial line the device clear discards what arrived and was not read.
    int clear() override {
        port->flushInput();
        return I_ERR_NOERROR;
    }

    int setTimeout(long ms) override {
        port->setTimeoutMs(ms);
        return I_ERR_NOERROR;
    }

    int serialControl(int request, unsigned long value) override {
        serial::SerialFraming framing = port->framing();
        switch (request) {
        case I_SERIAL_BAUD:
            if (value > 4000000 || !serial::SerialPort::isSupportedBaudRate(int(value)))
                return I_ERR_PARAM;
            return port->setBaudRate(int(value)) ? I_ERR_NOERROR : I_ERR_IO;
        case I_SERIAL_PARITY:
            if (value > 2)
                return I_ERR_PARAM;
            framing.parity = value == 0 ? 'N' : value == 1 ? 'O' : 'E';
            break;
        case I_SERIAL_WIDTH:
            if (value < 5 || value > 8)
                return I_ERR_PARAM;
            framing.dataBits = int(value);
            break;
        case I_SERIAL_STOP:
            if (value != 1 && value != 2)
                return I_ERR_PARAM;
            framing.stopBits = int(value);
            break;
        case I_SERIAL_FLOW_IN:
            if (value > 1)
                return I_ERR_PARAM;
            framing.hardwareFlow = value == 1;
            break;
        case I_SERIAL_READ_EOI:
            // A line end ends a reply as well: thermometers of the same kind end theirs either
            // way, depending on their set-up.
            if (value == 0)
                port->setTerminator(-1);
            else if (value >= 0x100 && value <= 0x1FF)
                port->setTerminator(int(value & 0xFF));
            else
                return I_ERR_PARAM;
            port->setEndAtLineFeed(value != 0);
            return I_ERR_NOERROR;
        default:
            return I_ERR_NOTSUPP;
        }
        return port->setFraming(framing) ? I_ERR_NOERROR : I_ERR_IO;
    }

    void close() override { port->close(); }

private:
    std::unique_ptr<serial::SerialPort> port;
};

} // namespace

QString defaultSerialDevice(int comPort) {
    return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
}

QString serialDeviceFromParameters(const QString& parameters) {
    // The first word; a path with blanks is not supported (udev names have none).
    const QString trimmed = parameters.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    return blank < 0 ? trimmed : trimmed.left(blank);
}

TransportFactory makeSerialTransportFactory() {
    return [](const DeviceAddress& address, const QString& parameters, const SiclConfig&,
              int* error) -> std::unique_ptr<Transport> {
        QString device = serialDeviceFromParameters(parameters);
        if (device.isEmpty() && address.isSerial())
            device = defaultSerialDevice(address.comPort);
        auto port = std::make_unique<serial::SerialPort>();
        if (device.isEmpty() || !port->open(device, kDefaultBaudRate)) {
            openProblem() = device.isEmpty()
                                ? Text(Txt::IoNoSerialDevice).arg(address.interfaceName)
                                : port->errorText();
            *error = I_ERR_NOCONN;
            return nullptr;
        }
        openProblem().clear();
        return std::make_unique<SerialSession>(std::move(port));
    };
}

QString lastSerialOpenProblem() {
    return openProblem();
}

} // namespace ymt::sicl
