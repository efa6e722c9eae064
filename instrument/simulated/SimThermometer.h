// A simulated serial thermometer of one of the four kinds, configured by a [COMn] section of
// sicl.conf:
//
//   [COM2]
//   device = Almemo 2290-2   # Almemo 2290-2, Almemo 2290-4, Therm 3280-2, Therm 3280-6
//   temperature = 20         # °C at the first reading
//   ramp = 1                 # °C per minute of the one clock, counted from the first reading
//   reply_ms = 100           # time until the reply is there
//   fault = late 2           # silent | late | short | garbled | wrong-field, optionally only
//                            # for the first N queries
//
// It answers its kind's command with the temperature at the kind's field position, ends each
// reply with ETX, and answers only when the line runs at its kind's baud rate (otherwise it
// sends garbage, as a real instrument seems to). Like a real line, a late reply stays there
// until it is read or the input is flushed.
#pragma once

#include "instrument/simulated/SimBus.h"

namespace ymt::sim {

enum class ThermometerFault { None, Silent, Late, Short, Garbled, WrongField };

struct SimThermometerConfig {
    int kind = 1; // as the list "Thermometer Type"
    double temperature = 20;
    double rampPerMinute = 0;
    int replyMs = 100;
    int lateMs = 2500; // beyond the 2000 ms session timeout
    ThermometerFault fault = ThermometerFault::None;
    int faultyQueries = -1; // -1: every query
};

// The kind named by a device line ("Almemo 2290-2" ...), 0 when it is none of them.
int thermometerKindFromName(const QString& name);

SimThermometerConfig parseSimThermometerConfig(const sicl::KeyValueList& lines,
                                               QStringList* problems = nullptr);

// The reply of a kind to its command at a temperature, the value at the field position.
QByteArray thermometerReply(int kind, double celsius);

class SimThermometer : public SimDevice {
public:
    explicit SimThermometer(const SimThermometerConfig& config);
    void acceptBytes(const char* data, std::size_t count, bool end) override;
    unsigned char serialPoll() override { return 0; }
    int serialControl(int request, unsigned long value) override;

    int queriesAnswered() const { return queries; }
    // Temperature now (the ramp starts with the first reading).
    double temperatureNow() const;

protected:
    void receiveMessage(const QByteArray& message) override;

private:
    SimThermometerConfig config;
    QByteArray input;
    long baudRate = 9600;
    qint64 rampStartMs = -1;
    int queries = 0;
};

// The factory the simulated bus uses for the four kinds.
SimDeviceFactory makeSimThermometerFactory();

} // namespace ymt::sim
