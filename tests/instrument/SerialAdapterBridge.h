// A USB GPIB adapter as the serial transport sees it: a pseudo-terminal whose far end passes
// the bytes on to the simulated adapter server over loopback TCP and back. When the server
// goes away the bridge hangs up the line, like an adapter pulled from the USB port.
#pragma once

#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace ymt::testing {

class SerialAdapterBridge {
public:
    // False when the server at 127.0.0.1:port cannot be reached. For bootMs after the start
    // the adapter ignores what it is sent, like a board that restarts when the port opens.
    bool start(int port, int bootMs = 0) {
        bootUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(bootMs);
        socketFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
            return false;
        int slave = -1;
        char name[256] = {};
        if (::openpty(&masterFd, &slave, name, nullptr, nullptr) != 0)
            return false;
        termios raw{};
        ::tcgetattr(slave, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave, TCSANOW, &raw);
        ::close(slave);
        slavePath = QString::fromLocal8Bit(name);
        pump = std::thread([this] { run(); });
        return true;
    }

    ~SerialAdapterBridge() {
        stopping = true;
        if (pump.joinable())
            pump.join();
        if (masterFd >= 0)
            ::close(masterFd);
        if (socketFd >= 0)
            ::close(socketFd);
    }

    QString path() const { return slavePath; }

private:
    void run() {
        char buffer[4096];
        while (!stopping) {
            pollfd entries[2] = {{masterFd, POLLIN, 0}, {socketFd, POLLIN, 0}};
            if (::poll(entries, 2, 50) <= 0)
                continue;
            if (entries[0].revents & POLLIN) {
                const ssize_t n = ::read(masterFd, buffer, sizeof buffer);
                if (n > 0 && std::chrono::steady_clock::now() >= bootUntil)
                    ::send(socketFd, buffer, std::size_t(n), MSG_NOSIGNAL);
            }
            if (entries[1].revents & (POLLIN | POLLHUP)) {
                const ssize_t n = ::recv(socketFd, buffer, sizeof buffer, 0);
                if (n <= 0) {
                    // The adapter is gone: the line hangs up, once the bytes it passed on have
                    // been read (a hang-up discards what the line still holds).
                    std::this_thread::sleep_for(std::chrono::milliseconds(300));
                    ::close(masterFd);
                    masterFd = -1;
                    return;
                }
                for (ssize_t sent = 0; sent < n;) {
                    const ssize_t m = ::write(masterFd, buffer + sent, std::size_t(n - sent));
                    if (m <= 0)
                        break;
                    sent += m;
                }
            }
        }
    }

    int masterFd = -1;
    int socketFd = -1;
    QString slavePath;
    std::chrono::steady_clock::time_point bootUntil;
    std::atomic<bool> stopping{false};
    std::thread pump;
};

} // namespace ymt::testing
