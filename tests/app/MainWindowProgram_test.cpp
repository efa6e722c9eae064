// The program as a whole: program directory rules, and the built executable driven by a script
// on a fresh home (first start, Enter in a field, the state, the shut-down backup).
#include "app/ProgramDirs.h"
#include "tests/app/ProgramProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using ymt::test::ProgramOutput;
using ymt::test::RunProgram;

QString writeScript(const QTemporaryDir& dir, const QString& text) {
    return ymt::test::WriteScript(dir.path(), text);
}

} // namespace

TEST(ProgramDirs, HomeOptionWinsAndEveryDirectoryEndsInASlash) {
    QTemporaryDir home;
    const QString dir = ymt::FindProgramDir(home.path(), QStringLiteral("/nonexistent/bin"));
    EXPECT_EQ(dir, home.path() + QLatin1Char('/'));
    const ymt::ProgramDirs dirs = ymt::PrepareProgramDirs(home.path());
    EXPECT_EQ(dirs.workDir, dir + QStringLiteral("data/"));
    EXPECT_EQ(dirs.backupDir, dir + QStringLiteral("backup/"));
    EXPECT_TRUE(QDir(dirs.workDir).exists());
    EXPECT_TRUE(QDir(dirs.backupDir).exists());
    EXPECT_EQ(ymt::WithTrailingSlash(QStringLiteral("C:/meas")), QStringLiteral("C:/meas/"));
    EXPECT_EQ(ymt::WithTrailingSlash(QString()), QString());
}

TEST(ProgramDirs, UnusableExecutableFolderFallsBackToThePerUserDataFolder) {
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    qunsetenv("ZELVANOR_HOME");
    const QString dir = ymt::FindProgramDir({}, QStringLiteral("/nonexistent/bin"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(dir, dataHome.path() + QStringLiteral("/zelvanor-ymt/"));
    EXPECT_TRUE(QDir(dir).exists());
}

TEST(ProgramDirs, MissingHomeCreatesNothingBelowIt) {
    QTemporaryDir parent;
    const QString missing = parent.filePath(QStringLiteral("gone"));
    const ymt::ProgramDirs dirs = ymt::PrepareProgramDirs(missing);
    EXPECT_FALSE(QDir(dirs.workDir).exists());
    EXPECT_FALSE(QDir(missing).exists());
}

TEST(ProgramScript, FirstStartOnAnEmptyHomeThroughTheExecutable) {
    QTemporaryDir home;
    const QString script = writeScript(home, QStringLiteral("expect ComboBox2 none\n"
                                                            "expect Edit31 \"%1data/\"\n"
                                                            "type Edit31 %1meas\n"
                                                            "expect Edit31 \"%1meas/\"\n"
                                                            "state\n"
                                                            "quit\n")
                                                 .arg(home.path() + QLatin1Char('/')));
    const ProgramOutput run =
        RunProgram({QStringLiteral("--home"), home.path(), QStringLiteral("--fast"),
                    QStringLiteral("--script"), script});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(
        run.output.contains(QStringLiteral("WorkDir=") + home.path() + QStringLiteral("/meas/")))
        << run.output.toStdString();
    EXPECT_TRUE(QDir(home.filePath(QStringLiteral("data"))).exists());
    EXPECT_TRUE(QDir(home.filePath(QStringLiteral("backup"))).exists());
    QFile qc(home.filePath(QStringLiteral("QC.txt")));
    ASSERT_TRUE(qc.open(QIODevice::ReadOnly));
    EXPECT_EQ(qc.readAll(), QByteArray("Zelvanor Ymt 2.4.5 Quality Control File\r\n"));
}

TEST(ProgramScript, UnreadableQcFileIsAnErrorBoxNotACrash) {
    QTemporaryDir home;
    ASSERT_TRUE(QDir().mkdir(home.filePath(QStringLiteral("QC.txt"))));
    const QString script = writeScript(home, QStringLiteral("answer OK\nshow Button18\nquit\n"));
    const ProgramOutput run =
        RunProgram({QStringLiteral("--home"), home.path(), QStringLiteral("--script"), script});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("message error"))) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("Button18=OK")));
}

TEST(ProgramScript, DemoTellsWhatItDidInSentences) {
    QTemporaryDir home;
    const ProgramOutput run = RunProgram({QStringLiteral("--home"), home.path(),
                                          QStringLiteral("--fast"), QStringLiteral("--demo")});
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    const QStringList lines = run.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << run.output.toStdString();
    EXPECT_TRUE(lines[0].startsWith(
        QStringLiteral("Connected to the simulated HP 4294A at address 17 on interface gpib0")));
    EXPECT_EQ(
        lines[1],
        QStringLiteral("Swept 0.04–5000 kHz and 5000–110000 kHz; the spectrum holds 803 points."));
    // The first resonance of the simulated sample: series resonance 200 kHz.
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Zoomed to 150–260 kHz;")));
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("Resonance: f(min) 200.038 kHz")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("k(eff) 39.68 %")));
}

// An operator's stored sweep ranges would change what the demo measures and shows; the demo runs
// on the program's defaults and leaves the operator's settings as they were.
TEST(ProgramScript, DemoNeitherReadsNorChangesTheOperatorsSettings) {
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config"));
    const QString script = writeScript(
        home, QStringLiteral("tab TabSheet9\ntype Edit36 150\ntype Edit37 260\nquit\n"));
    const ProgramOutput setUp = RunProgram(
        {QStringLiteral("--home"), home.path(), QStringLiteral("--script"), script}, config);
    ASSERT_EQ(setUp.exitCode, 0) << setUp.output.toStdString();
    QFile store(config + QStringLiteral("/Kvr/Ymt.reg"));
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    const QByteArray stored = store.readAll();
    store.close();

    const ProgramOutput demo =
        RunProgram({QStringLiteral("--fast"), QStringLiteral("--demo")}, config);
    EXPECT_EQ(demo.exitCode, 0) << demo.output.toStdString();
    EXPECT_TRUE(demo.output.contains(
        QStringLiteral("Swept 0.04–5000 kHz and 5000–110000 kHz; the spectrum holds 803 points.")))
        << demo.output.toStdString();
    ASSERT_TRUE(store.open(QIODevice::ReadOnly));
    EXPECT_EQ(store.readAll(), stored);
}
