// A byte stream to an adapter (TCP socket, serial port), with every wait bounded in real time:
// these waits are on the wire, not on the program's clock.
#pragma once

#include <cstddef>

namespace ymt::sicl {

class ByteChannel {
public:
    virtual ~ByteChannel() = default;
    // Sends every byte; timeoutMs < 0 waits as long as it takes. Error code of Sicl.h.
    virtual int writeAll(const char* data, std::size_t count, long timeoutMs) = 0;
    // Waits for at least one byte and returns what has arrived (I_ERR_NOERROR, *got > 0),
    // I_ERR_TIMEOUT when nothing came in time, I_ERR_IO when the far end has gone.
    virtual int readSome(char* buffer, std::size_t size, long timeoutMs, std::size_t* got) = 0;
};

// A channel over a file descriptor (socket, terminal) that it owns and closes.
class FdChannel : public ByteChannel {
public:
    explicit FdChannel(int fd, bool isSocket);
    ~FdChannel() override;
    FdChannel(const FdChannel&) = delete;
    FdChannel& operator=(const FdChannel&) = delete;

    int writeAll(const char* data, std::size_t count, long timeoutMs) override;
    int readSome(char* buffer, std::size_t size, long timeoutMs, std::size_t* got) override;
    int fd() const { return descriptor; }

private:
    int descriptor;
    bool socket;
};

// Waits until fd is ready for events (POLLIN/POLLOUT); timeoutMs < 0 = no limit. Returns
// 1 ready, 0 timed out, -1 error or hang-up without data. Restarts after signals.
int waitForFd(int fd, short events, long timeoutMs);

} // namespace ymt::sicl
