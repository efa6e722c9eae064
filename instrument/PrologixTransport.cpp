#include "instrument/PrologixTransport.h"

#include "instrument/AdapterLine.h"
#include "instrument/OpenProblem.h"
#include "instrument/PrologixProtocol.h"
#include "instrument/SerialChannel.h"
#include "instrument/Sicl.h"
#include "instrument/TcpChannel.h"

#include <algorithm>
#include <cstring>

namespace ymt::sicl {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Silence beyond the adapter's own read timeout after which it has surely given up a read.
constexpr long kAdapterGiveUpMarginMs = 250;
// The adapter's inter-character read timeout can be set to at most this.
constexpr long kMaxAdapterReadTimeoutMs = 3000;
constexpr long kOpenTimeoutMs = 2000;
// A restarting adapter board answers within about 3 s.
constexpr int kVersionAttempts = 4;
constexpr long kVersionWaitMs = 1000;

long msUntil(SteadyClock::time_point deadline) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now())
            .count());
}

} // namespace

PrologixTransport::PrologixTransport(std::unique_ptr<ByteChannel> byteChannel)
    : channel(std::move(byteChannel)) {}

std::unique_ptr<PrologixTransport> PrologixTransport::open(std::unique_ptr<ByteChannel> channel,
                                                           int primaryAddress, const QString& where,
                                                           int* error, bool awaitAdapter) {
    std::unique_ptr<PrologixTransport> transport(new PrologixTransport(std::move(channel)));
    if (awaitAdapter && !transport->adapterAnswers(kVersionAttempts)) {
        reportOpenProblem(QStringLiteral("%1: the adapter does not answer").arg(where));
        *error = I_ERR_NOCONN;
        return nullptr;
    }
    // Controller mode, replies only on request, EOI with the last byte, nothing appended
    // (the program's commands carry their own CR LF).
    const QByteArray setup = "++mode 1\n++auto 0\n++eoi 1\n++eos 3\n++read_tmo_ms " +
                             QByteArray::number(qint64(transport->adapterReadTimeoutMs)) +
                             "\n++addr " + QByteArray::number(primaryAddress) + "\n";
    if (transport->sendLine(setup) != I_ERR_NOERROR) {
        reportOpenProblem(QStringLiteral("%1: the adapter does not take commands").arg(where));
        *error = I_ERR_IO;
        return nullptr;
    }
    // A device answers the serial poll; an empty address leaves the adapter silent.
    unsigned char status = 0;
    if (transport->readStatusByte(&status) != I_ERR_NOERROR) {
        reportOpenProblem(QStringLiteral("%1: no device answers the serial poll at GPIB address %2")
                              .arg(where)
                              .arg(primaryAddress));
        *error = I_ERR_NOCONN;
        return nullptr;
    }
    return transport;
}

bool PrologixTransport::adapterAnswers(int attempts) {
    for (int attempt = 0; attempt < attempts; ++attempt) {
        input.clear();
        if (sendLine("++ver\n") != I_ERR_NOERROR)
            return false;
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(kVersionWaitMs);
        while (input.indexOf('\n') < 0 && msUntil(deadline) > 0) {
            if (receive(deadline, true, kVersionWaitMs) == I_ERR_IO)
                return false;
        }
        if (input.indexOf('\n') >= 0) {
            input.clear();
            return true;
        }
    }
    return false;
}

int PrologixTransport::sendLine(const QByteArray& line) {
    const long limit = timeoutMs > 0 ? timeoutMs : -1;
    return channel->writeAll(line.constData(), static_cast<std::size_t>(line.size()), limit);
}

int PrologixTransport::write(const char* data, std::size_t count, bool end, std::size_t* actual) {
    *actual = 0;
    pendingOutput.append(data, static_cast<qsizetype>(count));
    if (!end) {
        // The adapter ends every line it forwards with EOI, so a message goes out whole.
        *actual = count;
        return I_ERR_NOERROR;
    }
    // A new message makes the instrument drop a reply nobody read; so do we.
    input.clear();
    readRequested = false;
    const QByteArray line = prologix::dataLine(pendingOutput.constData(),
                                               static_cast<std::size_t>(pendingOutput.size()));
    pendingOutput.clear();
    const int rc = sendLine(line);
    if (rc == I_ERR_NOERROR)
        *actual = count;
    return rc;
}

int PrologixTransport::receive(SteadyClock::time_point deadline, bool hasDeadline, long sliceMs) {
    long wait = sliceMs;
    if (hasDeadline)
        wait = std::min(wait, std::max(0L, msUntil(deadline)));
    char chunk[4096];
    std::size_t got = 0;
    const int rc = channel->readSome(chunk, sizeof chunk, wait, &got);
    if (rc == I_ERR_NOERROR)
        input.append(chunk, static_cast<qsizetype>(got));
    return rc;
}

int PrologixTransport::read(char* buffer, std::size_t size, int* reason, std::size_t* actual) {
    *reason = 0;
    *actual = 0;
    const bool hasDeadline = timeoutMs > 0;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    const long adapterSilence = adapterReadTimeoutMs + kAdapterGiveUpMarginMs;
    bool quietAfterBytes = false;
    for (;;) {
        const qsizetype lineEnd = input.indexOf('\n');
        const std::size_t available =
            lineEnd >= 0 ? std::size_t(lineEnd + 1) : std::size_t(input.size());
        const bool messageEnds = lineEnd >= 0 || (quietAfterBytes && !input.isEmpty());
        if (size > 0 && (available >= size || messageEnds)) {
            const std::size_t taken = std::min(size, available);
            std::memcpy(buffer, input.constData(), taken);
            input.remove(0, static_cast<qsizetype>(taken));
            *actual = taken;
            if (taken == size)
                *reason |= I_TERM_MAXCNT;
            if (messageEnds && taken == available) {
                *reason |= I_TERM_END;
                readRequested = false;
            }
            return I_ERR_NOERROR;
        }
        if (size == 0)
            return I_ERR_NOERROR;
        if (hasDeadline && msUntil(deadline) <= 0) {
            // What came before the timeout is handed over with the error.
            const std::size_t taken = std::min(size, std::size_t(input.size()));
            std::memcpy(buffer, input.constData(), taken);
            input.remove(0, static_cast<qsizetype>(taken));
            *actual = taken;
            readRequested = false;
            return I_ERR_TIMEOUT;
        }
        if (!readRequested) {
            if (const int rc = sendLine("++read eoi\n"); rc != I_ERR_NOERROR)
                return rc;
            readRequested = true;
        }
        const qsizetype before = input.size();
        const int rc = receive(deadline, hasDeadline, adapterSilence);
        if (rc == I_ERR_IO) {
            readRequested = false;
            return I_ERR_IO;
        }
        if (rc == I_ERR_TIMEOUT && input.size() == before) {
            if (input.isEmpty())
                readRequested = false; // the adapter gave up this read: ask again
            else
                quietAfterBytes = true; // EOI without LF: the adapter stopped after its last byte
        }
    }
}

int PrologixTransport::readStatusByte(unsigned char* status) {
    *status = 0;
    input.clear();
    readRequested = false;
    if (const int rc = sendLine("++spoll\n"); rc != I_ERR_NOERROR)
        return rc;
    const long limit =
        timeoutMs > 0 ? timeoutMs : kMaxAdapterReadTimeoutMs + kAdapterGiveUpMarginMs;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(limit);
    while (input.indexOf('\n') < 0) {
        if (msUntil(deadline) <= 0)
            return I_ERR_TIMEOUT;
        const int rc = receive(deadline, true, limit);
        if (rc == I_ERR_IO)
            return rc;
    }
    const qsizetype lineEnd = input.indexOf('\n');
    const QByteArray reply = input.left(lineEnd + 1);
    input.remove(0, lineEnd + 1);
    return prologix::parseStatusByteReply(reply, *status) ? I_ERR_NOERROR : I_ERR_IO;
}

int PrologixTransport::clear() {
    input.clear();
    pendingOutput.clear();
    readRequested = false;
    return sendLine("++clr\n");
}

int PrologixTransport::setTimeout(long ms) {
    timeoutMs = ms;
    const long adapterMs =
        ms <= 0 ? kMaxAdapterReadTimeoutMs : std::clamp(ms, 1L, kMaxAdapterReadTimeoutMs);
    if (adapterMs == adapterReadTimeoutMs)
        return I_ERR_NOERROR;
    adapterReadTimeoutMs = adapterMs;
    return sendLine("++read_tmo_ms " + QByteArray::number(qint64(adapterMs)) + "\n");
}

int PrologixTransport::serialControl(int, unsigned long) {
    return I_ERR_NOTSUPP;
}

void PrologixTransport::close() {
    // Back to local, so that the operator's front panel is not left locked.
    if (channel)
        channel->writeAll("++loc\n", 6, kOpenTimeoutMs);
    channel.reset();
}

TransportFactory makePrologixTransportFactory() {
    return [](const DeviceAddress& address, const QString& parameters, const SiclConfig&,
              int* error) -> std::unique_ptr<Transport> {
        AdapterLine line;
        QString problem;
        if (!readAdapterLineForOpen(QStringLiteral("prologix"), address.interfaceName, parameters,
                                    line, error))
            return nullptr;
        if (address.isSerial()) {
            *error = I_ERR_BADADDR;
            return nullptr;
        }
        std::unique_ptr<ByteChannel> channel;
        QString where;
        if (line.kind == AdapterLine::Kind::PrologixTcp) {
            where = QStringLiteral("prologix tcp %1:%2").arg(line.host).arg(line.port);
            channel = connectTcp(line.host, line.port, kOpenTimeoutMs, &problem);
        } else {
            where = QStringLiteral("prologix serial %1").arg(line.devicePath);
            channel = openSerialChannel(line.devicePath, line.baudRate, &problem);
        }
        if (!channel) {
            reportOpenProblem(where + QStringLiteral(": ") + problem);
            *error = I_ERR_NOCONN;
            return nullptr;
        }
        return PrologixTransport::open(std::move(channel), address.primaryAddress, where, error,
                                       line.kind == AdapterLine::Kind::PrologixSerial);
    };
}

} // namespace ymt::sicl
