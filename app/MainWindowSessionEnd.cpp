// The end of the session from outside the window: SIGTERM, SIGINT, SIGHUP and the desktop's
// session end run the normal close request and destroy sequence, so that the spectrum and the
// protocol are backed up and the instrument sessions closed. After a signal nothing waits for
// an answer: failures go to standard error and the log.
#include "app/MainWindow.h"

#include "app/OperatorStop.h"
#include "app/TerminationSignals.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QThread>

#include <cstdio>

#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

void TForm1::watchSessionEnd() {
    terminationSignals_ = new ymt::TerminationSignals(this);
    connect(terminationSignals_, &ymt::TerminationSignals::received, this,
            [this](int) { requestSessionEnd(true); });
#if QT_CONFIG(sessionmanager)
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager& manager) { requestSessionEnd(!manager.allowsInteraction()); });
#endif
    // The end runs where the program waits for the operator, never inside a handler (which may
    // itself let events through while it repaints or waits for the analyzer).
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TForm1::endSessionWhenSafe);
}

void TForm1::requestSessionEnd(bool unattended) {
    if (!sessionEndPending_)
        unattendedEnd_ = unattended;
    else
        unattendedEnd_ = unattendedEnd_ || unattended;
    sessionEndPending_ = true;
    // The running operation ends at its next step: no later wait starts.
    if (operatorStop_)
        operatorStop_->endAllWaits();
    if (unattendedEnd_ && !dialogs_.unattended())
        dialogs_.setUnattended([this](const QString& text) {
            std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
            std::fflush(stderr);
            logLine(text);
        });
}

void TForm1::endSessionWhenSafe() {
    if (!sessionEndPending_ || destroyed_)
        return;
    if (operatorStop_ && operatorStop_->waiting())
        return;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // Nobody answers a box when the system ends the program; it closes as Esc closes it.
        if (unattendedEnd_) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
        return;
    }
    if (QThread::currentThread()->loopLevel() > 1)
        return;
    sessionEndPending_ = false;
    close();
    QCoreApplication::exit(0);
}
