#include "instrument/transports/SerialPort.h"

#include "core/Clock.h"
#include "core/TextCatalogue.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace ymt::serial {
namespace {

struct BaudEntry {
    int rate;
    speed_t code;
};

constexpr BaudEntry kBaudRates[] = {
    {110, B110},     {300, B300},     {600, B600},       {1200, B1200},
    {2400, B2400},   {4800, B4800},   {9600, B9600},     {19200, B19200},
    {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
};

bool baudCode(int rate, speed_t& code) {
    for (const BaudEntry& entry : kBaudRates)
        if (entry.rate == rate) {
            code = entry.code;
            return true;
        }
    return false;
}

// Milliseconds left until deadlineMs of the one clock; -1 (wait for ever) without a deadline.
int pollWaitMs(qint64 deadlineMs) {
    if (deadlineMs < 0)
        return -1;
    const qint64 left = deadlineMs - clock::nowMs();
    return left <= 0 ? 0 : int(std::min<qint64>(left, 60000));
}

} // namespace

SerialPort::~SerialPort() {
    close();
}

bool SerialPort::isSupportedBaudRate(int baudRate) {
    speed_t code;
    return baudCode(baudRate, code);
}

void SerialPort::fail(const QString& what, int error) {
    lastError = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
    lastErrno = error;
}

bool SerialPort::open(const QString& devicePath, int baudRate, const SerialFraming& framing) {
    close();
    lastError.clear();
    lastErrno = 0;
    if (!isSupportedBaudRate(baudRate)) {
        lastError = Text(Txt::IoSerialBaudUnsupported).arg(devicePath).arg(baudRate);
        return false;
    }
    // A file or a FIFO is never opened as a port: opening alone may block or change it.
    const QByteArray native = devicePath.toLocal8Bit();
    struct stat info = {};
    if (::stat(native.constData(), &info) == 0 && !S_ISCHR(info.st_mode)) {
        lastError = Text(Txt::IoNotASerialPort).arg(devicePath);
        return false;
    }
    // O_NONBLOCK: opening must not wait for a carrier; reads wait in poll() instead.
    const int handle = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        fail(devicePath, errno);
        return false;
    }
    if (!isatty(handle)) {
        ::close(handle);
        lastError = Text(Txt::IoNotASerialPort).arg(devicePath);
        return false;
    }
    // Exclusive access: a second program opening the port would steal our replies.
    if (ioctl(handle, TIOCEXCL) != 0) {
        fail(devicePath, errno);
        ::close(handle);
        return false;
    }
    fd = handle;
    path = devicePath;
    if (!applyLineSettings(baudRate, framing)) {
        const QString reason = lastError;
        close();
        lastError = reason;
        return false;
    }
    // Many adapters and instruments power their line drivers from DTR and RTS. A pseudo-terminal
    // has no modem lines, so a refusal here is not an error.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIS, &lines);
    tcflush(fd, TCIOFLUSH);
    return true;
}

void SerialPort::close() {
    if (fd >= 0) {
        ioctl(fd, TIOCNXCL);
        ::close(fd);
    }
    fd = -1;
}

bool SerialPort::applyLineSettings(int baudRate, const SerialFraming& framing) {
    speed_t code;
    if (!baudCode(baudRate, code)) {
        lastError = Text(Txt::IoSerialBaudUnsupported).arg(path).arg(baudRate);
        return false;
    }
    if (framing.dataBits < 5 || framing.dataBits > 8 ||
        (framing.parity != 'N' && framing.parity != 'E' && framing.parity != 'O') ||
        (framing.stopBits != 1 && framing.stopBits != 2)) {
        lastError = QStringLiteral("%1: unsupported framing").arg(path);
        return false;
    }
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        fail(path, errno);
        return false;
    }
    cfmakeraw(&settings);
    settings.c_cflag &= ~tcflag_t(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    static const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    settings.c_cflag |= sizes[framing.dataBits - 5] | CLOCAL | CREAD;
    if (framing.parity != 'N')
        settings.c_cflag |= PARENB | (framing.parity == 'O' ? PARODD : 0);
    if (framing.stopBits == 2)
        settings.c_cflag |= CSTOPB;
    if (framing.hardwareFlow)
        settings.c_cflag |= CRTSCTS;
    settings.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, code);
    cfsetospeed(&settings, code);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        fail(path, errno);
        return false;
    }
    currentBaud = baudRate;
    currentFraming = framing;
    return true;
}

bool SerialPort::setBaudRate(int baudRate) {
    if (!isOpen())
        return false;
    return applyLineSettings(baudRate, currentFraming);
}

bool SerialPort::setFraming(const SerialFraming& framing) {
    if (!isOpen())
        return false;
    return applyLineSettings(currentBaud, framing);
}

bool SerialPort::write(const char* data, std::size_t count, std::size_t* written) {
    std::size_t sent = 0;
    const qint64 deadline = timeout > 0 ? clock::nowMs() + timeout : -1;
    bool ok = isOpen() && (data || count == 0);
    while (ok && sent < count) {
        const ssize_t n = ::write(fd, data + sent, count - sent);
        if (n > 0) {
            sent += std::size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            fail(path, errno);
            ok = false;
            break;
        }
        pollfd waitFor{fd, POLLOUT, 0};
        const int wait = pollWaitMs(deadline);
        if (deadline >= 0 && wait == 0) {
            lastError = QStringLiteral("%1: write timeout").arg(path);
            ok = false;
            break;
        }
        if (poll(&waitFor, 1, wait) < 0 && errno != EINTR) {
            fail(path, errno);
            ok = false;
        }
    }
    if (written)
        *written = sent;
    return ok && sent == count;
}

SerialPort::ReadResult SerialPort::read(char* buffer, std::size_t size) {
    ReadResult result;
    if (!isOpen() || (!buffer && size > 0))
        return result;
    const qint64 deadline = timeout > 0 ? clock::nowMs() + timeout : -1;
    bool hungUp = false;
    while (result.count < size) {
        // Byte by byte once data is there, so the read stops right after the terminator and
        // leaves whatever follows for the next read.
        char byte;
        const ssize_t n = ::read(fd, &byte, 1);
        if (n == 1) {
            buffer[result.count++] = byte;
            if (terminator >= 0 && (static_cast<unsigned char>(byte) == terminator ||
                                    (endAtLineFeed && byte == '\n'))) {
                result.end = ReadEnd::Terminator;
                return result;
            }
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            fail(path, errno);
            result.end = ReadEnd::Error;
            return result;
        }
        // The far end went away (unplugged adapter, closed pseudo-terminal) and nothing is left.
        if (hungUp) {
            lastError = QStringLiteral("%1: device disconnected").arg(path);
            result.end = ReadEnd::Error;
            return result;
        }
        const int wait = pollWaitMs(deadline);
        if (deadline >= 0 && wait == 0) {
            result.end = ReadEnd::Timeout;
            return result;
        }
        pollfd waitFor{fd, POLLIN, 0};
        const int ready = poll(&waitFor, 1, wait);
        if (ready < 0 && errno != EINTR) {
            fail(path, errno);
            result.end = ReadEnd::Error;
            return result;
        }
        hungUp = ready > 0 && (waitFor.revents & (POLLHUP | POLLERR | POLLNVAL));
    }
    result.end = ReadEnd::Full;
    return result;
}

QByteArray SerialPort::readMessage(std::size_t maxBytes, ReadEnd* end) {
    QByteArray bytes(qsizetype(maxBytes), '\0');
    const ReadResult result = read(bytes.data(), maxBytes);
    bytes.truncate(qsizetype(result.count));
    if (end)
        *end = result.end;
    return bytes;
}

void SerialPort::flushInput() {
    if (!isOpen())
        return;
    tcflush(fd, TCIFLUSH);
    // tcflush drops the kernel's queue; bytes still in flight from a pseudo-terminal or USB
    // adapter arrive a moment later, so drain without waiting as well.
    char scratch[256];
    while (::read(fd, scratch, sizeof scratch) > 0) {
    }
}

} // namespace ymt::serial
