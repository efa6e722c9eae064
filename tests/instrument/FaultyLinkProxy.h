// A network link between a controller and the simulated adapter server that misbehaves on
// chosen reply lines: it holds a line back (the whole stream stalls, as a slow network does),
// sends a line twice, garbles a byte of it, or closes the link in the middle of a line. One client
// at a time.
#pragma once

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

namespace ymt::testing {

struct LinkFault {
    enum class Kind { None, Late, Twice, CutAfter, Garble } kind = Kind::None;
    // Milliseconds late, bytes of the line passed on before the cut, or the position of the
    // byte that is garbled.
    int amount = 0;
};

class FaultyLinkProxy {
public:
    // Decides what happens to reply line n (0-based; every line the server sends counts).
    using Plan = std::function<LinkFault(int n, const QByteArray& line)>;

    // Listens on a free loopback port and passes a client on to 127.0.0.1:serverPort.
    bool start(int serverPort, Plan plan) {
        faults = std::move(plan);
        target = serverPort;
        listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 1) != 0)
            return false;
        socklen_t length = sizeof address;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        boundPort = ntohs(address.sin_port);
        pump = std::thread([this] { run(); });
        return true;
    }

    ~FaultyLinkProxy() {
        stopping = true;
        if (pump.joinable())
            pump.join();
        if (listener >= 0)
            ::close(listener);
    }

    int port() const { return boundPort; }
    int linesPassed() const { return lines; }

private:
    static int connectTo(int port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        return fd;
    }

    static void sendAll(int fd, const char* data, std::size_t count) {
        while (count > 0) {
            const ssize_t n = ::send(fd, data, count, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            data += n;
            count -= std::size_t(n);
        }
    }

    void run() {
        while (!stopping) {
            pollfd waiting{listener, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0)
                continue;
            const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            const int server = connectTo(target);
            if (server >= 0)
                serve(client, server);
            ::close(client);
            if (server >= 0)
                ::close(server);
        }
    }

    // False once the link has been cut.
    bool passReplies(int client, QByteArray& pending) {
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QByteArray line = pending.left(end + 1);
            pending.remove(0, end + 1);
            const LinkFault fault = faults(lines++, line);
            switch (fault.kind) {
            case LinkFault::Kind::Late:
                std::this_thread::sleep_for(std::chrono::milliseconds(fault.amount));
                sendAll(client, line.constData(), std::size_t(line.size()));
                break;
            case LinkFault::Kind::Twice:
                sendAll(client, line.constData(), std::size_t(line.size()));
                sendAll(client, line.constData(), std::size_t(line.size()));
                break;
            case LinkFault::Kind::CutAfter:
                sendAll(client, line.constData(),
                        std::size_t(std::min<qsizetype>(fault.amount, line.size())));
                return false;
            case LinkFault::Kind::Garble: {
                QByteArray garbled = line;
                if (fault.amount < garbled.size())
                    garbled[fault.amount] = '?';
                sendAll(client, garbled.constData(), std::size_t(garbled.size()));
                break;
            }
            case LinkFault::Kind::None:
                sendAll(client, line.constData(), std::size_t(line.size()));
                break;
            }
        }
        return true;
    }

    void serve(int client, int server) {
        QByteArray pending;
        char buffer[65536];
        while (!stopping) {
            pollfd entries[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (::poll(entries, 2, 50) <= 0)
                continue;
            if (entries[0].revents & (POLLIN | POLLHUP)) {
                const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    return;
                sendAll(server, buffer, std::size_t(n));
            }
            if (entries[1].revents & (POLLIN | POLLHUP)) {
                const ssize_t n = ::recv(server, buffer, sizeof buffer, 0);
                if (n <= 0)
                    return;
                pending.append(buffer, n);
                if (!passReplies(client, pending))
                    return;
            }
        }
    }

    Plan faults;
    int target = 0;
    int listener = -1;
    int boundPort = 0;
    std::atomic<int> lines{0};
    std::atomic<bool> stopping{false};
    std::thread pump;
};

} // namespace ymt::testing
