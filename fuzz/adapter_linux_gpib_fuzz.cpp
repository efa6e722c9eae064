// Fuzzes what the linux-gpib library hands back: any ibsta bits, any ibcnt (also more than was
// asked for) and any bytes, read through the transport into buffers of a trace field and a
// reply, with serial polls in between.
#include "FuzzReplies.h"
#include "FuzzSupport.h"

#include "instrument/sicl/Sicl.h"
#include "instrument/transports/LinuxGpibTransport.h"

#include <cstdint>

namespace {

ymt::fuzz::ReplyStream* stream = nullptr;
long lastCount = 0;

int statusBits(unsigned char control) {
    // ERR, TIMO and END, the bits the transport looks at, in every combination.
    return (control & 1 ? 0x8000 : 0) | (control & 2 ? 0x4000 : 0) | (control & 4 ? 0x2000 : 0);
}

int fakeIbrd(int, void* buffer, long count) {
    const unsigned char control = stream->control();
    lastCount = static_cast<long>(
        stream->chunk(static_cast<char*>(buffer), static_cast<std::size_t>(count)));
    if (control & 8)
        lastCount += control; // a library that reports more than it stored
    return statusBits(control);
}
int fakeIbwrt(int, const void*, long count) {
    lastCount = count;
    return statusBits(stream->control() & 3);
}
int fakeIbrsp(int, char* status) {
    *status = static_cast<char>(stream->control());
    return statusBits(stream->control() & 1);
}
int fakeZero(int) {
    return 0;
}
int fakeIbtmo(int, int) {
    return 0;
}
int fakeIbonl(int, int) {
    return 0;
}
long fakeCount() {
    return lastCount;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ymt::fuzz::ReplyStream replies(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    stream = &replies;
    ymt::sicl::GpibApi api;
    api.ibrd = fakeIbrd;
    api.ibwrt = fakeIbwrt;
    api.ibrsp = fakeIbrsp;
    api.ibclr = fakeZero;
    api.ibloc = fakeZero;
    api.ibtmo = fakeIbtmo;
    api.ibonl = fakeIbonl;
    api.threadIbcntl = fakeCount;
    auto transport = ymt::sicl::makeLinuxGpibTransport(api, 3);
    ymt::fuzz::ExerciseTransport(*transport, replies, true);
    stream = nullptr;
    return 0;
}
