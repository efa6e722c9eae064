// The transport interface behind every SICL session, and the registry of named transports.
// A transport class serves one open session to one device; sicl.conf maps an interface name
// ("gpib0", "COM2") to a transport name ("sim", "prologix", "usbtmc", "linux-gpib", "visa",
// "serial"). A new transport adds a class and one line in the registry of TransportRegistry.cpp.
#pragma once

#include "instrument/sicl/SiclConfig.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>

namespace ymt::sicl {

// A parsed iopen address: "gpib0,17" or "COM2".
struct DeviceAddress {
    QString interfaceName;   // as given, e.g. "gpib0" or "COM2"
    int primaryAddress = -1; // GPIB primary address; -1 for serial ports
    int comPort = 0;         // n of "COMn"; 0 for GPIB
    bool isSerial() const { return comPort > 0; }
    // Normalised key "gpib0,17" / "com2" (lower case), used to find device sections.
    QString key() const;
};

// Parses the address text; false when it is malformed.
bool parseDeviceAddress(const QString& text, DeviceAddress& address);

// One open session. All functions return an ErrorCode of Sicl.h.
class Transport {
public:
    virtual ~Transport() = default;
    virtual int write(const char* data, std::size_t count, bool end, std::size_t* actual) = 0;
    virtual int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) = 0;
    virtual int readStatusByte(unsigned char* status) = 0;
    virtual int clear() = 0;
    virtual int setTimeout(long ms) = 0;
    virtual int serialControl(int request, unsigned long value) = 0;
    virtual void close() = 0;
};

// Opens a session to the device at address, or sets *error and returns null.
// parameters: the text after the transport name in the [interfaces] line.
using TransportFactory = std::function<std::unique_ptr<Transport>(
    const DeviceAddress& address, const QString& parameters, const SiclConfig& config, int* error)>;

// Adds or replaces a transport by name (case-insensitive).
void registerTransport(const QString& name, TransportFactory factory);
// Null when no transport of that name exists.
const TransportFactory* findTransport(const QString& name);

} // namespace ymt::sicl
