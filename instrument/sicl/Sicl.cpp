#include "instrument/sicl/Sicl.h"

#include "core/TextCatalogue.h"
#include "instrument/analyzer/ReplyParsers.h"
#include "instrument/sicl/IoTrace.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/sicl/Transport.h"

#include <QByteArray>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace ymt::sicl {
namespace {

struct Sessions {
    std::map<int, std::unique_ptr<Transport>> open;
    int nextHandle = 1;
};

Sessions& sessions() {
    static Sessions instance;
    return instance;
}

Transport* find(int handle) {
    const auto found = sessions().open.find(handle);
    return found == sessions().open.end() ? nullptr : found->second.get();
}

QByteArray rcText(int rc) {
    return " rc=" + QByteArray::number(rc);
}

void trace(const QByteArray& line) {
    if (ioTraceEnabled())
        writeIoTraceLine(line);
}

// Splits the transport line "name parameters" of sicl.conf.
void splitTransportLine(const QString& line, QString& name, QString& parameters) {
    const QString trimmed = line.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    name = blank < 0 ? trimmed : trimmed.left(blank);
    parameters = blank < 0 ? QString() : trimmed.mid(blank + 1).trimmed();
}

int openSession(const char* text) {
    clearOpenProblem();
    if (!text)
        return 0;
    DeviceAddress address;
    if (!parseDeviceAddress(QString::fromLatin1(text, qsizetype(strnlen(text, 101))), address))
        return 0;
    const SiclConfig config = currentConfig();
    QString transportName, parameters;
    splitTransportLine(config.transportFor(address.interfaceName), transportName, parameters);
    const TransportFactory* factory = findTransport(transportName);
    if (!factory) {
        if (!transportName.isEmpty())
            reportOpenProblem(
                Text(Txt::IoUnknownTransport).arg(transportName, address.interfaceName));
        return 0;
    }
    int error = I_ERR_NOERROR;
    std::unique_ptr<Transport> transport = (*factory)(address, parameters, config, &error);
    if (!transport)
        return 0;
    const int handle = sessions().nextHandle++;
    sessions().open[handle] = std::move(transport);
    return handle;
}

// Reads one whole message (up to END, an error or limit bytes) for the formatted input.
int readMessage(Transport& transport, QByteArray& message, std::size_t limit) {
    char chunk[512];
    while (static_cast<std::size_t>(message.size()) < limit) {
        int reason = 0;
        std::size_t got = 0;
        const std::size_t want =
            std::min(sizeof chunk, limit - static_cast<std::size_t>(message.size()));
        const int rc = transport.read(chunk, want, &reason, &got);
        message.append(chunk, static_cast<qsizetype>(std::min(got, want)));
        if (rc != I_ERR_NOERROR)
            return rc;
        if (reason & I_TERM_END)
            return I_ERR_NOERROR;
        if (got == 0)
            return I_ERR_IO;
    }
    return I_ERR_OVERFLOW;
}

// "%,Nlf" -> N; 0 when the format is not that list format.
std::size_t listFormatCount(const char* format) {
    if (!format)
        return 0;
    unsigned long count = 0;
    int consumed = 0;
    if (std::sscanf(format, "%%,%lulf%n", &count, &consumed) != 1 || consumed == 0 ||
        format[consumed] != '\0')
        return 0;
    // A list longer than any trace is a format error, not a reason to read without bound.
    constexpr unsigned long kMaxListValues = 1UL << 20;
    return count <= kMaxListValues ? count : 0;
}

} // namespace

int iopen(const char* address) {
    const int handle = openSession(address);
    trace("iopen \"" + cEscaped(address ? address : "", address ? strnlen(address, 101) : 0) +
          "\" -> " + QByteArray::number(handle));
    return handle;
}

int iclose(int handle) {
    int rc = I_ERR_INVLINST;
    if (auto found = sessions().open.find(handle); found != sessions().open.end()) {
        found->second->close();
        sessions().open.erase(found);
        rc = I_ERR_NOERROR;
    }
    trace("iclose " + QByteArray::number(handle) + rcText(rc));
    return rc;
}

int iwrite(int handle, const char* data, std::size_t count, bool end, std::size_t* actual) {
    std::size_t sent = 0;
    int rc = I_ERR_INVLINST;
    if (Transport* transport = find(handle))
        rc = (data || count == 0) ? transport->write(data, count, end, &sent) : I_ERR_PARAM;
    if (actual)
        *actual = sent;
    if (ioTraceEnabled()) {
        QByteArray line = "iwrite " + QByteArray::number(handle) + " \"" +
                          cEscaped(data, data ? count : 0) + "\"";
        if (end)
            line += " END";
        if (rc != I_ERR_NOERROR)
            line += rcText(rc);
        writeIoTraceLine(line);
    }
    return rc;
}

int iread(int handle, char* buffer, std::size_t size, int* reason, std::size_t* actual) {
    int why = 0;
    std::size_t got = 0;
    int rc = I_ERR_INVLINST;
    if (Transport* transport = find(handle))
        rc = (buffer || size == 0) ? transport->read(buffer, size, &why, &got) : I_ERR_PARAM;
    got = std::min(got, size);
    if (reason)
        *reason = why;
    if (actual)
        *actual = got;
    if (ioTraceEnabled())
        writeIoTraceLine("iread " + QByteArray::number(handle) + " \"" + cEscaped(buffer, got) +
                         "\"" + rcText(rc));
    return rc;
}

int iscanf(int handle, const char* format, double* values, std::size_t capacity) {
    const std::size_t wanted = listFormatCount(format);
    Transport* transport = find(handle);
    int stored = 0;
    if (transport && wanted > 0 && values) {
        // Enough room for every value in any sensible notation, so a long reply is bounded.
        const std::size_t limit = wanted * 48 + 1024;
        QByteArray message;
        // A message that did not end (link lost, timeout) may stop inside a number.
        const bool complete = readMessage(*transport, message, limit) == I_ERR_NOERROR;
        stored = static_cast<int>(ParseValueList(message.constData(),
                                                 static_cast<std::size_t>(message.size()), values,
                                                 std::min(wanted, capacity), complete));
    }
    trace("iscanf " + QByteArray::number(handle) + " \"" +
          cEscaped(format ? format : "", format ? std::strlen(format) : 0) + "\" -> " +
          QByteArray::number(stored));
    return stored;
}

int itimeout(int handle, long ms) {
    int rc = I_ERR_INVLINST;
    if (Transport* transport = find(handle))
        rc = ms < 0 ? I_ERR_PARAM : transport->setTimeout(ms);
    trace("itimeout " + QByteArray::number(handle) + ' ' + QByteArray::number(qint64(ms)) +
          rcText(rc));
    return rc;
}

int iclear(int handle) {
    int rc = I_ERR_INVLINST;
    if (Transport* transport = find(handle))
        rc = transport->clear();
    trace("iclear " + QByteArray::number(handle) + rcText(rc));
    return rc;
}

int ireadstb(int handle, unsigned char* status) {
    unsigned char byte = 0;
    int rc = I_ERR_INVLINST;
    if (Transport* transport = find(handle))
        rc = transport->readStatusByte(&byte);
    if (status)
        *status = byte;
    if (ioTraceEnabled()) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", byte);
        writeIoTraceLine("ireadstb " + QByteArray::number(handle) + ' ' + hex + rcText(rc));
    }
    return rc;
}

const char* igeterrstr(int code) {
    const char* text = "Unknown error";
    switch (code) {
    case I_ERR_NOERROR:
        text = "No error";
        break;
    case I_ERR_BADADDR:
        text = "Bad address";
        break;
    case I_ERR_NOCONN:
        text = "No connection to the device";
        break;
    case I_ERR_INVLINST:
        text = "Invalid session";
        break;
    case I_ERR_TIMEOUT:
        text = "Timeout occurred";
        break;
    case I_ERR_PARAM:
        text = "Invalid parameter";
        break;
    case I_ERR_IO:
        text = "Input/output error";
        break;
    case I_ERR_NOTSUPP:
        text = "Operation not supported";
        break;
    case I_ERR_SYMNAME:
        text = "Invalid symbolic name";
        break;
    case I_ERR_BADCONFIG:
        text = "Invalid configuration";
        break;
    case I_ERR_OVERFLOW:
        text = "Buffer overflow";
        break;
    }
    trace("igeterrstr " + QByteArray::number(code) + " \"" + text + "\"");
    return text;
}

int iversion(int* major, int* minor) {
    if (major)
        *major = kVersionMajor;
    if (minor)
        *minor = kVersionMinor;
    trace("iversion " + QByteArray::number(kVersionMajor) + ' ' +
          QByteArray::number(kVersionMinor) + rcText(I_ERR_NOERROR));
    return I_ERR_NOERROR;
}

int iserialctrl(int handle, int request, unsigned long value) {
    int rc = I_ERR_INVLINST;
    if (Transport* transport = find(handle))
        rc = transport->serialControl(request, value);
    trace("iserialctrl " + QByteArray::number(handle) + ' ' + QByteArray::number(request) + ' ' +
          QByteArray::number(quint64(value)) + rcText(rc));
    return rc;
}

void closeAllSessions() {
    for (auto& [handle, transport] : sessions().open)
        transport->close();
    sessions().open.clear();
    sessions().nextHandle = 1;
}

} // namespace ymt::sicl
