#include "instrument/thermometer/Thermometer.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "core/TextCatalogue.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclObject.h"

#include <array>

namespace ymt {
namespace {

const std::array<ThermometerProtocol, 4>& protocols() {
    static const std::array<ThermometerProtocol, 4> table = {{
        {"P01", 19, 9600, {}},
        {"p", 8, 9600, {QStringLiteral("G00"), QStringLiteral("A1")}},
        {"P", 19, 1200, {}},
        {"P01", 18, 1200, {}},
    }};
    return table;
}

bool hasDigit(const QString& text) {
    for (const QChar c : text)
        if (c.isDigit())
            return true;
    return false;
}

} // namespace

const ThermometerProtocol* thermometerProtocol(int kind) {
    if (kind < kAlmemo2290_2 || kind > kTherm3280_6)
        return nullptr;
    return &protocols()[std::size_t(kind - 1)];
}

QString temperatureField(int kind, const QString& reply) {
    const ThermometerProtocol* protocol = thermometerProtocol(kind);
    if (!protocol)
        return {};
    return reply.mid(protocol->fieldPosition - 1, kThermometerFieldLength);
}

TemperatureReading temperatureFromReply(int kind, const QString& reply) {
    const QString field = temperatureField(kind, reply);
    TemperatureReading reading;
    reading.celsius = ParseNumber(field);
    reading.obtained = hasDigit(field);
    return reading;
}

bool configureThermometerLine(int handle, int kind) {
    const ThermometerProtocol* protocol = thermometerProtocol(kind);
    if (!protocol || handle == 0)
        return false;
    using namespace sicl;
    const int results[] = {
        itimeout(handle, kThermometerTimeoutMs),
        iserialctrl(handle, I_SERIAL_BAUD, unsigned(protocol->baudRate)),
        iserialctrl(handle, I_SERIAL_PARITY, 0),
        iserialctrl(handle, I_SERIAL_WIDTH, 8),
        iserialctrl(handle, I_SERIAL_STOP, 1),
        iserialctrl(handle, I_SERIAL_FLOW_IN, 0),
        iserialctrl(handle, I_SERIAL_READ_EOI, kThermometerReadTermination),
    };
    for (const int rc : results)
        if (rc != I_ERR_NOERROR)
            return false;
    return true;
}

QString ThermometerNotFoundText(const QString& port, const QString& reason) {
    if (reason.isEmpty())
        return Text(Txt::LogThermometerNotFound).arg(port);
    return Text(Txt::LogThermometerNotFoundBecause).arg(port, reason);
}

void sendThermometerStartup(int handle, int kind) {
    const ThermometerProtocol* protocol = thermometerProtocol(kind);
    if (!protocol || handle == 0)
        return;
    for (const QString& command : protocol->startupCommands) {
        sicl::iclear(handle);
        ThermometerQuery(handle, command);
    }
}

TemperatureReading ReadTemp(int handle, int kind) {
    const ThermometerProtocol* protocol = thermometerProtocol(kind);
    TemperatureReading last;
    if (!protocol || handle == 0)
        return last;
    for (int query = 0; query < kThermometerQueries; ++query) {
        sicl::iclear(handle);
        last = temperatureFromReply(
            kind, ThermometerQuery(handle, QString::fromLatin1(protocol->command)));
        if (last.celsius != 0)
            return last;
    }
    return last;
}

} // namespace ymt
