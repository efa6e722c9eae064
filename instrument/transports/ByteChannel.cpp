#include "instrument/transports/ByteChannel.h"

#include "instrument/sicl/Sicl.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>

namespace ymt::sicl {

int waitForFd(int fd, short events, long timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int waitMs = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            waitMs = left <= 0 ? 0 : static_cast<int>(left > INT_MAX ? INT_MAX : left);
        }
        pollfd entry{fd, events, 0};
        const int rc = ::poll(&entry, 1, waitMs);
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc < 0)
            return -1;
        if (rc == 0)
            return 0;
        // A hang-up with unread data still lets the data be read first.
        if (entry.revents & events)
            return 1;
        return -1;
    }
}

FdChannel::FdChannel(int fd, bool isSocket) : descriptor(fd), socket(isSocket) {}

FdChannel::~FdChannel() {
    if (descriptor >= 0)
        ::close(descriptor);
}

int FdChannel::writeAll(const char* data, std::size_t count, long timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    std::size_t sent = 0;
    while (sent < count) {
        long left = -1;
        if (timeoutMs >= 0) {
            left = timeoutMs -
                   static_cast<long>(
                       std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)
                           .count());
            if (left < 0)
                left = 0;
        }
        const int ready = waitForFd(descriptor, POLLOUT, left);
        if (ready == 0)
            return I_ERR_TIMEOUT;
        if (ready < 0)
            return I_ERR_IO;
        // A peer that went away must not kill the program with SIGPIPE.
        const ssize_t n = socket ? ::send(descriptor, data + sent, count - sent, MSG_NOSIGNAL)
                                 : ::write(descriptor, data + sent, count - sent);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n <= 0)
            return I_ERR_IO;
        sent += static_cast<std::size_t>(n);
    }
    return I_ERR_NOERROR;
}

int FdChannel::readSome(char* buffer, std::size_t size, long timeoutMs, std::size_t* got) {
    *got = 0;
    for (;;) {
        const int ready = waitForFd(descriptor, POLLIN, timeoutMs);
        if (ready == 0)
            return I_ERR_TIMEOUT;
        if (ready < 0)
            return I_ERR_IO;
        const ssize_t n = ::read(descriptor, buffer, size);
        if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue;
        if (n <= 0)
            return I_ERR_IO;
        *got = static_cast<std::size_t>(n);
        return I_ERR_NOERROR;
    }
}

} // namespace ymt::sicl
