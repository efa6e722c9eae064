#include "instrument/SimAdapterServer.h"

#include "core/Clock.h"
#include "instrument/ByteChannel.h"
#include "instrument/PrologixProtocol.h"
#include "instrument/Sicl.h"
#include "instrument/SimAnalyzer.h"
#include "instrument/SimBus.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ymt::sim {
namespace {

constexpr int kPollSliceMs = 200;
constexpr long kMaxReadTimeoutMs = 3000;

} // namespace

struct SimAdapterServer::Client {
    explicit Client(int fd) : channel(fd, true) {}
    sicl::FdChannel channel;
    prologix::LineSplitter splitter;
    int address = -1;
    long readTimeoutMs = kMaxReadTimeoutMs;
    bool readAfterEveryLine = false; // ++auto 1
    std::map<int, std::unique_ptr<sicl::Transport>> sessions;
};

SimAdapterServer::SimAdapterServer(sicl::SiclConfig config, QString interfaceName)
    : configuration(std::move(config)), interface(std::move(interfaceName)) {}

SimAdapterServer::~SimAdapterServer() {
    if (listener >= 0)
        ::close(listener);
}

bool SimAdapterServer::listen(const QString& host, int port, QString* error) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    const QByteArray hostBytes = host.toLatin1();
    if (::inet_pton(AF_INET, hostBytes.constData(), &address.sin_addr) != 1) {
        *error = QStringLiteral("\"%1\" is not an IPv4 address").arg(host);
        return false;
    }
    listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (listener < 0 ||
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, 1) != 0) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(host)
                     .arg(port)
                     .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    boundPort = ntohs(address.sin_port);
    return true;
}

void SimAdapterServer::run(const std::function<bool()>& keepRunning,
                           const std::function<void(const QString&)>& log) {
    while (keepRunning()) {
        if (sicl::waitForFd(listener, POLLIN, kPollSliceMs) <= 0)
            continue;
        const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        const int on = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        log(QStringLiteral("client connected"));
        serveClient(fd, keepRunning, log);
        log(QStringLiteral("client gone after %1 reads").arg(readsOfLastClient));
    }
}

void SimAdapterServer::serveClient(int fd, const std::function<bool()>& keepRunning,
                                   const std::function<void(const QString&)>& log) {
    Client client(fd);
    readsOfLastClient = 0;
    char chunk[4096];
    while (keepRunning()) {
        std::size_t got = 0;
        const int rc = client.channel.readSome(chunk, sizeof chunk, kPollSliceMs, &got);
        if (rc == sicl::I_ERR_TIMEOUT)
            continue;
        if (rc != sicl::I_ERR_NOERROR)
            return;
        client.splitter.feed(chunk, got);
        while (auto line = client.splitter.next()) {
            bool alive = true;
            switch (line->kind) {
            case prologix::AdapterLine::Kind::Overlong:
                log(QStringLiteral("refused a line of more than 64 KB"));
                break;
            case prologix::AdapterLine::Kind::Command:
                alive = handleCommand(client, line->text);
                break;
            case prologix::AdapterLine::Kind::Data:
                alive = handleData(client, line->text);
                break;
            }
            if (!alive)
                return;
        }
    }
}

sicl::Transport* SimAdapterServer::session(Client& client) {
    if (client.address < 0)
        return nullptr;
    auto found = client.sessions.find(client.address);
    if (found == client.sessions.end()) {
        sicl::DeviceAddress address;
        address.interfaceName = interface;
        address.primaryAddress = client.address;
        int error = 0;
        auto transport = makeSimTransportFactory()(address, QString(), configuration, &error);
        if (!transport)
            return nullptr;
        transport->setTimeout(client.readTimeoutMs);
        found = client.sessions.emplace(client.address, std::move(transport)).first;
    }
    return found->second.get();
}

// On the virtual clock an instrument finishes whatever it is busy with before it is polled,
// so that sweeps take no real time while their order stays the same.
void SimAdapterServer::fastForward(Client& client) {
    if (!clock::isVirtual())
        return;
    const QString key = interface.toLower() + QLatin1Char(',') + QString::number(client.address);
    if (auto* analyzer = dynamic_cast<SimAnalyzer*>(deviceAt(key)))
        clock::sleepMs(analyzer->busyUntil() - clock::nowMs());
}

bool SimAdapterServer::handleData(Client& client, const QByteArray& data) {
    if (sicl::Transport* device = session(client)) {
        std::size_t sent = 0;
        device->write(data.constData(), static_cast<std::size_t>(data.size()), true, &sent);
    }
    return client.readAfterEveryLine ? readReply(client, false) : true;
}

bool SimAdapterServer::readReply(Client& client, bool untilLineFeed) {
    sicl::Transport* device = session(client);
    if (!device)
        return true; // nobody talks: a real adapter just times out
    // On the virtual clock a reply that is on its way comes at once, however long the
    // instrument takes; only a reply that will never come times out.
    const QString key = interface.toLower() + QLatin1Char(',') + QString::number(client.address);
    const SimDevice* simulated = deviceAt(key);
    const bool waitForPendingReply = clock::isVirtual() && simulated && simulated->hasOutput();
    if (waitForPendingReply)
        device->setTimeout(0);
    QByteArray reply;
    char chunk[4096];
    for (;;) {
        int reason = 0;
        std::size_t got = 0;
        const int rc = device->read(chunk, sizeof chunk, &reason, &got);
        reply.append(chunk, static_cast<qsizetype>(got));
        if (rc != sicl::I_ERR_NOERROR || (reason & sicl::I_TERM_END) ||
            (untilLineFeed && reply.endsWith('\n')) || got == 0)
            break;
    }
    if (waitForPendingReply)
        device->setTimeout(client.readTimeoutMs);
    if (reply.isEmpty())
        return true;
    return client.channel.writeAll(reply.constData(), static_cast<std::size_t>(reply.size()),
                                   kMaxReadTimeoutMs) == sicl::I_ERR_NOERROR;
}

bool SimAdapterServer::handleCommand(Client& client, const QByteArray& command) {
    const QList<QByteArray> words = command.simplified().split(' ');
    const QByteArray name = words.value(0).toLower();
    const QByteArray argument = words.value(1);
    const auto send = [&client](const QByteArray& text) {
        return client.channel.writeAll(text.constData(), static_cast<std::size_t>(text.size()),
                                       kMaxReadTimeoutMs) == sicl::I_ERR_NOERROR;
    };
    bool numberOk = false;
    const int number = argument.toInt(&numberOk);
    if (name == "addr") {
        if (argument.isEmpty())
            return send(QByteArray::number(client.address) + "\r\n");
        if (numberOk && number >= 0 && number <= 30)
            client.address = number;
        return true;
    }
    if (name == "auto") {
        if (numberOk)
            client.readAfterEveryLine = number == 1;
        return argument.isEmpty() ? send(client.readAfterEveryLine ? "1\r\n" : "0\r\n") : true;
    }
    if (name == "read") {
        ++readsOfLastClient;
        return readReply(client, argument == "10");
    }
    if (name == "read_tmo_ms") {
        if (numberOk && number >= 1 && number <= kMaxReadTimeoutMs) {
            client.readTimeoutMs = number;
            for (auto& [address, device] : client.sessions)
                device->setTimeout(number);
        }
        return true;
    }
    if (name == "spoll") {
        const int saved = client.address;
        if (numberOk && number >= 0 && number <= 30)
            client.address = number;
        sicl::Transport* device = session(client);
        bool alive = true;
        if (device) {
            fastForward(client);
            unsigned char status = 0;
            device->readStatusByte(&status);
            alive = send(QByteArray::number(status) + "\r\n");
        }
        client.address = saved;
        return alive;
    }
    if (name == "clr") {
        if (sicl::Transport* device = session(client))
            device->clear();
        return true;
    }
    if (name == "ver")
        return send("Zelvanor Ymt simulated GPIB-ETHERNET adapter\r\n");
    // ++mode, ++auto, ++eoi, ++eos, ++loc, ++ifc and the rest change nothing here.
    return true;
}

} // namespace ymt::sim
