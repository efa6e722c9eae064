// The start of the built program before and around its window: options without a display,
// the program directory given by --home, and boxes at start-up when nobody can answer them.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int exitCode = -1; // -1: crashed or hung
    QString out;
    QString err;
};

// Runs the executable with no display at all: no DISPLAY, no platform chosen.
ProgramRun runWithoutDisplay(const QStringList& arguments, const QString& configHome = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ZELVANOR_HOME"})
        environment.remove(QString::fromLatin1(name));
    if (!configHome.isEmpty())
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(YMT_EXECUTABLE), arguments);
    if (!process.waitForFinished(120000))
        process.kill();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(ProgramStart, HelpAndBadOptionsWorkWithoutADisplay) {
    const ProgramRun help = runWithoutDisplay({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.contains(QStringLiteral("--screenshot DIR")));

    const ProgramRun bad = runWithoutDisplay({QStringLiteral("--colour")});
    EXPECT_EQ(bad.exitCode, 2) << bad.err.toStdString();
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("unknown argument \"--colour\"")));

    // An interactive start without a display says so instead of aborting.
    const ProgramRun window = runWithoutDisplay({});
    EXPECT_EQ(window.exitCode, 2);
    EXPECT_TRUE(window.err.startsWith(QStringLiteral("No display"))) << window.err.toStdString();
}

TEST(ProgramStart, MissingHomeIsCreatedWithItsFolders) {
    QTemporaryDir parent;
    const QString home = parent.filePath(QStringLiteral("lab/ymt"));
    QFile script(parent.filePath(QStringLiteral("steps.txt")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("expect ComboBox2 none\nquit\n");
    script.close();
    const ProgramRun run = runWithoutDisplay(
        {QStringLiteral("--home"), home, QStringLiteral("--script"), script.fileName()});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(QDir(home + QStringLiteral("/data")).exists());
    EXPECT_TRUE(QDir(home + QStringLiteral("/backup")).exists());
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/QC.txt")));
}

TEST(ProgramStart, HomeThatIsAFileOrUnderAFileEndsWithOneLineNamingIt) {
    QTemporaryDir parent;
    const QString file = parent.filePath(QStringLiteral("home.txt"));
    QFile blocker(file);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const QString& home : {file, file + QStringLiteral("/below")}) {
        const ProgramRun run =
            runWithoutDisplay({QStringLiteral("--home"), home, QStringLiteral("--demo")});
        EXPECT_EQ(run.exitCode, 2) << home.toStdString();
        EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1Char('"') + home + QLatin1Char('"')))
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST(ProgramStart, UnusableHomeIsReportedInTheStoredLanguage) {
    QTemporaryDir parent;
    const QString file = parent.filePath(QStringLiteral("home.txt"));
    QFile blocker(file);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // The settings name German; its file lies beside the executable.
    const QString config = parent.filePath(QStringLiteral("config"));
    ASSERT_TRUE(QDir().mkpath(config + QStringLiteral("/Kvr")));
    QFile settings(config + QStringLiteral("/Kvr/Ymt.reg"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("Windows Registry Editor Version 5.00\r\n\r\n"
                   "[HKEY_CURRENT_USER\\Software\\Kvr\\Ymt]\r\n\"Language\"=\"Deutsch\"\r\n");
    settings.close();
    const QStringList arguments = {QStringLiteral("--home"), file, QStringLiteral("--script"),
                                   parent.filePath(QStringLiteral("none.txt"))};
    const ProgramRun german = runWithoutDisplay(arguments, config);
    EXPECT_EQ(german.exitCode, 2);
    EXPECT_EQ(german.err, QStringLiteral("Das Programmverzeichnis \"") + file +
                              QStringLiteral("\" ist nicht verwendbar: es ist eine Datei, kein "
                                             "Ordner\n"));
    // Without a stored language the line stays English.
    const ProgramRun english =
        runWithoutDisplay(arguments, parent.filePath(QStringLiteral("none")));
    EXPECT_TRUE(english.err.startsWith(QStringLiteral("Cannot use the program directory \"") +
                                       file + QStringLiteral("\": it is a file")))
        << english.err.toStdString();
}

TEST(ProgramStart, StartUpBoxOfAScreenshotRunIsPrintedAndEndsIt) {
    QTemporaryDir home;
    ASSERT_TRUE(QDir().mkdir(home.filePath(QStringLiteral("QC.txt"))));
    const ProgramRun run =
        runWithoutDisplay({QStringLiteral("--home"), home.path(), QStringLiteral("--screenshot"),
                           home.filePath(QStringLiteral("shots"))});
    EXPECT_EQ(run.exitCode, 2);
    // The box names the file it concerns.
    EXPECT_TRUE(run.err.contains(QStringLiteral("message error: ") +
                                 home.filePath(QStringLiteral("QC.txt")) + QStringLiteral(": ")))
        << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("screenshot ")));
}

} // namespace
