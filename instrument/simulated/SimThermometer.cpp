#include "instrument/simulated/SimThermometer.h"

#include "core/Clock.h"
#include "core/Misc.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/thermometer/Thermometer.h"

#include <cmath>
#include <cstdio>

namespace ymt::sim {
namespace {

// What each kind sends before its temperature field; padded or cut to the field position.
const char* replyPrefix(int kind) {
    switch (kind) {
    case kAlmemo2290_2:
        return "01: 12:00:00 M01: ";
    case kAlmemo2290_4:
        return "00: T1 ";
    case kTherm3280_2:
        return "Therm 3280 K1  T= ";
    default:
        return "Therm 3280 K01 T=";
    }
}

QByteArray garbage(int length) {
    static const char noise[] = "#?%&!*$~^|";
    QByteArray bytes;
    for (int i = 0; i < length; ++i)
        bytes += noise[i % (sizeof noise - 1)];
    return bytes;
}

} // namespace

int thermometerKindFromName(const QString& name) {
    QString key = name.toLower();
    key.remove(QLatin1Char(' '));
    if (key == QLatin1String("almemo2290-2"))
        return kAlmemo2290_2;
    if (key == QLatin1String("almemo2290-4"))
        return kAlmemo2290_4;
    if (key == QLatin1String("therm3280-2"))
        return kTherm3280_2;
    if (key == QLatin1String("therm3280-6") || key == QLatin1String("therm3280-6/6m"))
        return kTherm3280_6;
    return 0;
}

SimThermometerConfig parseSimThermometerConfig(const sicl::KeyValueList& lines,
                                               QStringList* problems) {
    SimThermometerConfig config;
    auto problem = [problems](const QString& text) {
        if (problems)
            *problems << text;
    };
    for (const auto& [key, value] : lines) {
        bool ok = true;
        if (key == QLatin1String("device")) {
            const int kind = thermometerKindFromName(value);
            if (kind > 0)
                config.kind = kind;
            else
                problem(QStringLiteral("unknown thermometer: ") + value);
        } else if (key == QLatin1String("temperature")) {
            config.temperature = value.toDouble(&ok);
        } else if (key == QLatin1String("ramp")) {
            config.rampPerMinute = value.toDouble(&ok);
        } else if (key == QLatin1String("reply_ms")) {
            config.replyMs = qBound(0, value.toInt(&ok), 600000);
        } else if (key == QLatin1String("fault")) {
            const QStringList words = value.simplified().split(QLatin1Char(' '));
            const QString name = words.value(0).toLower();
            static const QStringList names = {QStringLiteral("silent"), QStringLiteral("late"),
                                              QStringLiteral("short"), QStringLiteral("garbled"),
                                              QStringLiteral("wrong-field")};
            const qsizetype index = names.indexOf(name);
            if (index < 0) {
                problem(QStringLiteral("unknown fault: ") + value);
                continue;
            }
            config.fault = ThermometerFault(index + 1);
            config.faultyQueries = words.size() > 1 ? qMax(0, words.value(1).toInt(&ok)) : -1;
        } else {
            problem(QStringLiteral("unknown key: ") + key);
        }
        if (!ok)
            problem(QStringLiteral("not a number: ") + key + QStringLiteral(" = ") + value);
        if (!std::isfinite(config.temperature) || !std::isfinite(config.rampPerMinute)) {
            config.temperature = 20;
            config.rampPerMinute = 0;
            problem(QStringLiteral("not a finite number: ") + value);
        }
    }
    return config;
}

QByteArray thermometerReply(int kind, double celsius) {
    const ThermometerProtocol* protocol = thermometerProtocol(kind);
    if (!protocol)
        return {};
    char value[32];
    std::snprintf(value, sizeof value, "%+07.2f", qBound(-999.99, celsius, 999.99));
    QByteArray reply =
        QByteArray(replyPrefix(kind)).leftJustified(protocol->fieldPosition - 1, ' ', true);
    return reply + value + " C\r\n\x03";
}

SimThermometer::SimThermometer(const SimThermometerConfig& configuration) : config(configuration) {}

double SimThermometer::temperatureNow() const {
    if (rampStartMs < 0)
        return config.temperature;
    return config.temperature +
           config.rampPerMinute * double(clock::nowMs() - rampStartMs) / 60000.0;
}

void SimThermometer::acceptBytes(const char* data, std::size_t count, bool end) {
    // Unlike a bus instrument, a new command does not remove a reply still on the line.
    input.append(data, qsizetype(count));
    if (!end)
        return;
    QByteArray message;
    message.swap(input);
    receiveMessage(message);
}

int SimThermometer::serialControl(int request, unsigned long value) {
    if (request == sicl::I_SERIAL_BAUD)
        baudRate = long(value);
    return sicl::I_ERR_NOERROR;
}

void SimThermometer::receiveMessage(const QByteArray& message) {
    const ThermometerProtocol* protocol = thermometerProtocol(config.kind);
    const qint64 now = clock::nowMs();
    if (protocol->startupCommands.contains(QString::fromLatin1(message))) {
        queueReply("OK\r\n\x03", now + config.replyMs);
        return;
    }
    if (message != protocol->command)
        return; // an instrument of another kind: nothing it understands
    if (baudRate != protocol->baudRate) {
        queueReply(garbage(protocol->fieldPosition + 12), now + config.replyMs);
        return;
    }
    if (rampStartMs < 0)
        rampStartMs = now;
    ++queries;
    const bool faulty = config.fault != ThermometerFault::None &&
                        (config.faultyQueries < 0 || queries <= config.faultyQueries);
    QByteArray reply = thermometerReply(config.kind, temperatureNow());
    qint64 readyAt = now + config.replyMs;
    if (faulty) {
        const int field = protocol->fieldPosition - 1;
        switch (config.fault) {
        case ThermometerFault::Silent:
            return;
        case ThermometerFault::Late:
            readyAt = now + config.lateMs;
            break;
        case ThermometerFault::Short:
            reply = reply.left(field - 2) + "\r\n\x03";
            break;
        case ThermometerFault::Garbled:
            reply.replace(field, kThermometerFieldLength, garbage(kThermometerFieldLength));
            break;
        case ThermometerFault::WrongField:
            reply.insert(field, QByteArray(kThermometerFieldLength + 2, ' '));
            break;
        case ThermometerFault::None:
            break;
        }
    }
    queueReply(reply, readyAt);
}

SimDeviceFactory makeSimThermometerFactory() {
    return [](const sicl::KeyValueList& lines) {
        return std::shared_ptr<SimDevice>(
            std::make_shared<SimThermometer>(parseSimThermometerConfig(lines)));
    };
}

} // namespace ymt::sim
