#include "instrument/simulated/SimAdapterServer.h"

#include "core/Clock.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/simulated/SimAnalyzer.h"
#include "instrument/simulated/SimBus.h"
#include "instrument/transports/ByteChannel.h"
#include "instrument/transports/PrologixProtocol.h"

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
// A read on the real clock waits in slices this long, so that a departed client or a stop
// request ends the wait.
constexpr long kReadSliceMs = 100;

// What "++eos 0|1|2|3" appends to instrument data.
const char* const kEndOfSend[] = {"\r\n", "\r", "\n", ""};

const char* const kHelp = "++addr [0-30]  -- set or query the GPIB address\r\n"
                          "++auto [0|1]  -- read after every instrument line\r\n"
                          "++clr  -- selected device clear\r\n"
                          "++eoi [0|1]  -- EOI with the last byte sent\r\n"
                          "++eos [0|1|2|3]  -- append CR LF, CR, LF or nothing\r\n"
                          "++help  -- this list\r\n"
                          "++ifc  -- interface clear\r\n"
                          "++loc  -- return to local\r\n"
                          "++mode [0|1]  -- 1 controller\r\n"
                          "++read [eoi|10]  -- read until EOI, or until LF\r\n"
                          "++read_tmo_ms [1-3000]  -- read timeout in ms\r\n"
                          "++spoll [0-30]  -- serial poll\r\n"
                          "++srq  -- 1 while SRQ is asserted\r\n"
                          "++ver  -- version\r\n";

} // namespace

struct SimAdapterServer::Client {
    explicit Client(int fd) : channel(fd, true) {}
    sicl::FdChannel channel;
    prologix::LineSplitter splitter;
    int address = -1;
    long readTimeoutMs = kMaxReadTimeoutMs;
    bool readAfterEveryLine = false; // ++auto 1
    int sendEoi = 1;                 // ++eoi
    int endOfSend = 0;               // ++eos
    int mode = 1;                    // ++mode; the server is always the controller
    // It has closed its side: the server waits for nothing more on its behalf, a read gives
    // only a reply that is there already.
    bool gone = false;
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
    keepServing = &keepRunning;
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
            if (!keepRunning())
                return;
            noteDeparture(client);
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

SimDevice* SimAdapterServer::deviceOf(int address) const {
    return deviceAt(interface.toLower() + QLatin1Char(',') + QString::number(address));
}

// On the virtual clock an instrument finishes whatever it is busy with before it is polled,
// so that sweeps take no real time while their order stays the same.
void SimAdapterServer::fastForward(int address) {
    if (!clock::isVirtual())
        return;
    if (auto* analyzer = dynamic_cast<SimAnalyzer*>(deviceOf(address)))
        clock::sleepMs(analyzer->busyUntil() - clock::nowMs());
}

// The SRQ line: asserted while any instrument this client has talked to requests service.
bool SimAdapterServer::serviceRequested(Client& client) {
    bool asserted = false;
    for (const auto& entry : client.sessions) {
        fastForward(entry.first);
        if (SimDevice* device = deviceOf(entry.first))
            asserted = device->requestsService() || asserted;
    }
    return asserted;
}

bool SimAdapterServer::noteDeparture(Client& client) {
    if (!client.gone) {
        pollfd entry{client.channel.fd(), POLLRDHUP, 0};
        client.gone = ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR));
    }
    return client.gone;
}

bool SimAdapterServer::handleData(Client& client, const QByteArray& data) {
    if (sicl::Transport* device = session(client)) {
        const QByteArray bytes = data + kEndOfSend[client.endOfSend];
        // Without EOI the instrument takes a line feed as the end of the message.
        const bool end = client.sendEoi || bytes.endsWith('\n');
        std::size_t sent = 0;
        device->write(bytes.constData(), static_cast<std::size_t>(bytes.size()), end, &sent);
    }
    return client.readAfterEveryLine ? readReply(client, false) : true;
}

bool SimAdapterServer::readReply(Client& client, bool untilLineFeed) {
    sicl::Transport* device = session(client);
    if (!device)
        return true; // nobody talks: a real adapter just times out
    // On the virtual clock a reply that is on its way comes at once, however long the
    // instrument takes; only a reply that will never come times out.
    const SimDevice* simulated = deviceOf(client.address);
    const bool waitForPendingReply = clock::isVirtual() && simulated && simulated->hasOutput();
    if (waitForPendingReply)
        device->setTimeout(0);
    // On the real clock the wait for the next byte goes in slices, each followed by a look at
    // the client and at the stop request.
    const bool sliced = !clock::isVirtual();
    qint64 waitedMs = 0;
    QByteArray reply;
    char chunk[4096];
    for (;;) {
        if (sliced)
            device->setTimeout(
                client.gone ? 1 : std::min(kReadSliceMs, client.readTimeoutMs - long(waitedMs)));
        const qint64 before = clock::nowMs();
        int reason = 0;
        std::size_t got = 0;
        const int rc = device->read(chunk, sizeof chunk, &reason, &got);
        reply.append(chunk, static_cast<qsizetype>(got));
        if (sliced && rc == sicl::I_ERR_TIMEOUT && got == 0) {
            waitedMs += std::max<qint64>(clock::nowMs() - before, 1);
            if (!(*keepServing)())
                return false;
            if (noteDeparture(client))
                break;
            if (waitedMs < client.readTimeoutMs)
                continue;
        }
        if (got > 0)
            waitedMs = 0;
        if (rc != sicl::I_ERR_NOERROR || (reason & sicl::I_TERM_END) ||
            (untilLineFeed && reply.endsWith('\n')) || got == 0)
            break;
    }
    if (waitForPendingReply || sliced)
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
        if (argument.isEmpty())
            return send(QByteArray::number(client.readTimeoutMs) + "\r\n");
        if (numberOk && number >= 1 && number <= kMaxReadTimeoutMs) {
            client.readTimeoutMs = number;
            for (auto& [address, device] : client.sessions)
                device->setTimeout(number);
        }
        return true;
    }
    if (name == "eoi" || name == "mode") {
        int& setting = name == "eoi" ? client.sendEoi : client.mode;
        if (argument.isEmpty())
            return send(QByteArray::number(setting) + "\r\n");
        if (numberOk && (number == 0 || number == 1))
            setting = number;
        return true;
    }
    if (name == "eos") {
        if (argument.isEmpty())
            return send(QByteArray::number(client.endOfSend) + "\r\n");
        if (numberOk && number >= 0 && number <= 3)
            client.endOfSend = number;
        return true;
    }
    if (name == "srq")
        return send(serviceRequested(client) ? "1\r\n" : "0\r\n");
    if (name == "help")
        return send(kHelp);
    if (name == "spoll") {
        const int saved = client.address;
        if (numberOk && number >= 0 && number <= 30)
            client.address = number;
        sicl::Transport* device = session(client);
        bool alive = true;
        if (device) {
            fastForward(client.address);
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
    // ++loc, ++ifc and the rest change nothing here.
    return true;
}

} // namespace ymt::sim
