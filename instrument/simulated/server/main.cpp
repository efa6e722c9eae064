// zelvanor-ymt-simserver: the simulated analyzers of sicl.conf behind a TCP server that speaks
// the "++" command set of a GPIB-ETHERNET adapter (see SimAdapterServer.h).
#include "core/Clock.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SimAdapterServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTextStream>

#include <csignal>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

const char* const kUsage =
    "Usage: zelvanor-ymt-simserver [--fast] [--home DIR] [--interface NAME] [HOST:]PORT\n"
    "Serves the simulated analyzers of sicl.conf (in DIR, else $XDG_CONFIG_HOME/Kvr/) over TCP\n"
    "with the \"++\" command set of a GPIB-ETHERNET adapter. HOST defaults to 127.0.0.1;\n"
    "PORT 0 picks a free port. --fast runs the simulated sweeps on a virtual clock.\n"
    "--interface chooses whose device sections answer (default gpib0).\n";

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    bool fast = false;
    QString home, interfaceName = QStringLiteral("gpib0"), endpoint;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--fast")) {
            fast = true;
        } else if ((argument == QLatin1String("--home") ||
                    argument == QLatin1String("--interface")) &&
                   i + 1 < arguments.size()) {
            (argument == QLatin1String("--home") ? home : interfaceName) = arguments[++i];
        } else if (argument == QLatin1String("--help")) {
            out << kUsage;
            return 0;
        } else if (endpoint.isEmpty() && !argument.startsWith(QLatin1String("--"))) {
            endpoint = argument;
        } else {
            err << "unknown argument \"" << argument << "\"\n" << kUsage;
            return 2;
        }
    }
    static const QRegularExpression hostPort(
        QStringLiteral("^(?:([0-9]{1,3}(?:\\.[0-9]{1,3}){3}):)?([0-9]{1,5})$"));
    const auto match = hostPort.match(endpoint);
    const int port = match.captured(2).toInt();
    if (!match.hasMatch() || port > 65535) {
        err << "need [HOST:]PORT, with HOST an IPv4 address\n" << kUsage;
        return 2;
    }
    const QString host =
        match.captured(1).isEmpty() ? QStringLiteral("127.0.0.1") : match.captured(1);

    ymt::clock::setVirtual(fast);
    if (!home.isEmpty())
        ymt::sicl::setProgramDirectory(QDir(home).absolutePath());
    const ymt::sicl::SiclConfig config = ymt::sicl::currentConfig();
    for (const QString& problem : config.problems)
        err << "sicl.conf: " << problem << Qt::endl;
    ymt::sim::SimAdapterServer server(config, interfaceName);
    QString error;
    if (!server.listen(host, port, &error)) {
        err << error << Qt::endl;
        return 1;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    out << "serving " << interfaceName << " on " << host << ':' << server.port() << Qt::endl;
    server.run([] { return stopRequested == 0; },
               [&out](const QString& line) { out << line << Qt::endl; });
    return 0;
}
