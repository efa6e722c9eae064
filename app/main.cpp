// Program start: command line, program directories, start-up screen, the main window, and
// either the message loop or a script run headless.
#include "app/CommandLine.h"
#include "app/automation/DemoScript.h"
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"
#include "app/automation/ScriptDriver.h"
#include "app/SplashScreen.h"
#include "app/automation/TabScreenshots.h"
#include "core/Clock.h"
#include "instrument/IoTrace.h"
#include "instrument/SiclConfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QTextStream>

#include <memory>

namespace {

// "--screenshot DIR" is taken out before the other options are read; empty when not given.
QString takeScreenshotOption(QStringList& arguments) {
    const int at = static_cast<int>(arguments.indexOf(QStringLiteral("--screenshot")));
    if (at < 0 || at + 1 >= arguments.size())
        return {};
    const QString dir = arguments.at(at + 1);
    arguments.remove(at, 2);
    return dir;
}

int saveScreenshots(TForm1& window, const QString& dir, QTextStream& out, QTextStream& err) {
    window.show();
    if (window.activationCount() == 0)
        window.FormActivate();
    // Every tab as it starts, then again with "Show Additional Controls" on.
    QString error;
    QStringList files =
        ymt::SaveTabScreenshots(window, dir, {QSize(818, 591), QSize(1600, 1000)}, &error);
    if (error.isEmpty()) {
        window.findChild<QCheckBox*>(QStringLiteral("CheckBox21"))->click();
        files << ymt::SaveTabScreenshots(window, QDir(dir).filePath(QStringLiteral("additional")),
                                         {QSize(818, 591), QSize(1600, 1000)}, &error);
    }
    for (const QString& file : files)
        out << "screenshot " << file << Qt::endl;
    if (!error.isEmpty()) {
        err << error << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvanor Ymt"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList arguments = QCoreApplication::arguments();
    const QString screenshotDir = takeScreenshotOption(arguments);
    const ymt::CommandLineOptions options =
        ymt::ParseCommandLine(arguments, qEnvironmentVariable("ZELVANOR_HOME"));
    if (!options.error.isEmpty()) {
        err << options.error << Qt::endl << ymt::CommandLineHelp() << Qt::endl;
        return 2;
    }
    if (options.help) {
        out << ymt::CommandLineHelp() << Qt::endl;
        return 0;
    }
    ymt::clock::setVirtual(options.fast);
    if (!options.ioTracePath.isEmpty() && !ymt::sicl::setIoTraceFile(options.ioTracePath)) {
        err << "Cannot write the I/O trace " << options.ioTracePath << Qt::endl;
        return 2;
    }

    const QString programDir =
        ymt::FindProgramDir(options.homeDir, QCoreApplication::applicationDirPath());
    const ymt::ProgramDirs dirs = ymt::PrepareProgramDirs(programDir);
    // sicl.conf beside the program configures the instrument interfaces of this installation.
    ymt::sicl::setProgramDirectory(dirs.programDir);
    if (!options.noSplash && screenshotDir.isEmpty()) {
        ymt::SplashScreen splash(QStringLiteral("2.4.5 "));
        splash.showAndWait();
    }

    auto window = std::make_unique<TForm1>(dirs);
    const auto destroyWindow = [&window] { window.reset(); };
    if (!options.scriptPath.isEmpty())
        return ymt::RunScript(*window, options.scriptPath, out, destroyWindow);
    if (options.demo)
        return ymt::RunScriptText(*window, ymt::BuiltInDemoScript(), dirs.programDir, out,
                                  destroyWindow);
    if (!screenshotDir.isEmpty()) {
        const int result = saveScreenshots(*window, screenshotDir, out, err);
        window->close();
        window.reset();
        return result;
    }
    window->showMaximized();
    const int result = QApplication::exec();
    window.reset();
    return result;
}
