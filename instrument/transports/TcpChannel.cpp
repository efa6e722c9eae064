#include "instrument/transports/TcpChannel.h"

#include "core/TextCatalogue.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ymt::sicl {
namespace {

QString where(const QString& host, int port) {
    return host + QLatin1Char(':') + QString::number(port);
}

// Connects one resolved address; the socket or -1 with errno-like code in *failure.
int connectAddress(const addrinfo& address, long timeoutMs, int* failure) {
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                            address.ai_protocol);
    if (fd < 0) {
        *failure = errno;
        return -1;
    }
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0 && errno != EINPROGRESS) {
        *failure = errno;
        ::close(fd);
        return -1;
    }
    const int ready = waitForFd(fd, POLLOUT, timeoutMs);
    int soError = 0;
    socklen_t length = sizeof soError;
    if (ready <= 0 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) != 0 || soError) {
        *failure = ready == 0 ? ETIMEDOUT : (soError ? soError : ECONNREFUSED);
        ::close(fd);
        return -1;
    }
    // Commands are short lines; sending each at once matters more than packing them.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

} // namespace

std::unique_ptr<FdChannel> connectTcp(const QString& host, int port, long timeoutMs,
                                      QString* error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray hostBytes = host.toLatin1();
    const QByteArray portBytes = QByteArray::number(port);
    if (const int rc = ::getaddrinfo(hostBytes.constData(), portBytes.constData(), &hints, &found);
        rc != 0) {
        if (error)
            *error =
                Text(Txt::IoCannotResolve).arg(host, QString::fromLocal8Bit(::gai_strerror(rc)));
        return nullptr;
    }
    int failure = 0;
    int fd = -1;
    for (const addrinfo* address = found; address && fd < 0; address = address->ai_next)
        fd = connectAddress(*address, timeoutMs, &failure);
    ::freeaddrinfo(found);
    if (fd < 0) {
        if (error)
            *error = Text(Txt::IoCannotConnect)
                         .arg(where(host, port), QString::fromLocal8Bit(std::strerror(failure)));
        return nullptr;
    }
    return std::make_unique<FdChannel>(fd, true);
}

} // namespace ymt::sicl
