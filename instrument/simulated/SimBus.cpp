#include "instrument/simulated/SimBus.h"

#include "core/Clock.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/simulated/SimAnalyzer.h"
#include "instrument/simulated/SimThermometer.h"

#include <QMap>

#include <algorithm>
#include <cstring>
#include <map>

namespace ymt::sim {
namespace {

// An analyzer answers at this address of a simulated GPIB interface without configured devices.
constexpr int kDefaultAnalyzerAddress = 17;

struct BusEntry {
    QString signature; // the device section it was made from; a change makes a new device
    std::shared_ptr<SimDevice> device;
};

std::map<QString, BusEntry>& bus() {
    static std::map<QString, BusEntry> devices;
    return devices;
}

QMap<QString, SimDeviceFactory>& deviceKinds() {
    static QMap<QString, SimDeviceFactory> kinds;
    static bool builtInsRegistered = false;
    if (!builtInsRegistered) {
        builtInsRegistered = true;
        const SimDeviceFactory analyzer = [](const sicl::KeyValueList& lines) {
            return std::shared_ptr<SimDevice>(
                std::make_shared<SimAnalyzer>(parseSimAnalyzerConfig(lines)));
        };
        kinds.insert(QStringLiteral("hp4194a"), analyzer);
        kinds.insert(QStringLiteral("hp4294a"), analyzer);
        kinds.insert(QStringLiteral("auto"), analyzer);
        for (const char* name :
             {"almemo2290-2", "almemo2290-4", "therm3280-2", "therm3280-6", "therm3280-6/6m"})
            kinds.insert(QString::fromLatin1(name), makeSimThermometerFactory());
    }
    return kinds;
}

QString deviceKind(const sicl::KeyValueList& lines) {
    for (const auto& [key, value] : lines)
        if (key == QLatin1String("device"))
            return value.toLower().remove(QLatin1Char(' '));
    return QStringLiteral("auto");
}

// Once sicl.conf places devices on an interface, only those answer there.
bool configuresInterface(const sicl::SiclConfig& config, const QString& interfaceName) {
    const QString prefix = interfaceName.toLower() + QLatin1Char(',');
    for (auto key = config.devices.keyBegin(); key != config.devices.keyEnd(); ++key)
        if (key->startsWith(prefix))
            return true;
    return false;
}

std::shared_ptr<SimDevice> deviceFor(const sicl::DeviceAddress& address,
                                     const sicl::SiclConfig& config) {
    const QString key = address.key();
    sicl::KeyValueList lines;
    QString signature;
    if (config.hasDevice(key)) {
        lines = config.devices.value(key);
        signature = QStringLiteral("configured\n") + config.deviceSections.value(key);
    } else if (!address.isSerial() && address.primaryAddress == kDefaultAnalyzerAddress &&
               !configuresInterface(config, address.interfaceName)) {
        signature = QStringLiteral("default");
    } else {
        return nullptr;
    }
    BusEntry& entry = bus()[key];
    if (!entry.device || entry.signature != signature) {
        const auto factory = deviceKinds().constFind(deviceKind(lines));
        if (factory == deviceKinds().constEnd()) {
            bus().erase(key);
            return nullptr;
        }
        entry.device = (*factory)(lines);
        entry.signature = signature;
    }
    return entry.device;
}

class SimSession : public sicl::Transport {
public:
    explicit SimSession(std::shared_ptr<SimDevice> device)
        : owner(std::move(device)), device(*owner) {}

    int write(const char* data, std::size_t count, bool end, std::size_t* actual) override {
        device.acceptBytes(data, count, end);
        *actual = count;
        return sicl::I_ERR_NOERROR;
    }

    int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) override {
        *reason = 0;
        *actual = 0;
        auto& output = device.output();
        if (output.empty()) {
            // Nothing will ever come: an unbounded read fails at once instead of hanging.
            clock::sleepMs(timeoutMs);
            return sicl::I_ERR_TIMEOUT;
        }
        SimDevice::PendingReply& reply = output.front();
        const qint64 wait = reply.readyAtMs - clock::nowMs();
        if (wait > 0) {
            if (timeoutMs > 0 && wait > timeoutMs) {
                clock::sleepMs(timeoutMs);
                return sicl::I_ERR_TIMEOUT;
            }
            clock::sleepMs(wait);
        }
        const auto remaining = static_cast<std::size_t>(reply.bytes.size() - reply.readPosition);
        const std::size_t taken = std::min(size, remaining);
        if (taken > 0)
            std::memcpy(buffer, reply.bytes.constData() + reply.readPosition, taken);
        reply.readPosition += static_cast<qsizetype>(taken);
        *actual = taken;
        if (taken == size)
            *reason |= sicl::I_TERM_MAXCNT;
        if (taken == remaining) {
            *reason |= sicl::I_TERM_END;
            output.pop_front();
        }
        return sicl::I_ERR_NOERROR;
    }

    int readStatusByte(unsigned char* status) override {
        *status = device.serialPoll();
        return sicl::I_ERR_NOERROR;
    }

    int clear() override {
        device.deviceClear();
        return sicl::I_ERR_NOERROR;
    }

    int setTimeout(long ms) override {
        timeoutMs = ms;
        return sicl::I_ERR_NOERROR;
    }

    int serialControl(int request, unsigned long value) override {
        return device.serialControl(request, value);
    }

    void close() override {}

private:
    // Shared with the bus, so that a session outlives a reset of the bus safely.
    std::shared_ptr<SimDevice> owner;
    SimDevice& device;
    qint64 timeoutMs = 2000;
};

} // namespace

void SimDevice::acceptBytes(const char* data, std::size_t count, bool end) {
    partialInput.append(data, static_cast<qsizetype>(count));
    if (!end)
        return;
    // A new message makes an instrument discard output nobody read (query interrupted).
    pendingOutput.clear();
    QByteArray message;
    message.swap(partialInput);
    receiveMessage(message);
}

void SimDevice::deviceClear() {
    partialInput.clear();
    pendingOutput.clear();
}

int SimDevice::serialControl(int, unsigned long) {
    return sicl::I_ERR_NOTSUPP;
}

void SimDevice::queueReply(QByteArray bytes, qint64 readyAtMs) {
    pendingOutput.push_back({std::move(bytes), readyAtMs, 0});
}

void registerDeviceKind(const QString& kind, SimDeviceFactory factory) {
    deviceKinds().insert(kind.toLower().remove(QLatin1Char(' ')), std::move(factory));
}

sicl::TransportFactory makeSimTransportFactory() {
    return [](const sicl::DeviceAddress& address, const QString&, const sicl::SiclConfig& config,
              int* error) -> std::unique_ptr<sicl::Transport> {
        std::shared_ptr<SimDevice> device = deviceFor(address, config);
        if (!device) {
            *error = sicl::I_ERR_NOCONN;
            return nullptr;
        }
        return std::make_unique<SimSession>(std::move(device));
    };
}

SimDevice* deviceAt(const QString& addressKey) {
    const auto found = bus().find(addressKey.toLower());
    return found == bus().end() ? nullptr : found->second.device.get();
}

void resetBus() {
    bus().clear();
}

} // namespace ymt::sim
