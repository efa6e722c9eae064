// A fake VISA library for the tests: the functions the "visa" transport looks up, answering
// through the simulated adapter server (FakeAdapterLink.h). fake_visa_* report what the
// transport asked for.
#include "FakeAdapterLink.h"

#include <cstdint>
#include <cstdio>
#include <map>

namespace {

using ViStatus = std::int32_t;
using ViSession = std::uint32_t;
using ViUInt32 = std::uint32_t;

constexpr ViStatus kSuccess = 0;
constexpr ViStatus kTermChar = 0x3FFF0005;
constexpr ViStatus kMaxCount = 0x3FFF0006;
constexpr ViStatus kErrorTimeout = ViStatus(0xBFFF0015u);
constexpr ViStatus kErrorNotFound = ViStatus(0xBFFF0011u);
constexpr ViStatus kErrorConnectionLost = ViStatus(0xBFFF00A6u);
constexpr ViStatus kErrorInvalidObject = ViStatus(0xBFFF000Eu);
constexpr ViStatus kErrorAttribute = ViStatus(0xBFFF001Du);
constexpr std::uint32_t kAttrTimeout = 0x3FFF001A, kAttrTermChar = 0x3FFF0018,
                        kAttrTermCharEnabled = 0x3FFF0038, kAttrSendEnd = 0x3FFF0016;
constexpr ViSession kManager = 1;

struct Session {
    int pad = 0;
    unsigned long timeoutMs = 2000;
    bool termCharEnabled = false;
};

fake::AdapterLink server;
std::map<ViSession, Session> sessions;
ViSession nextSession = 100;
unsigned long lastTimeout = 0;
std::string lastResource;
bool sendEnd = false;

Session* find(ViSession vi) {
    auto found = sessions.find(vi);
    if (found == sessions.end() || !server.connected() || !server.selectAddress(found->second.pad))
        return nullptr;
    return &found->second;
}

long boundedTimeout(unsigned long ms) {
    return ms == 0xFFFFFFFFul ? -1 : long(ms);
}

} // namespace

extern "C" {

ViStatus viOpenDefaultRM(ViSession* manager) {
    *manager = kManager;
    return kSuccess;
}

ViStatus viOpen(ViSession manager, const char* resource, ViUInt32, ViUInt32, ViSession* vi) {
    lastResource = resource ? resource : "";
    int board = -1, pad = -1, consumed = 0;
    if (manager != kManager ||
        std::sscanf(lastResource.c_str(), "GPIB%d::%d::INSTR%n", &board, &pad, &consumed) != 2 ||
        std::size_t(consumed) != lastResource.size() || board != 0 || pad < 0 || pad > 30)
        return kErrorNotFound;
    if (!server.connectToServer() || !server.selectAddress(pad))
        return kErrorNotFound;
    unsigned char status = 0;
    bool lost = false;
    if (!server.serialPoll(1000, &status, &lost)) {
        if (sessions.empty())
            server.disconnect();
        return kErrorNotFound;
    }
    *vi = nextSession++;
    sessions[*vi] = Session{pad, 2000, false};
    return kSuccess;
}

ViStatus viClose(ViSession vi) {
    if (vi == kManager)
        return kSuccess;
    if (!sessions.erase(vi))
        return kErrorInvalidObject;
    // The server serves one client at a time: let the next one in.
    if (sessions.empty())
        server.disconnect();
    return kSuccess;
}

ViStatus viSetAttribute(ViSession vi, std::uint32_t attribute, unsigned long value) {
    auto found = sessions.find(vi);
    if (found == sessions.end())
        return kErrorInvalidObject;
    switch (attribute) {
    case kAttrTimeout:
        found->second.timeoutMs = value;
        lastTimeout = value;
        return kSuccess;
    case kAttrTermCharEnabled:
        found->second.termCharEnabled = value != 0;
        return kSuccess;
    case kAttrTermChar:
        return value == '\n' ? kSuccess : kErrorAttribute;
    case kAttrSendEnd:
        sendEnd = value != 0;
        return kSuccess;
    }
    return kErrorAttribute;
}

ViStatus viWrite(ViSession vi, const unsigned char* data, ViUInt32 count, ViUInt32* written) {
    *written = 0;
    if (!find(vi))
        return kErrorInvalidObject;
    if (!server.sendData(reinterpret_cast<const char*>(data), long(count)))
        return kErrorConnectionLost;
    *written = count;
    return kSuccess;
}

ViStatus viRead(ViSession vi, unsigned char* buffer, ViUInt32 count, ViUInt32* got) {
    *got = 0;
    Session* session = find(vi);
    if (!session)
        return kErrorInvalidObject;
    long received = 0;
    bool end = false;
    const fake::ReadResult result =
        server.readReply(reinterpret_cast<char*>(buffer), long(count),
                         boundedTimeout(session->timeoutMs), &received, &end);
    *got = ViUInt32(received);
    if (result == fake::ReadResult::Timeout)
        return kErrorTimeout;
    if (result == fake::ReadResult::Lost)
        return kErrorConnectionLost;
    if (end)
        return session->termCharEnabled ? kTermChar : kSuccess;
    return kMaxCount;
}

ViStatus viReadSTB(ViSession vi, unsigned short* status) {
    Session* session = find(vi);
    if (!session)
        return kErrorInvalidObject;
    unsigned char byte = 0;
    bool lost = false;
    if (!server.serialPoll(boundedTimeout(session->timeoutMs), &byte, &lost))
        return lost ? kErrorConnectionLost : kErrorTimeout;
    *status = byte;
    return kSuccess;
}

ViStatus viClear(ViSession vi) {
    if (!find(vi) || !server.sendRaw("++clr\n"))
        return kErrorConnectionLost;
    return kSuccess;
}

unsigned long fake_visa_last_timeout() {
    return lastTimeout;
}

const char* fake_visa_last_resource() {
    return lastResource.c_str();
}

int fake_visa_send_end() {
    return sendEnd ? 1 : 0;
}

} // extern "C"
