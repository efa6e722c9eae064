// The "usbtmc" transport: a USBTMC device of the kernel's usbtmc driver (/dev/usbtmcN), such as
// a USB-to-GPIB adapter that presents its instrument that way. Messages are read() and
// write() on the device file; status byte, clear and timeout are ioctls of the driver, kept
// behind UsbtmcDevice so that tests can stand in for the driver.
#pragma once

#include "instrument/sicl/Transport.h"

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>

namespace ymt::sicl {

// What the transport needs from the driver. Results: byte count or 0 on success, -errno on
// failure (-ETIMEDOUT when the driver's timeout expired).
class UsbtmcDevice {
public:
    virtual ~UsbtmcDevice() = default;
    virtual ssize_t readMessage(char* buffer, std::size_t size) = 0;
    virtual ssize_t writeMessage(const char* data, std::size_t count) = 0;
    virtual int readStatusByte(unsigned char* status) = 0;
    virtual int clear() = 0;
    virtual int setTimeout(std::uint32_t ms) = 0;
};

// The kernel driver behind an open device file (owned and closed).
class KernelUsbtmcDevice : public UsbtmcDevice {
public:
    explicit KernelUsbtmcDevice(int fd) : descriptor(fd) {}
    ~KernelUsbtmcDevice() override;
    KernelUsbtmcDevice(const KernelUsbtmcDevice&) = delete;
    KernelUsbtmcDevice& operator=(const KernelUsbtmcDevice&) = delete;

    ssize_t readMessage(char* buffer, std::size_t size) override;
    ssize_t writeMessage(const char* data, std::size_t count) override;
    int readStatusByte(unsigned char* status) override;
    int clear() override;
    int setTimeout(std::uint32_t ms) override;
    int fd() const { return descriptor; }

private:
    int descriptor;
};

class UsbtmcTransport : public Transport {
public:
    explicit UsbtmcTransport(std::unique_ptr<UsbtmcDevice> device);

    int write(const char* data, std::size_t count, bool end, std::size_t* actual) override;
    int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) override;
    int readStatusByte(unsigned char* status) override;
    int clear() override;
    int setTimeout(long ms) override;
    int serialControl(int request, unsigned long value) override;
    void close() override;

private:
    std::unique_ptr<UsbtmcDevice> device;
    QByteArray pending;
};

// Opens the device file; null with a reason (naming the permission fix when access is denied).
using UsbtmcOpener =
    std::function<std::unique_ptr<UsbtmcDevice>(const QString& path, QString* error)>;
std::unique_ptr<UsbtmcDevice> openKernelUsbtmc(const QString& path, QString* error);

// The factory registered as "usbtmc"; tests pass an opener of their own.
TransportFactory makeUsbtmcTransportFactory(UsbtmcOpener opener = openKernelUsbtmc);

} // namespace ymt::sicl
