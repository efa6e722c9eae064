// The "sim" transport: instruments simulated inside the process. The bus keeps one device per
// address for the whole run (like a real instrument, its settings outlive a session) and
// creates it from the device section of sicl.conf. Replies become readable at a time of the
// one clock, so sweeps and late answers take (virtual) time like the real instruments.
#pragma once

#include "instrument/sicl/SiclConfig.h"
#include "instrument/sicl/Transport.h"

#include <QByteArray>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>

namespace ymt::sim {

// One simulated instrument as seen from the bus.
class SimDevice {
public:
    virtual ~SimDevice() = default;

    // Bytes from the controller; a message is complete with END.
    virtual void acceptBytes(const char* data, std::size_t count, bool end);
    // The serial poll: status byte, clearing a pending service request.
    virtual unsigned char serialPoll() = 0;
    // Whether it asserts SRQ now; unlike the serial poll this leaves the request pending.
    virtual bool requestsService() { return false; }
    // Device clear: forget unread output and partial input.
    virtual void deviceClear();
    virtual int serialControl(int request, unsigned long value);

    struct PendingReply {
        QByteArray bytes;
        qint64 readyAtMs = 0;
        qsizetype readPosition = 0;
    };
    std::deque<PendingReply>& output() { return pendingOutput; }
    bool hasOutput() const { return !pendingOutput.empty(); }

protected:
    // One complete message from the controller.
    virtual void receiveMessage(const QByteArray& message) = 0;
    void queueReply(QByteArray bytes, qint64 readyAtMs);

private:
    QByteArray partialInput;
    std::deque<PendingReply> pendingOutput;
};

// Creates a device of a kind ("HP4194A", "HP4294A", "auto") from its section lines.
using SimDeviceFactory = std::function<std::shared_ptr<SimDevice>(const sicl::KeyValueList& lines)>;
void registerDeviceKind(const QString& kind, SimDeviceFactory factory);

// The transport factory registered as "sim".
sicl::TransportFactory makeSimTransportFactory();

// The device the bus holds at an address key ("gpib0,17"), or null (tests).
SimDevice* deviceAt(const QString& addressKey);
// Forgets every simulated instrument; the next iopen creates them afresh (tests).
void resetBus();

} // namespace ymt::sim
