// Fuzzes what comes back from a "++" GPIB adapter: the transport reads replies, fixed-size
// fields and serial-poll answers out of arbitrary bytes, split into arbitrary chunks.
#include "instrument/sicl/Sicl.h"
#include "instrument/transports/ByteChannel.h"
#include "instrument/transports/PrologixProtocol.h"
#include "instrument/transports/PrologixTransport.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// An adapter that answers with the fuzz input, in chunks whose sizes come from the input too.
class ScriptedChannel : public ymt::sicl::ByteChannel {
public:
    explicit ScriptedChannel(QByteArray bytes) : replies(std::move(bytes)) {}
    int writeAll(const char*, std::size_t, long) override { return ymt::sicl::I_ERR_NOERROR; }
    int readSome(char* buffer, std::size_t size, long, std::size_t* got) override {
        *got = 0;
        if (position >= replies.size())
            return ymt::sicl::I_ERR_IO;
        const auto chunk =
            static_cast<std::size_t>(1 + static_cast<unsigned char>(replies[position]) % 64);
        const std::size_t taken =
            std::min({chunk, size, static_cast<std::size_t>(replies.size() - position)});
        std::memcpy(buffer, replies.constData() + position, taken);
        position += static_cast<qsizetype>(taken);
        *got = taken;
        return ymt::sicl::I_ERR_NOERROR;
    }

private:
    QByteArray replies;
    qsizetype position = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    unsigned char status = 0;
    ymt::prologix::parseStatusByteReply(bytes, status);

    int error = 0;
    auto transport = ymt::sicl::PrologixTransport::open(std::make_unique<ScriptedChannel>(bytes),
                                                        17, QStringLiteral("fuzz"), &error);
    if (!transport)
        return 0;
    char field[13];
    char reply[255];
    for (int round = 0; round < 64; ++round) {
        int reason = 0;
        std::size_t got = 0;
        char* buffer = round % 2 ? field : reply;
        const std::size_t capacity = round % 2 ? sizeof field : sizeof reply;
        const int rc = transport->read(buffer, capacity, &reason, &got);
        if (got > capacity)
            __builtin_trap();
        if (rc == ymt::sicl::I_ERR_IO)
            break;
        transport->readStatusByte(&status);
    }
    return 0;
}
