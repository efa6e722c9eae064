// The operator's stop: the Stop button, Esc and the menu item end a wait and leave the program
// usable, no other input starts an operation inside the wait, and a stop during Connect ends
// the Connect.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"

#include "app/OperatorStop.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using ymt::test::ConnectSteps;
using ymt::test::RunOnSimulator;
using ymt::test::SimulatorRun;

namespace {

const char* kNoServiceRequest = "[gpib0,17]\ndevice = HP4194A\nfault = no-srq\n";

// An HP 4294A that never answers "*OPC?": every completion wait (the first is the preset's at
// Connect) runs to its limit, which "Timeout [s]" 0 removes.
const char* kNeverCompletes = "[gpib0,17]\ndevice = HP4294A\nfault = drop-reply *OPC?\n";

} // namespace

TEST(StopButton, EndsAWaitWithoutLimitAndLeavesTheProgramUsable) {
    const SimulatorRun run =
        RunOnSimulator("type Edit35 0\n" + ConnectSteps(0) +
                           "stop\nclick Button6\nshow Memo1\ncontrols\nstate\n"
                           "type Edit35 2\nclick Button7\ncurve fastgraph1 3\nstate\n",
                       kNoServiceRequest);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList log = run.box("Memo1");
    EXPECT_EQ(log.count("Stopped by the operator."), 1);
    EXPECT_TRUE(run.linesStartingWith("message ").size() == 2) << "only the compensation boxes";
    // The stopped sweep stored nothing and its trace was not even asked for.
    const QStringList commands = run.commands();
    const qsizetype stoppedSweep = commands.indexOf("SWTRG");
    const qsizetype nextSweep = commands.indexOf("SWTRG", stoppedSweep + 1);
    ASSERT_GT(nextSweep, stoppedSweep);
    EXPECT_FALSE(commands.mid(stoppedSweep, nextSweep - stoppedSweep).contains("B?"));
    EXPECT_TRUE(run.enabled("Button7"));
    // Afterwards a sweep with a limit runs to its end and stores its points.
    EXPECT_EQ(run.curve(0).size(), 401u);
}

TEST(StopButton, EscEndsAWaitAndNoOtherInputStartsAnOperationInsideIt) {
    ymt::test::WindowOnTempHome fixture;
    fixture.window->show();
    QCoreApplication::processEvents();
    ymt::OperatorStop* stop = fixture.window->operatorStop();
    auto* connect = fixture.control<QPushButton>("Button12");
    auto* log = fixture.control<QPlainTextEdit>("Memo1");
    // The menu shows Esc as the key of the stop, usable only while a wait runs.
    QAction* menuStop = stop->action();
    EXPECT_EQ(menuStop->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_FALSE(menuStop->isEnabled());
    stop->waitStarted();
    EXPECT_TRUE(stop->button()->isVisible());
    EXPECT_TRUE(menuStop->isEnabled());
    const QPointF inside(connect->rect().center());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            connect, new QMouseEvent(type, inside, connect->mapToGlobal(inside), Qt::LeftButton,
                                     Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(fixture.window.get(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    QElapsedTimer waited;
    waited.start();
    EXPECT_TRUE(stop->pause(5000));
    EXPECT_LT(waited.elapsed(), 4000);
    stop->waitEnded(true);
    EXPECT_FALSE(stop->button()->isVisible());
    EXPECT_FALSE(menuStop->isEnabled());
    EXPECT_EQ(log->toPlainText().toStdString(), "Stopped by the operator.");

    // The menu item ends a wait as Esc does.
    stop->waitStarted();
    menuStop->trigger();
    EXPECT_TRUE(stop->pause(5000));
    stop->waitEnded(true);
}

TEST(OperatorStopDuringConnect, EndsTheConnectNotOnlyItsWait) {
    // The stop is kept for the first wait: the preset's, which the analyzer never completes.
    const ymt::test::SimulatorRun run = ymt::test::RunOnSimulator(
        "type Edit35 3\nselect ComboBox6 1\nstop\nclick Button12\nshow Memo1\nstate\n",
        QString::fromLatin1(kNeverCompletes));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.linesStartingWith("message ").isEmpty()) << "no compensation box";
    const QStringList log = run.box("Memo1");
    EXPECT_EQ(log.filter("Stopped by the operator.").size(), 1);
    EXPECT_EQ(log.last(), "Connect stopped; the analyzer is not connected.");
    EXPECT_EQ(run.value("AnalyzerHandle"), "0");
}
