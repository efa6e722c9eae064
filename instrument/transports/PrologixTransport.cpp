#include "instrument/transports/PrologixTransport.h"

#include "core/Clock.h"
#include "core/TextCatalogue.h"
#include "instrument/sicl/IoTrace.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/AdapterLine.h"
#include "instrument/transports/PrologixProtocol.h"
#include "instrument/transports/SerialChannel.h"
#include "instrument/transports/TcpChannel.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace ymt::sicl {
namespace {

// Silence beyond the adapter's own read timeout after which it has surely given up a read.
constexpr long kAdapterGiveUpMarginMs = 250;
// The adapter's inter-character read timeout can be set to at most this.
constexpr long kMaxAdapterReadTimeoutMs = 3000;
constexpr long kOpenTimeoutMs = 2000;
// A restarting adapter board answers within about 3 s.
constexpr int kVersionAttempts = 4;
constexpr long kVersionWaitMs = 1000;

// Deadlines are in whole milliseconds of the program's clock, so a deadline not yet reached
// is at least a millisecond away and no wait rounds down to none.
long msUntil(qint64 deadline) {
    return static_cast<long>(deadline - clock::nowMs());
}

} // namespace

PrologixTransport::PrologixTransport(std::unique_ptr<ByteChannel> byteChannel)
    : channel(std::move(byteChannel)) {}

std::unique_ptr<PrologixTransport> PrologixTransport::open(std::unique_ptr<ByteChannel> channel,
                                                           int primaryAddress, const QString& where,
                                                           int* error, bool awaitAdapter) {
    std::unique_ptr<PrologixTransport> transport(new PrologixTransport(std::move(channel)));
    // The version line also marks the point up to which stray replies are dropped later.
    const bool answers = transport->adapterAnswers(awaitAdapter ? kVersionAttempts : 1);
    if (!answers && (awaitAdapter || transport->linkClosed)) {
        reportOpenProblem(transport->linkClosed ? Text(Txt::IoAdapterClosedAtOnce).arg(where)
                                                : Text(Txt::IoAdapterSilent).arg(where));
        *error = I_ERR_NOCONN;
        return nullptr;
    }
    // Controller mode, replies only on request, EOI with the last byte, nothing appended
    // (the program's commands carry their own CR LF).
    const QByteArray setup = "++mode 1\n++auto 0\n++eoi 1\n++eos 3\n++read_tmo_ms " +
                             QByteArray::number(qint64(transport->adapterReadTimeoutMs)) +
                             "\n++addr " + QByteArray::number(primaryAddress) + "\n";
    if (transport->sendLine(setup) != I_ERR_NOERROR) {
        reportOpenProblem(Text(Txt::IoAdapterRefusesCommands).arg(where));
        *error = I_ERR_IO;
        return nullptr;
    }
    // A device answers the serial poll; an empty address leaves the adapter silent.
    unsigned char status = 0;
    if (const int rc = transport->readStatusByte(&status); rc != I_ERR_NOERROR) {
        reportOpenProblem(transport->linkClosed
                              ? Text(Txt::IoAdapterClosed).arg(where)
                              : Text(Txt::IoNoSerialPollAnswer).arg(where).arg(primaryAddress));
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
        const auto deadline = clock::nowMs() + kVersionWaitMs;
        while (input.indexOf('\n') < 0 && msUntil(deadline) > 0) {
            if (receive(deadline, true, kVersionWaitMs) == I_ERR_IO)
                return false;
        }
        if (const qsizetype lineEnd = input.indexOf('\n'); lineEnd >= 0) {
            versionLine = input.left(lineEnd + 1);
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

void PrologixTransport::dropStray(const char* why) {
    if (input.isEmpty())
        return;
    ++strayReplies;
    if (ioTraceEnabled())
        writeIoTraceLine(QByteArray("prologix dropped ") + why + " \"" +
                         cEscaped(input.constData(), std::size_t(input.size())) + "\"");
    input.clear();
    // A reply end marked in the dropped bytes must not end the next read at once.
    replyEnd = -1;
}

void PrologixTransport::drainArrived() {
    char chunk[4096];
    for (;;) {
        std::size_t got = 0;
        if (channel->readSome(chunk, sizeof chunk, 0, &got) != I_ERR_NOERROR || got == 0)
            break;
        input.append(chunk, static_cast<qsizetype>(got));
    }
}

void PrologixTransport::resynchronise() {
    const bool readWasCut = readRequested;
    // A link may deliver a reply twice, the copy after the original has been read.
    const bool afterReply = std::exchange(replyTaken, false);
    // A read the caller gave up on is still running in the adapter: its reply, if it comes,
    // belongs to no query, so wait until the adapter has ended that read.
    while (readRequested && !linkClosed) {
        if (input.indexOf('\n') >= 0 || clock::nowMs() >= silenceEnd) {
            readRequested = false;
            break;
        }
        if (receive(silenceEnd, true, kMaxAdapterReadTimeoutMs) == I_ERR_IO)
            break;
    }
    readRequested = false;
    drainArrived();
    if (!readWasCut && !afterReply && input.isEmpty())
        return;
    dropStray(readWasCut ? "a reply after its read ended" : "a reply nobody asked for");
    if (versionLine.isEmpty() || linkClosed)
        return;
    // The adapter answers in order: whatever comes before its version line is left over.
    if (sendLine("++ver\n") != I_ERR_NOERROR)
        return;
    const auto deadline = clock::nowMs() + kMaxAdapterReadTimeoutMs + kVersionWaitMs;
    while (input.indexOf(versionLine) < 0 && clock::nowMs() < deadline) {
        if (receive(deadline, true, kVersionWaitMs) == I_ERR_IO)
            break;
    }
    const qsizetype marker = input.indexOf(versionLine);
    if (marker >= 0)
        input.remove(marker, versionLine.size());
    dropStray("a late reply");
    input.clear();
    replyEnd = -1;
}

int PrologixTransport::write(const char* data, std::size_t count, bool end, std::size_t* actual) {
    *actual = 0;
    pendingOutput.append(data, static_cast<qsizetype>(count));
    if (!end) {
        // The adapter ends every line it forwards with EOI, so a message goes out whole.
        *actual = count;
        return I_ERR_NOERROR;
    }
    // Each query gets its own reply: nothing of an earlier one may be taken for it.
    resynchronise();
    const QByteArray line = prologix::dataLine(pendingOutput.constData(),
                                               static_cast<std::size_t>(pendingOutput.size()));
    pendingOutput.clear();
    const int rc = sendLine(line);
    if (rc == I_ERR_NOERROR)
        *actual = count;
    return rc;
}

int PrologixTransport::receive(qint64 deadline, bool hasDeadline, long sliceMs) {
    long wait = sliceMs;
    if (hasDeadline)
        wait = std::min(wait, std::max(0L, msUntil(deadline)));
    char chunk[4096];
    std::size_t got = 0;
    const int rc = channel->readSome(chunk, sizeof chunk, wait, &got);
    if (rc == I_ERR_IO)
        linkClosed = true;
    if (rc != I_ERR_NOERROR || got == 0)
        return rc;
    const qsizetype before = input.size();
    input.append(chunk, static_cast<qsizetype>(got));
    if (readRequested) {
        silenceEnd = clock::nowMs() + outstandingSilenceMs;
        // The line feed ends the reply: the adapter's read is over, and what follows it in
        // the same burst belongs to no query.
        if (const qsizetype lineEnd = input.indexOf('\n', before); lineEnd >= 0) {
            readRequested = false;
            replyTaken = true;
            replyEnd = lineEnd + 1;
        }
    }
    return rc;
}

int PrologixTransport::read(char* buffer, std::size_t size, int* reason, std::size_t* actual) {
    *reason = 0;
    *actual = 0;
    const bool hasDeadline = timeoutMs > 0;
    const auto deadline = clock::nowMs() + timeoutMs;
    const auto handOver = [&](std::size_t available, bool messageEnds) {
        const std::size_t taken = std::min(size, available);
        std::memcpy(buffer, input.constData(), taken);
        input.remove(0, static_cast<qsizetype>(taken));
        if (replyEnd >= 0)
            replyEnd -= static_cast<qsizetype>(taken);
        *actual = taken;
        if (taken == size)
            *reason |= I_TERM_MAXCNT;
        if (messageEnds && taken == available) {
            *reason |= I_TERM_END;
            replyEnd = -1;
            dropStray("bytes after the end of a reply");
        }
    };
    for (;;) {
        const std::size_t available =
            replyEnd >= 0 ? std::size_t(replyEnd) : std::size_t(input.size());
        if (size > 0 && (available >= size || replyEnd >= 0)) {
            handOver(available, replyEnd >= 0);
            return I_ERR_NOERROR;
        }
        if (size == 0)
            return I_ERR_NOERROR;
        if (!readRequested && !input.isEmpty()) {
            // The adapter ended its read without a line feed (EOI alone, or its own timeout):
            // the bytes are handed over, but they do not end a message.
            handOver(std::size_t(input.size()), false);
            return I_ERR_NOERROR;
        }
        if (linkClosed)
            return I_ERR_IO;
        if (hasDeadline && clock::nowMs() >= deadline) {
            // What came before the timeout is handed over with the error; the read stays
            // outstanding in the adapter and is settled before the next message.
            handOver(std::size_t(input.size()), false);
            return I_ERR_TIMEOUT;
        }
        if (!readRequested) {
            drainArrived();
            dropStray("a reply nobody asked for");
            if (const int rc = sendLine("++read eoi\n"); rc != I_ERR_NOERROR)
                return rc;
            readRequested = true;
            outstandingSilenceMs = adapterReadTimeoutMs + kAdapterGiveUpMarginMs;
            silenceEnd = clock::nowMs() + outstandingSilenceMs;
        }
        // Wait for bytes until the caller's deadline or until the adapter has surely given up
        // its read; only then is a new read asked for.
        const auto until = hasDeadline ? std::min(deadline, silenceEnd) : silenceEnd;
        const int rc = receive(until, true, kMaxAdapterReadTimeoutMs + kAdapterGiveUpMarginMs);
        if (rc == I_ERR_IO) {
            readRequested = false;
            continue; // what arrived before the link closed is handed over first
        }
        if (readRequested && clock::nowMs() >= silenceEnd)
            readRequested = false;
    }
}

int PrologixTransport::readStatusByte(unsigned char* status) {
    *status = 0;
    resynchronise();
    if (const int rc = sendLine("++spoll\n"); rc != I_ERR_NOERROR)
        return rc;
    const long limit =
        timeoutMs > 0 ? timeoutMs : kMaxAdapterReadTimeoutMs + kAdapterGiveUpMarginMs;
    const auto deadline = clock::nowMs() + limit;
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
    resynchronise();
    pendingOutput.clear();
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
