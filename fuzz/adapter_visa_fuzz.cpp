// Fuzzes what a VISA library hands back: any completion or error code, any count (also more
// than was asked for) and any bytes, read through the transport into buffers of a trace field
// and a reply, with serial polls in between.
#include "FuzzReplies.h"
#include "FuzzSupport.h"

#include "instrument/sicl/Sicl.h"
#include "instrument/transports/VisaTransport.h"

#include <array>
#include <cstdint>

namespace {

using ymt::sicl::ViAttr;
using ymt::sicl::ViSession;
using ymt::sicl::ViStatus;
using ymt::sicl::ViUInt32;

ymt::fuzz::ReplyStream* stream = nullptr;

ViStatus statusOf(unsigned char control) {
    // Success, end by termination character, end by count, timeout, an I/O error, or anything.
    static constexpr std::array<std::uint32_t, 6> codes = {0,           0x3FFF0005u, 0x3FFF0006u,
                                                           0xBFFF0015u, 0xBFFF003Eu, 0};
    const std::size_t pick = control % 7;
    return static_cast<ViStatus>(pick < codes.size() ? codes[pick] : control * 0x01010101u);
}

ViStatus fakeRead(ViSession, unsigned char* buffer, ViUInt32 count, ViUInt32* got) {
    const unsigned char control = stream->control();
    *got = static_cast<ViUInt32>(stream->chunk(reinterpret_cast<char*>(buffer), count));
    if (control & 0x80)
        *got += control; // a library that reports more than it stored
    return statusOf(control);
}
ViStatus fakeWrite(ViSession, const unsigned char*, ViUInt32 count, ViUInt32* written) {
    *written = count;
    return statusOf(stream->control() % 2);
}
ViStatus fakeReadStb(ViSession, std::uint16_t* status) {
    *status = stream->control();
    return statusOf(stream->control());
}
ViStatus fakeSession(ViSession) {
    return 0;
}
ViStatus fakeSetAttribute(ViSession, ViAttr, unsigned long) {
    return 0;
}
ViStatus fakeRen(ViSession, std::uint16_t) {
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ymt::fuzz::ReplyStream replies(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    stream = &replies;
    ymt::sicl::VisaApi api;
    api.viRead = fakeRead;
    api.viWrite = fakeWrite;
    api.viReadSTB = fakeReadStb;
    api.viClear = fakeSession;
    api.viClose = fakeSession;
    api.viSetAttribute = fakeSetAttribute;
    api.viGpibControlREN = fakeRen;
    auto transport = ymt::sicl::makeVisaTransport(api, 5);
    ymt::fuzz::ExerciseTransport(*transport, replies, false);
    stream = nullptr;
    return 0;
}
