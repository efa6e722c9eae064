// The simulated adapter server as a child process on a free loopback port, with its own
// sicl.conf; used by the tests of the real-hardware transports and by the end-to-end tests.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace ymt::testing {

class SimServerProcess {
public:
    ~SimServerProcess() { stop(); }

    // Starts the server on 127.0.0.1 with the device sections of siclConf; false when it does
    // not report its port within 10 s.
    bool start(const QString& siclConf, bool fast = true) {
        QFile conf(QDir(home.path()).filePath(QStringLiteral("sicl.conf")));
        if (!conf.open(QIODevice::WriteOnly))
            return false;
        conf.write(siclConf.toUtf8());
        conf.close();
        QStringList arguments = {QStringLiteral("--home"), home.path(), QStringLiteral("0")};
        if (fast)
            arguments.prepend(QStringLiteral("--fast"));
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(YMT_SIMSERVER), arguments);
        static const QRegularExpression serving(QStringLiteral("on 127\\.0\\.0\\.1:([0-9]+)"));
        while (process.waitForReadyRead(10000)) {
            output += QString::fromUtf8(process.readAll());
            if (const auto match = serving.match(output); match.hasMatch()) {
                boundPort = match.captured(1).toInt();
                return true;
            }
        }
        return false;
    }

    void stop() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    // What the server has printed so far (connections, refused lines).
    QString log() {
        process.waitForReadyRead(200);
        output += QString::fromUtf8(process.readAll());
        return output;
    }

    // Waits up to ms for the server to end by itself (after a signal); false while it runs.
    bool waitForExit(int ms) { return process.waitForFinished(ms); }
    // How it ended: an exit of its own (0 after a stop request) or killed by a signal.
    bool exitedNormally() const { return process.exitStatus() == QProcess::NormalExit; }
    int exitCode() const { return process.exitCode(); }

    int port() const { return boundPort; }
    qint64 processId() const { return process.processId(); }
    QString endpoint() const { return QStringLiteral("127.0.0.1:%1").arg(boundPort); }

private:
    QTemporaryDir home;
    QProcess process;
    QString output;
    int boundPort = 0;
};

} // namespace ymt::testing
