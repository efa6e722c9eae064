// The one place where transports get their names, plus the address syntax they share.
#include "instrument/sicl/Transport.h"
#include "instrument/simulated/SimBus.h"
#include "instrument/transports/LinuxGpibTransport.h"
#include "instrument/transports/PrologixTransport.h"
#include "instrument/transports/SerialTransport.h"
#include "instrument/transports/UsbtmcTransport.h"
#include "instrument/transports/VisaTransport.h"

#include <QMap>
#include <QRegularExpression>

namespace ymt::sicl {
namespace {

QMap<QString, TransportFactory>& registry() {
    static QMap<QString, TransportFactory> transports;
    static bool builtInsRegistered = false;
    if (!builtInsRegistered) {
        builtInsRegistered = true;
        transports.insert(QStringLiteral("sim"), sim::makeSimTransportFactory());
        transports.insert(QStringLiteral("prologix"), makePrologixTransportFactory());
        transports.insert(QStringLiteral("usbtmc"), makeUsbtmcTransportFactory());
        transports.insert(QStringLiteral("linux-gpib"), makeLinuxGpibTransportFactory());
        transports.insert(QStringLiteral("visa"), makeVisaTransportFactory());
        transports.insert(QStringLiteral("serial"), makeSerialTransportFactory());
    }
    return transports;
}

} // namespace

QString DeviceAddress::key() const {
    if (isSerial())
        return QStringLiteral("com%1").arg(comPort);
    return interfaceName.toLower() + QLatin1Char(',') + QString::number(primaryAddress);
}

bool parseDeviceAddress(const QString& text, DeviceAddress& address) {
    static const QRegularExpression serial(QStringLiteral("^COM([1-9][0-9]{0,2})$"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression gpib(QStringLiteral("^([A-Za-z][A-Za-z0-9_]*),([0-9]{1,2})$"));
    const QString trimmed = text.trimmed();
    if (trimmed.size() > 100)
        return false;
    address = DeviceAddress();
    if (const auto match = serial.match(trimmed); match.hasMatch()) {
        address.interfaceName = trimmed.toUpper();
        address.comPort = match.captured(1).toInt();
        return true;
    }
    if (const auto match = gpib.match(trimmed); match.hasMatch()) {
        const int primary = match.captured(2).toInt();
        if (primary > 30) // GPIB primary addresses are 0-30
            return false;
        address.interfaceName = match.captured(1);
        address.primaryAddress = primary;
        return true;
    }
    return false;
}

void registerTransport(const QString& name, TransportFactory factory) {
    registry().insert(name.toLower(), std::move(factory));
}

const TransportFactory* findTransport(const QString& name) {
    const auto& transports = registry();
    const auto found = transports.constFind(name.toLower());
    return found == transports.constEnd() ? nullptr : &found.value();
}

} // namespace ymt::sicl
