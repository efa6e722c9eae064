// A fake linux-gpib user library for the tests: the functions the "linux-gpib" transport looks
// up, answering through the simulated adapter server (FakeAdapterLink.h). fake_gpib_* report
// what the transport asked for.
#include "FakeAdapterLink.h"

#include <map>

namespace {

constexpr int kError = 0x8000, kTimeout = 0x4000, kEnd = 0x2000, kComplete = 0x0100;
constexpr int kErrorDriver = 0, kErrorAborted = 6, kErrorBadArgument = 4, kErrorNoBoard = 7;

struct Device {
    int pad = 0;
    int timeoutCode = 0;
};

fake::AdapterLink server;
std::map<int, Device> devices;
int nextDescriptor = 16;
long lastCount = 0;
int lastError = 0;
int lastTimeoutCode = -1;
int lastEos = -1;
int opened = 0;

long timeoutMs(int code) {
    static const double limits[] = {0.01, 0.03, 0.1,  0.3, 1,   3,   10,  30, 100,
                                    300,  1000, 3000, 1e4, 3e4, 1e5, 3e5, 1e6};
    if (code <= 0 || code > 17)
        return -1;
    const double ms = limits[code - 1];
    return ms < 1 ? 1 : long(ms);
}

int fail(int error, int extra = 0) {
    lastError = error;
    return kError | extra;
}

Device* find(int ud) {
    auto found = devices.find(ud);
    if (found == devices.end() || !server.connected() || !server.selectAddress(found->second.pad))
        return nullptr;
    return &found->second;
}

} // namespace

extern "C" {

long ThreadIbcntl() {
    return lastCount;
}

int ThreadIberr() {
    return lastError;
}

int ibdev(int board, int pad, int, int timo, int, int eos) {
    lastCount = 0;
    if (board != 0) {
        lastError = kErrorNoBoard;
        return -1;
    }
    if (!server.connectToServer()) {
        lastError = kErrorDriver;
        return -1;
    }
    lastTimeoutCode = timo;
    lastEos = eos;
    ++opened;
    devices[nextDescriptor] = Device{pad, timo};
    return nextDescriptor++;
}

int ibln(int ud, int pad, int, short* found) {
    const auto device = devices.find(ud);
    if (device == devices.end() || !server.connected() || !server.selectAddress(pad))
        return fail(kErrorBadArgument);
    unsigned char status = 0;
    bool lost = false;
    *found = server.serialPoll(1000, &status, &lost) ? 1 : 0;
    server.selectAddress(device->second.pad);
    return kComplete;
}

int ibwrt(int ud, const void* data, long count) {
    lastCount = 0;
    if (!find(ud) || !server.sendData(static_cast<const char*>(data), count))
        return fail(kErrorDriver);
    lastCount = count;
    return kComplete;
}

int ibrd(int ud, void* buffer, long count) {
    lastCount = 0;
    Device* device = find(ud);
    if (!device)
        return fail(kErrorDriver);
    bool end = false;
    const fake::ReadResult result = server.readReply(
        static_cast<char*>(buffer), count, timeoutMs(device->timeoutCode), &lastCount, &end);
    if (result == fake::ReadResult::Timeout)
        return fail(kErrorAborted, kTimeout);
    if (result == fake::ReadResult::Lost)
        return fail(kErrorDriver);
    return kComplete | (end ? kEnd : 0);
}

int ibrsp(int ud, char* status) {
    Device* device = find(ud);
    if (!device)
        return fail(kErrorDriver);
    unsigned char byte = 0;
    bool lost = false;
    if (!server.serialPoll(timeoutMs(device->timeoutCode), &byte, &lost))
        return fail(lost ? kErrorDriver : kErrorAborted, lost ? 0 : kTimeout);
    *status = static_cast<char>(byte);
    return kComplete;
}

int ibclr(int ud) {
    if (!find(ud) || !server.sendRaw("++clr\n"))
        return fail(kErrorDriver);
    return kComplete;
}

int ibtmo(int ud, int code) {
    auto device = devices.find(ud);
    if (device == devices.end() || code < 0 || code > 17)
        return fail(kErrorBadArgument);
    device->second.timeoutCode = code;
    lastTimeoutCode = code;
    return kComplete;
}

int ibloc(int ud) {
    if (find(ud))
        server.sendRaw("++loc\n");
    return kComplete;
}

int ibonl(int ud, int online) {
    if (online == 0) {
        devices.erase(ud);
        // The server serves one client at a time: let the next one in.
        if (devices.empty())
            server.disconnect();
    }
    return kComplete;
}

int fake_gpib_last_timeout_code() {
    return lastTimeoutCode;
}

int fake_gpib_last_eos() {
    return lastEos;
}

int fake_gpib_open_descriptors() {
    return int(devices.size());
}

int fake_gpib_devices_opened() {
    return opened;
}

} // extern "C"
