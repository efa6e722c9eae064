// Fuzzes what the USBTMC driver hands back: messages of any length and content, timeouts and
// errors in any order, read through the transport into buffers of a trace field and a reply.
#include "FuzzReplies.h"
#include "FuzzSupport.h"

#include "instrument/sicl/Sicl.h"
#include "instrument/transports/UsbtmcTransport.h"

#include <cerrno>
#include <cstdint>
#include <memory>

namespace {

class ScriptedDriver : public ymt::sicl::UsbtmcDevice {
public:
    explicit ScriptedDriver(ymt::fuzz::ReplyStream& stream) : stream_(stream) {}
    ssize_t readMessage(char* buffer, std::size_t size) override {
        const unsigned char control = stream_.control();
        if (control % 11 == 0)
            return -ETIMEDOUT;
        if (control % 13 == 0)
            return -EIO;
        return static_cast<ssize_t>(stream_.chunk(buffer, size));
    }
    ssize_t writeMessage(const char*, std::size_t count) override {
        return stream_.control() % 17 == 0 ? -EIO : static_cast<ssize_t>(count);
    }
    int readStatusByte(unsigned char* status) override {
        *status = stream_.control();
        return 0;
    }
    int clear() override { return 0; }
    int setTimeout(std::uint32_t) override { return 0; }

private:
    ymt::fuzz::ReplyStream& stream_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using ymt::fuzz::check;
    ymt::fuzz::ReplyStream stream(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    ymt::sicl::UsbtmcTransport transport(std::make_unique<ScriptedDriver>(stream));
    char field[13];
    char reply[255];
    for (int round = 0; round < 64 && !stream.atEnd(); ++round) {
        std::size_t sent = 0;
        transport.write("A?\r\n", 4, round % 3 == 0, &sent);
        int reason = 0;
        std::size_t got = 0;
        char* buffer = round % 2 ? field : reply;
        const std::size_t capacity = round % 2 ? sizeof field : sizeof reply;
        const int rc = transport.read(buffer, capacity, &reason, &got);
        check(got <= capacity);
        check(rc != ymt::sicl::I_ERR_NOERROR || got == capacity ||
              (reason & ymt::sicl::I_TERM_END));
        unsigned char status = 0;
        transport.readStatusByte(&status);
    }
    return 0;
}
