// The "prologix" transport: a GPIB adapter with the "++" command set, reached over TCP (the
// network adapters, port 1234) or a serial port (the USB adapters and their clones). The
// adapter runs as controller with EOI on the last byte sent and nothing appended; replies are
// fetched with "++read eoi" and end at LF, which both analyzers send last.
#pragma once

#include "instrument/sicl/Transport.h"
#include "instrument/transports/ByteChannel.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace ymt::sicl {

class PrologixTransport : public Transport {
public:
    // Sets the adapter up for the device at primaryAddress and checks by a serial poll that
    // something answers there. Null with *error (and an open problem reported) otherwise.
    // awaitAdapter: ask the adapter for its version until it answers (a few seconds at most)
    // before setting it up; serial clones built on small boards restart when the port opens.
    static std::unique_ptr<PrologixTransport> open(std::unique_ptr<ByteChannel> channel,
                                                   int primaryAddress, const QString& where,
                                                   int* error, bool awaitAdapter = false);

    int write(const char* data, std::size_t count, bool end, std::size_t* actual) override;
    int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) override;
    int readStatusByte(unsigned char* status) override;
    int clear() override;
    int setTimeout(long ms) override;
    int serialControl(int request, unsigned long value) override;
    void close() override;

private:
    explicit PrologixTransport(std::unique_ptr<ByteChannel> channel);
    int sendLine(const QByteArray& line);
    // Waits for bytes until the deadline (or the adapter's own read timeout and a margin);
    // appends them to the input buffer.
    int receive(qint64 deadline, bool hasDeadline, long sliceMs);
    // True once the adapter has answered "++ver" (asked up to attempts times, 1 s apart).
    bool adapterAnswers(int attempts);
    // Settles a read still running in the adapter and drops every byte no query asked for,
    // so that the next reply read is the reply to the next query.
    void resynchronise();
    // Appends what has already arrived, without waiting.
    void drainArrived();
    // Drops the input as a stray reply (counted and written to the I/O trace).
    void dropStray(const char* why);

    std::unique_ptr<ByteChannel> channel;
    long timeoutMs = 2000;
    long adapterReadTimeoutMs = 2000;
    QByteArray pendingOutput; // bytes of a message written without END
    QByteArray input;         // reply bytes received and not yet read
    // A "++read eoi" is running in the adapter; it has surely given up at silenceEnd.
    bool readRequested = false;
    qint64 silenceEnd = 0; // on the program clock, in ms
    long outstandingSilenceMs = 0;
    qsizetype replyEnd = -1; // bytes of input up to the line feed of the reply, or -1
    QByteArray versionLine;  // the adapter's "++ver" line, which ends a resynchronisation
    bool linkClosed = false;
    bool replyTaken = false; // a reply came since the last resynchronisation

public:
    // Replies (or parts of them) dropped because no query was waiting for them.
    int strayReplies = 0;
};

// The factory registered as "prologix".
TransportFactory makePrologixTransportFactory();

} // namespace ymt::sicl
