#include "instrument/transports/UsbtmcTransport.h"

#include "core/TextCatalogue.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/AdapterLine.h"

#include <fcntl.h>
#include <linux/usb/tmc.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

namespace ymt::sicl {
namespace {

// The driver refuses shorter timeouts.
constexpr std::uint32_t kDriverMinTimeoutMs = 100;

int errorOf(long result) {
    if (result >= 0)
        return I_ERR_NOERROR;
    return result == -ETIMEDOUT ? I_ERR_TIMEOUT : I_ERR_IO;
}

ssize_t retried(const std::function<ssize_t()>& call) {
    for (;;) {
        const ssize_t n = call();
        if (n >= 0)
            return n;
        if (errno != EINTR)
            return -errno;
    }
}

} // namespace

KernelUsbtmcDevice::~KernelUsbtmcDevice() {
    if (descriptor >= 0)
        ::close(descriptor);
}

ssize_t KernelUsbtmcDevice::readMessage(char* buffer, std::size_t size) {
    return retried([&] { return ::read(descriptor, buffer, size); });
}

ssize_t KernelUsbtmcDevice::writeMessage(const char* data, std::size_t count) {
    return retried([&] { return ::write(descriptor, data, count); });
}

int KernelUsbtmcDevice::readStatusByte(unsigned char* status) {
    __u8 byte = 0;
    const ssize_t rc =
        retried([&] { return ssize_t(::ioctl(descriptor, USBTMC488_IOCTL_READ_STB, &byte)); });
    *status = byte;
    return int(std::min<ssize_t>(rc, 0));
}

int KernelUsbtmcDevice::clear() {
    return int(std::min<ssize_t>(
        retried([&] { return ssize_t(::ioctl(descriptor, USBTMC_IOCTL_CLEAR)); }), 0));
}

int KernelUsbtmcDevice::setTimeout(std::uint32_t ms) {
    __u32 value = ms;
    return int(std::min<ssize_t>(
        retried([&] { return ssize_t(::ioctl(descriptor, USBTMC_IOCTL_SET_TIMEOUT, &value)); }),
        0));
}

UsbtmcTransport::UsbtmcTransport(std::unique_ptr<UsbtmcDevice> usbtmcDevice)
    : device(std::move(usbtmcDevice)) {}

int UsbtmcTransport::write(const char* data, std::size_t count, bool end, std::size_t* actual) {
    *actual = 0;
    if (!device)
        return I_ERR_IO;
    pending.append(data, static_cast<qsizetype>(count));
    if (!end) {
        // The driver ends every write() with EOM, so a message goes out whole.
        *actual = count;
        return I_ERR_NOERROR;
    }
    const QByteArray message = std::exchange(pending, QByteArray());
    const ssize_t sent = device->writeMessage(message.constData(), std::size_t(message.size()));
    if (sent < 0)
        return errorOf(sent);
    if (sent != message.size())
        return I_ERR_IO; // a short write is a failure, not a success
    *actual = count;
    return I_ERR_NOERROR;
}

int UsbtmcTransport::read(char* buffer, std::size_t size, int* reason, std::size_t* actual) {
    *reason = 0;
    *actual = 0;
    if (!device)
        return I_ERR_IO;
    if (size == 0)
        return I_ERR_NOERROR;
    const ssize_t got = device->readMessage(buffer, size);
    if (got < 0)
        return errorOf(got);
    *actual = std::min(std::size_t(got), size);
    // The driver returns less than asked only at the end of the message; a full buffer that
    // ends in LF is the end as well.
    if (*actual < size || (*actual > 0 && buffer[*actual - 1] == '\n'))
        *reason |= I_TERM_END;
    if (*actual == size)
        *reason |= I_TERM_MAXCNT;
    return I_ERR_NOERROR;
}

int UsbtmcTransport::readStatusByte(unsigned char* status) {
    *status = 0;
    return device ? errorOf(device->readStatusByte(status)) : I_ERR_IO;
}

int UsbtmcTransport::clear() {
    pending.clear();
    return device ? errorOf(device->clear()) : I_ERR_IO;
}

int UsbtmcTransport::setTimeout(long ms) {
    if (!device)
        return I_ERR_IO;
    // No limit is the longest time the driver takes.
    const std::uint32_t driverMs =
        ms <= 0 ? std::numeric_limits<std::uint32_t>::max()
                : std::uint32_t(std::clamp<long>(ms, kDriverMinTimeoutMs, 0x7FFFFFFF));
    return errorOf(device->setTimeout(driverMs));
}

int UsbtmcTransport::serialControl(int, unsigned long) {
    return I_ERR_NOTSUPP;
}

void UsbtmcTransport::close() {
    device.reset();
}

std::unique_ptr<UsbtmcDevice> openKernelUsbtmc(const QString& path, QString* error) {
    const QByteArray file = path.toLocal8Bit();
    // Analyzer commands written into a text file or /dev/null would pass for a connection: only
    // a character device that answers the driver's own ioctl is taken, before anything is sent.
    struct stat info = {};
    if (::stat(file.constData(), &info) == 0 && !S_ISCHR(info.st_mode)) {
        *error = Text(Txt::IoUsbtmcNotCharacterDevice).arg(path);
        return nullptr;
    }
    const int fd = ::open(file.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int failure = errno;
        *error = Text(Txt::IoCannotOpen).arg(path, QString::fromLocal8Bit(std::strerror(failure)));
        if (failure == EACCES)
            *error += Text(Txt::IoUsbtmcNeedsUdevRule);
        return nullptr;
    }
    __u32 timeout = 0;
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode) ||
        ::ioctl(fd, USBTMC_IOCTL_GET_TIMEOUT, &timeout) != 0) {
        *error = Text(Txt::IoUsbtmcNoDriverAnswer).arg(path);
        ::close(fd);
        return nullptr;
    }
    // Reads and writes block as the driver's timeout says.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::make_unique<KernelUsbtmcDevice>(fd);
}

TransportFactory makeUsbtmcTransportFactory(UsbtmcOpener opener) {
    return
        [opener = std::move(opener)](const DeviceAddress& address, const QString& parameters,
                                     const SiclConfig&, int* error) -> std::unique_ptr<Transport> {
            AdapterLine line;
            QString problem;
            if (!readAdapterLineForOpen(QStringLiteral("usbtmc"), address.interfaceName, parameters,
                                        line, error))
                return nullptr;
            std::unique_ptr<UsbtmcDevice> device = opener(line.devicePath, &problem);
            if (!device) {
                reportOpenProblem(QStringLiteral("usbtmc: ") + problem);
                *error = I_ERR_NOCONN;
                return nullptr;
            }
            return std::make_unique<UsbtmcTransport>(std::move(device));
        };
}

} // namespace ymt::sicl
