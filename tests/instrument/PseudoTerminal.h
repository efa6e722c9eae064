// A pseudo-terminal for serial tests: the program opens the slave path like a serial port,
// the test plays the device on the master side.
#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace ymt::testing {

class PseudoTerminal {
public:
    PseudoTerminal() {
        int slave = -1;
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            slavePath = QString::fromLocal8Bit(name);
            // Kept open so that the line does not hang up between the program's sessions.
            slaveKeepAlive = slave;
            fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~PseudoTerminal() { closeAll(); }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool ok() const { return master >= 0; }
    QString path() const { return slavePath; }
    int masterFd() const { return master; }
    int slaveFd() const { return slaveKeepAlive; }

    void send(const QByteArray& bytes) const {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n =
                ::write(master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n > 0)
                done += n;
            else if (errno != EAGAIN && errno != EINTR)
                return;
        }
    }

    // Everything the program has written, waiting up to waitMs real milliseconds for the
    // first byte and then until the line is quiet.
    QByteArray receive(int waitMs = 1000) const {
        QByteArray bytes;
        int wait = waitMs;
        for (;;) {
            pollfd ready{master, POLLIN, 0};
            if (poll(&ready, 1, wait) <= 0 || !(ready.revents & POLLIN))
                return bytes;
            char chunk[512];
            const ssize_t n = ::read(master, chunk, sizeof chunk);
            if (n <= 0)
                return bytes;
            bytes.append(chunk, n);
            wait = 20;
        }
    }

    void closeAll() {
        if (master >= 0)
            ::close(master);
        if (slaveKeepAlive >= 0)
            ::close(slaveKeepAlive);
        master = slaveKeepAlive = -1;
    }

private:
    int master = -1;
    int slaveKeepAlive = -1;
    QString slavePath;
};

} // namespace ymt::testing
