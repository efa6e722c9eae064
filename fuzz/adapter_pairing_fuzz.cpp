// Fuzzes the pairing of replies with their queries in the "++" adapter transport: a scripted
// adapter answers each read at once, twice, or only after the read has timed out, and hands
// its bytes over in chunks of any size. Whatever the order, a read that succeeds returns the
// reply to the query written last, whole, and never one of an earlier query.
#include "FuzzSupport.h"

#include "core/Clock.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/ByteChannel.h"
#include "instrument/transports/PrologixProtocol.h"
#include "instrument/transports/PrologixTransport.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>

namespace {

constexpr char kVersion[] = "scripted adapter\r\n";

// Keeps its bytes in order, as an adapter does: a late reply comes before anything it sends
// for a later command.
class ScriptedAdapter : public ymt::sicl::ByteChannel {
public:
    ScriptedAdapter(const std::uint8_t* data, std::size_t size) : script(data), length(size) {}

    int writeAll(const char* data, std::size_t count, long) override {
        splitter.feed(data, count);
        while (auto line = splitter.next()) {
            if (line->kind == ymt::prologix::AdapterLine::Kind::Data) {
                lastQuery = line->text;
            } else if (line->text == "ver") {
                releaseHeld();
                output += kVersion;
            } else if (line->text == "spoll") {
                releaseHeld();
                output += "0\r\n";
            } else if (line->text == "read eoi") {
                answerRead();
            }
        }
        return ymt::sicl::I_ERR_NOERROR;
    }

    int readSome(char* buffer, std::size_t size, long timeoutMs, std::size_t* got) override {
        *got = 0;
        if (output.isEmpty()) {
            // Silent for one wait (on the virtual clock, so that the outcome does not depend
            // on the machine's load); a held reply comes with the next one.
            ymt::clock::sleepMs(timeoutMs);
            releaseHeld();
            return ymt::sicl::I_ERR_TIMEOUT;
        }
        const std::size_t chunk = 1 + next() % 32;
        const std::size_t taken = std::min({chunk, size, std::size_t(output.size())});
        std::memcpy(buffer, output.constData(), taken);
        output.remove(0, qsizetype(taken));
        *got = taken;
        return ymt::sicl::I_ERR_NOERROR;
    }

private:
    unsigned next() { return position < length ? script[position++] : 0; }

    void answerRead() {
        // The reply of a query "Qn?" is "Rn".
        const QByteArray reply = "R" + lastQuery.mid(1, lastQuery.size() - 2) + "\n";
        switch (next() % 4) {
        case 0:
        case 1:
            output += reply;
            break;
        case 2:
            output += reply + reply;
            break;
        default:
            held.push_back(reply);
            break;
        }
    }

    void releaseHeld() {
        while (!held.empty()) {
            output += held.front();
            held.pop_front();
        }
    }

    const std::uint8_t* script;
    std::size_t length;
    std::size_t position = 0;
    ymt::prologix::LineSplitter splitter;
    QByteArray lastQuery;
    QByteArray output;
    std::deque<QByteArray> held;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ymt::clock::setVirtual(true);
    auto adapter = std::make_unique<ScriptedAdapter>(data, size);
    int error = 0;
    auto transport =
        ymt::sicl::PrologixTransport::open(std::move(adapter), 17, QStringLiteral("fuzz"), &error);
    ymt::fuzz::check(transport != nullptr);
    // A read gives up after a virtual second, so the scripted late replies come after it.
    transport->setTimeout(1000);
    for (int query = 0; query < 24; ++query) {
        const QByteArray text = "Q" + QByteArray::number(query) + "?";
        std::size_t sent = 0;
        transport->write(text.constData(), std::size_t(text.size()), true, &sent);
        char reply[64];
        int reason = 0;
        std::size_t got = 0;
        const int rc = transport->read(reply, sizeof reply, &reason, &got);
        const QByteArray received(reply, qsizetype(got));
        if (rc == ymt::sicl::I_ERR_NOERROR)
            ymt::fuzz::check(received == "R" + QByteArray::number(query) + "\n" &&
                             (reason & ymt::sicl::I_TERM_END));
        else
            ymt::fuzz::check(("R" + QByteArray::number(query) + "\n").startsWith(received));
    }
    return 0;
}
