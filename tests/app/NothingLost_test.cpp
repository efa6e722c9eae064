// Nothing lost, nothing invented, never stuck: the set-up without focus, the end of the session
// by a signal, typed protocol text, backups of odd sample names, the timeout field, the Stop
// button, and analyzer failures that must not become data.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"

#include "app/OperatorStop.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

using ymt::test::ConnectSteps;
using ymt::test::CurvePointText;
using ymt::test::RunOnSimulator;
using ymt::test::SimulatorRun;

namespace {

// Swallows every activation, as a desktop does that never focuses new windows.
class NoActivation : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowActivate;
    }
};

QStringList backupFiles(const QString& home) {
    return QDir(home + QStringLiteral("/backup")).entryList(QDir::Files);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Polls of the service request between the trigger and the next command: about one a second.
int pollsAfterTrigger(const SimulatorRun& run) {
    const qsizetype trigger = run.ioTrace.indexOf("iwrite 1 \"SWTRG\\r\\n\" END");
    int polls = 0;
    for (qsizetype line = trigger + 1; trigger >= 0 && line < run.ioTrace.size(); ++line) {
        if (run.ioTrace[line].startsWith("iwrite"))
            break;
        polls += run.ioTrace[line].startsWith("ireadstb") ? 1 : 0;
    }
    return polls;
}

const char* kNoServiceRequest = "[gpib0,17]\ndevice = HP4194A\nfault = no-srq\n";

} // namespace

TEST(FirstShow, AWindowThatNeverGetsTheFocusStillRunsItsSetUp) {
    ymt::test::WindowOnTempHome fixture;
    NoActivation noActivation;
    fixture.window->installEventFilter(&noActivation);
    fixture.window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(fixture.window->activationCount(), 1);
    EXPECT_EQ(fixture.window->windowTitle(), QStringLiteral("Zelvanor Ymt 2.4.5 "));
    EXPECT_TRUE(QFile::exists(fixture.dirs.programDir + QStringLiteral("QC.txt")));
    fixture.window->removeEventFilter(&noActivation);
}

TEST(SessionEnd, TerminationSignalRunsTheCloseAndDestroySequence) {
    QTemporaryDir home;
    const QString script = home.filePath(QStringLiteral("steps.txt"));
    QFile steps(script);
    ASSERT_TRUE(steps.open(QIODevice::WriteOnly));
    // File language "Ask me": the spectrum's backup must not wait for an answer nobody gives.
    // The picture tells the test that the steps before the wait are done: a signal ends the
    // operation it comes in, so it must not come while they run.
    steps.write((ConnectSteps(0) + "click Button6\nselect RadioGroup5 2\n"
                                   "type Memo2 \"typed by hand\"\npicture Form1 ready.png\n"
                                   "wait 60000\n")
                    .toUtf8());
    steps.close();
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(YMT_EXECUTABLE),
                  {QStringLiteral("--home"), home.path(), QStringLiteral("--script"), script});
    ASSERT_TRUE(program.waitForStarted());
    QElapsedTimer started;
    started.start();
    while (!QFile::exists(home.filePath(QStringLiteral("ready.png"))) && started.elapsed() < 60000)
        QThread::msleep(20);
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(30000)) << "the program must end well before its wait";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_FALSE(program.readAllStandardOutput().contains("message confirmation"))
        << "a question during an unattended end waits for ever on a desktop";
    const QStringList files = backupFiles(home.path());
    ASSERT_EQ(files.size(), 2) << files.join(' ').toStdString();
    EXPECT_TRUE(files[0].endsWith(QStringLiteral("-_dia.txt")));
    EXPECT_TRUE(fileBytes(home.filePath(QStringLiteral("backup/")) + files[0])
                    .contains("Sample Description"));
    EXPECT_TRUE(files[1].endsWith(QStringLiteral("-_prt.txt")));
    EXPECT_EQ(fileBytes(home.filePath(QStringLiteral("backup/")) + files[1]),
              QByteArray("typed by hand\r\n"));
}

TEST(Protocol, TextTypedByHandMakesExitAsk) {
    const SimulatorRun run = RunOnSimulator("type Memo2 \"notes by hand\"\nanswer No\n"
                                            "click Beenden1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList messages = run.linesStartingWith("message ");
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_EQ(messages[0], "message confirmation \"Save changes in protocol?\" -> No");
}

TEST(Backups, ASampleNameWithSlashAndColonStillGetsItsBackup) {
    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    program.setProcessEnvironment(environment);
    const QString script = home.filePath(QStringLiteral("steps.txt"));
    QFile steps(script);
    ASSERT_TRUE(steps.open(QIODevice::WriteOnly));
    steps.write("type Edit4 \"PZT/5:A\"\ntype Memo2 line\nanswer No\nquit\n");
    steps.close();
    program.start(QStringLiteral(YMT_EXECUTABLE),
                  {QStringLiteral("--fast"), QStringLiteral("--home"), home.path(),
                   QStringLiteral("--script"), script});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardOutput().toStdString();
    const QStringList files = backupFiles(home.path());
    ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
    EXPECT_TRUE(files[0].endsWith(QStringLiteral("-PZT_5_A_prt.txt"))) << files[0].toStdString();
}

TEST(TimeoutField, TextThatIsNoWholeNumberKeepsThePreviousLimit) {
    const SimulatorRun run =
        RunOnSimulator("type Edit35 3\nanswer OK\ntype Edit35 \"30 s\"\nshow Edit35\n" +
                           ConnectSteps(0) + "click Button6\nstate\n",
                       kNoServiceRequest);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.linesStartingWith("message ").value(0),
              "message error \"'30 s' is not a valid integer value\" -> OK");
    EXPECT_EQ(run.value("Edit35"), "3");
    EXPECT_EQ(run.value("CompletionTimeout"), "3000");
    // The lost service request ends the sweep's wait after about three seconds.
    EXPECT_GE(pollsAfterTrigger(run), 4);
    EXPECT_LE(pollsAfterTrigger(run), 6);
}

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

TEST(AnalyzerFailures, ADroppedSpanQueryKeepsTheModelsSpan) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(0) + "show Memo1\nstate\nclick Button6\n",
                       "[gpib0,17]\ndevice = HP4194A\nfault = drop-reply START?\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_DOUBLE_EQ(run.number("AnalyzerMin"), 0.1);
    EXPECT_DOUBLE_EQ(run.number("AnalyzerMax"), 40000);
    EXPECT_EQ(run.box("Memo1").filter("did not report its frequency span").size(), 1);
    EXPECT_FALSE(run.commands().contains("START= 0.000"));
    EXPECT_TRUE(run.commands().contains("START=100.000"));
}

TEST(AnalyzerFailures, ALostTraceGivesOneMessageAndNoPoint) {
    const SimulatorRun run = RunOnSimulator(
        ConnectSteps(0) + "answer OK\nclick Button6\nshow Memo1\n" + "curve fastgraph1 3\nstate\n",
        "[gpib0,17]\ndevice = HP4194A\nfault = drop-reply A?\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList messages = run.linesStartingWith("message error");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("no trace came back from the analyzer for range 1"));
    EXPECT_TRUE(messages[0].contains("for range 2"));
    EXPECT_EQ(run.box("Memo1").filter("no trace came back").size(), 2);
    EXPECT_TRUE(run.curve(0).empty());
}

TEST(ReadNewSpectrum, ARangeOutsideTheAnalyzersSpanIsSkippedNotMislabelled) {
    const SimulatorRun run = RunOnSimulator(
        ConnectSteps(0) + "check CheckBox25 1\nclick Button6\nshow Memo1\ncurve fastgraph1 3\n"
                          "state\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.box("Memo1").filter("Range 3").size(), 1);
    EXPECT_FALSE(run.commands().contains("START= 0.000"));
    const std::vector<CurvePointText> z = run.curve(0);
    EXPECT_EQ(z.size(), 803u); // two sweeps and the capacitance point
    EXPECT_TRUE(std::all_of(z.begin(), z.end(),
                            [](const CurvePointText& point) { return point.x >= 0.1; }));
}
