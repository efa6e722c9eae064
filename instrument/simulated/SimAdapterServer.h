// The simulated analyzers of sicl.conf behind a TCP server that speaks the "++" command set of a
// GPIB-ETHERNET adapter, so that the network transport can be exercised end to end and anyone
// can work against a simulated analyzer over the network. One client at a time; lines over
// 64 KB are refused; a client that goes away mid-reply only ends its own connection, and once
// it has closed its side nothing more is waited for on its behalf.
#pragma once

#include "instrument/sicl/SiclConfig.h"
#include "instrument/sicl/Transport.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace ymt::sim {

class SimDevice;

class SimAdapterServer {
public:
    // interfaceName: whose device sections of config answer ("gpib0").
    SimAdapterServer(sicl::SiclConfig config, QString interfaceName);
    ~SimAdapterServer();
    SimAdapterServer(const SimAdapterServer&) = delete;
    SimAdapterServer& operator=(const SimAdapterServer&) = delete;

    // Binds and listens; port 0 picks a free one. False with a reason in *error.
    bool listen(const QString& host, int port, QString* error);
    int port() const { return boundPort; }
    // Serves clients one after another until keepRunning() is false (checked a few times a
    // second, also while a read waits for the instrument); log receives one line per connection
    // (with the number of "++read" commands it sent when it goes) and per refused line.
    void run(const std::function<bool()>& keepRunning,
             const std::function<void(const QString&)>& log);
    // Serves one connected client (a socket it takes over) until it goes away.
    void serveClient(int fd, const std::function<bool()>& keepRunning,
                     const std::function<void(const QString&)>& log);

private:
    struct Client;
    bool handleCommand(Client& client, const QByteArray& command);
    bool handleData(Client& client, const QByteArray& data);
    bool readReply(Client& client, bool untilLineFeed);
    sicl::Transport* session(Client& client);
    // True once the client has closed its side of the connection.
    bool noteDeparture(Client& client);
    SimDevice* deviceOf(int address) const;
    void fastForward(int address);
    bool serviceRequested(Client& client);

    sicl::SiclConfig configuration;
    QString interface;
    int listener = -1;
    int boundPort = 0;
    int readsOfLastClient = 0; // "++read" commands of the client served last
    const std::function<bool()>* keepServing = nullptr; // of the client being served
};

} // namespace ymt::sim
