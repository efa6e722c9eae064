// Fuzzes what comes from outside on the thermometer path: replies of the four kinds, the
// [COMn] section of a simulated thermometer and the serial lines of sicl.conf.
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimThermometer.h"
#include "instrument/thermometer/Thermometer.h"
#include "instrument/transports/SerialTransport.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));

    for (int kind = 0; kind <= 5; ++kind) {
        const ymt::TemperatureReading reading = ymt::temperatureFromReply(kind, text);
        if (ymt::temperatureField(kind, text).size() > ymt::kThermometerFieldLength)
            __builtin_trap();
        if (!reading.obtained && reading.celsius != 0)
            __builtin_trap();
    }

    const ymt::sicl::SiclConfig config = ymt::sicl::parseSiclConfig(text);
    for (auto section = config.devices.cbegin(); section != config.devices.cend(); ++section) {
        QStringList problems;
        const ymt::sim::SimThermometerConfig thermometer =
            ymt::sim::parseSimThermometerConfig(section.value(), &problems);
        if (!std::isfinite(thermometer.temperature) || !std::isfinite(thermometer.rampPerMinute) ||
            thermometer.kind < 1 || thermometer.kind > 4)
            __builtin_trap();
        const QByteArray reply =
            ymt::sim::thermometerReply(thermometer.kind, thermometer.temperature);
        if (!ymt::temperatureFromReply(thermometer.kind, QString::fromLatin1(reply)).obtained)
            __builtin_trap();
    }
    for (auto line = config.interfaces.cbegin(); line != config.interfaces.cend(); ++line)
        ymt::sicl::serialDeviceFromParameters(line.value());
    config.transportFor(text.left(8));
    return 0;
}
