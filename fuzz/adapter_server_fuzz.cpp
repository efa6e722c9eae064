// Fuzzes the simulated adapter server with arbitrary controller lines ("++" commands and
// instrument data for the simulated analyzers) over a socket pair.
#include "core/Clock.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimAdapterServer.h"
#include "instrument/simulated/SimBus.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <thread>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ymt::clock::setVirtual(true);
    ymt::sim::resetBus();
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        return 0;
    // The controller side writes the input and drains every reply, so the server never blocks.
    std::thread controller([fd = pair[1], data, size] {
        std::size_t sent = 0;
        while (sent < size) {
            const ssize_t n = ::send(fd, data + sent, size - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += std::size_t(n);
        }
        ::shutdown(fd, SHUT_WR);
        char sink[4096];
        while (::read(fd, sink, sizeof sink) > 0) {
        }
        ::close(fd);
    });
    ymt::sim::SimAdapterServer server(
        ymt::sicl::parseSiclConfig(QStringLiteral("[gpib0,17]\ndevice = HP4294A\n"
                                                  "[gpib0,5]\ndevice = HP4194A\n")),
        QStringLiteral("gpib0"));
    server.serveClient(
        pair[0], [] { return true; }, [](const QString&) {});
    controller.join();
    return 0;
}
