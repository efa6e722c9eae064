// A termination signal ends the running operation at its next step and the program within a
// few seconds, whatever the analyzer does, nothing after it waits for an answer, and the end
// runs the close and destroy sequence with its backups.
#include "tests/app/ConnectionTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

using ymt::test::ConnectSteps;

namespace {

// User and system time of a process, from /proc; -1 when it cannot be read.
qint64 cpuMs(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const qint64 ticks = fields[11].toLongLong() + fields[12].toLongLong();
    return ticks * 1000 / ::sysconf(_SC_CLK_TCK);
}

struct SignalledRun {
    bool endedInTime = false;
    qint64 msAfterSignal = 0;
    qint64 cpuMsInWait = -1; // processor time of the program in the second before the signal
    QByteArray output;
    QByteArray errors;
    QStringList backups;
};

// Starts the program on home with the script and sicl.conf, waits until the I/O trace holds
// ready (or, when ready is empty, the quality-control file exists), sends SIGTERM and waits at
// most 20 s for the end.
SignalledRun runAndSignal(const QTemporaryDir& home, const QString& script, const QString& siclConf,
                          bool fast, const QByteArray& ready) {
    SignalledRun result;
    QFile conf(home.filePath(QStringLiteral("sicl.conf")));
    if (!siclConf.isEmpty() && conf.open(QIODevice::WriteOnly))
        conf.write(siclConf.toUtf8());
    conf.close();
    QFile steps(home.filePath(QStringLiteral("steps.txt")));
    if (!steps.open(QIODevice::WriteOnly))
        return result;
    steps.write(script.toUtf8());
    steps.close();
    const QString trace = home.filePath(QStringLiteral("io.txt"));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    program.setProcessEnvironment(environment);
    QStringList arguments = {QStringLiteral("--home"),     home.path(),
                             QStringLiteral("--io-trace"), trace,
                             QStringLiteral("--script"),   steps.fileName()};
    if (fast)
        arguments.prepend(QStringLiteral("--fast"));
    program.start(QStringLiteral(YMT_EXECUTABLE), arguments);
    if (!program.waitForStarted())
        return result;
    QElapsedTimer waited;
    waited.start();
    const auto isReady = [&] {
        if (ready.isEmpty())
            return QFile::exists(home.filePath(QStringLiteral("QC.txt")));
        QFile file(trace);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(ready);
    };
    while (!isReady() && waited.elapsed() < 30000)
        QThread::msleep(20);
    QThread::msleep(300); // inside the wait, not at its first step
    const qint64 cpuBefore = cpuMs(program.processId());
    QThread::msleep(1000);
    const qint64 cpuAfter = cpuMs(program.processId());
    if (cpuBefore >= 0 && cpuAfter >= 0)
        result.cpuMsInWait = cpuAfter - cpuBefore;
    QElapsedTimer afterSignal;
    afterSignal.start();
    ::kill(pid_t(program.processId()), SIGTERM);
    result.endedInTime = program.waitForFinished(20000);
    result.msAfterSignal = afterSignal.elapsed();
    if (!result.endedInTime) {
        program.kill();
        program.waitForFinished();
    }
    result.output = program.readAllStandardOutput();
    result.errors = program.readAllStandardError();
    result.backups = QDir(home.filePath(QStringLiteral("backup"))).entryList(QDir::Files);
    return result;
}

QStringList backupFiles(const QString& home) {
    return QDir(home + QStringLiteral("/backup")).entryList(QDir::Files);
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An HP 4294A that never answers "*OPC?": every completion wait (the first is the preset's at
// Connect) runs to its limit, which "Timeout [s]" 0 removes.
const char* kNeverCompletes = "[gpib0,17]\ndevice = HP4294A\nfault = drop-reply *OPC?\n";

class SignalDuringConnect : public ::testing::TestWithParam<bool> {};

TEST_P(SignalDuringConnect, EndsConnectAtItsNextStepAndTheProgramWithinSeconds) {
    QTemporaryDir home;
    const SignalledRun run =
        runAndSignal(home,
                     QStringLiteral("type Memo2 \"typed by hand\"\ntype Edit35 0\n") +
                         ymt::test::ConnectSteps(1) + QStringLiteral("wait 60000\n"),
                     QString::fromLatin1(kNeverCompletes), GetParam(), "\"*OPC?");
    ASSERT_TRUE(run.endedInTime) << "a signal must end a wait without limit";
    EXPECT_LT(run.msAfterSignal, 8000);
    // Also on the virtual clock the endless wait leaves the processor to others.
    ASSERT_GE(run.cpuMsInWait, 0);
    EXPECT_LT(run.cpuMsInWait, 150);
    // Connect ends at the wait the signal came in: no compensation box follows.
    EXPECT_FALSE(run.output.contains("Compensation - ")) << run.output.toStdString();
    ASSERT_EQ(run.backups.size(), 1) << run.backups.join(' ').toStdString();
    EXPECT_TRUE(run.backups[0].endsWith(QStringLiteral("_prt.txt")));
}

INSTANTIATE_TEST_SUITE_P(Clocks, SignalDuringConnect, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Fast" : "RealTime"; });

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

TEST(SignalEnd, AFailureDuringTheShutDownGoesToStandardErrorNotIntoABox) {
    QTemporaryDir home;
    QFile blocker(home.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // A backup folder below a file: the protocol backup of the shut-down cannot be written.
    const SignalledRun run =
        runAndSignal(home,
                     QStringLiteral("type Edit32 %1/file/backup/\ntype Memo2 \"typed by hand\"\n"
                                    "wait 60000\n")
                         .arg(home.path()),
                     {}, false, {});
    ASSERT_TRUE(run.endedInTime);
    EXPECT_FALSE(run.output.contains("message ")) << run.output.toStdString();
    // The system's reason, as the box would have shown it.
    EXPECT_TRUE(run.errors.contains("Not a directory")) << run.errors.toStdString();
}

} // namespace
