// SIGTERM, SIGINT and SIGHUP as a Qt signal on the user-interface thread. The signal handler
// only writes the signal number into a pipe; a socket notifier reads it in the event loop, so
// no Qt call ever runs inside the handler.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace ymt {

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    // Puts back the handlers that were in force before.
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace ymt
