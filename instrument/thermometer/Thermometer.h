// The serial thermometers: the four kinds, their line settings and start-up commands, and
// ReadTemp, one temperature in °C with the reply field and the retries of each kind.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ymt {

// Position in the list "Thermometer Type".
enum ThermometerKind {
    kThermometerNone = 0,
    kAlmemo2290_2 = 1,
    kAlmemo2290_4 = 2,
    kTherm3280_2 = 3,
    kTherm3280_6 = 4,
};

struct ThermometerProtocol {
    QByteArray command;          // sent byte for byte, without terminator
    int fieldPosition = 0;       // 1-based position of the 7-character temperature field
    int baudRate = 9600;         //
    QStringList startupCommands; // sent once after the port is set up; replies not used
};

constexpr int kThermometerFieldLength = 7;
constexpr int kThermometerQueries = 6; // a reading of exactly 0 is asked again, 6 times in all
constexpr int kThermometerTimeoutMs = 2000;
// iserialctrl request 10 with 0x100 + byte: reads end on that byte (ETX for the thermometers).
constexpr unsigned long kThermometerReadTermination = 259;

// The protocol of a kind; null for "none" and anything unknown.
const ThermometerProtocol* thermometerProtocol(int kind);

// The 7-character field of a reply at the kind's position (shorter or empty when the reply
// ends early).
QString temperatureField(int kind, const QString& reply);

struct TemperatureReading {
    double celsius = 0;
    bool obtained = false; // false: no reply held a number in its field
};

// The reading of one reply: the field read tolerantly; obtained only when it holds a digit.
TemperatureReading temperatureFromReply(int kind, const QString& reply);

// Baud rate, parity, width, stop bits, flow control and read termination of the kind on an
// open serial session; false when the session refuses one of them.
bool configureThermometerLine(int handle, int kind);

// The log line of a thermometer port that did not open, with the system's reason.
QString ThermometerNotFoundText(const QString& port, const QString& reason);

// Sends the kind's start-up commands (after the line has settled).
void sendThermometerStartup(int handle, int kind);

// One temperature: the input is flushed before each query, so that a reply that came too late
// for the previous query is never taken for this one. Asks again while the value is exactly 0,
// up to kThermometerQueries in all. Kind "none" (or handle 0) sends nothing.
TemperatureReading ReadTemp(int handle, int kind);

} // namespace ymt
