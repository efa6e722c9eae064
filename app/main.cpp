// Program start: command line, program directories, start-up screen, the main window, and
// either the message loop or a run without an operator (script, demo, screenshots).
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"
#include "app/SplashScreen.h"
#include "app/StartupLanguage.h"
#include "app/automation/DemoScript.h"
#include "app/automation/HeadlessDialogs.h"
#include "app/automation/ScriptDriver.h"
#include "app/automation/TabScreenshots.h"
#include "core/Clock.h"
#include "core/Version.h"
#include "instrument/sicl/IoTrace.h"
#include "instrument/sicl/SiclConfig.h"
#include "records/RegistryFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>
#include <optional>

namespace {

// Runs without an operator need no screen; Qt would abort without one. Only X11 and Wayland
// desktops announce their display in the environment.
bool displayAvailable() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

// Exit code 0, 1 when a picture could not be written, 2 when the window asked for a dialog
// (at start-up or at its shut-down). Destroys the window.
int saveScreenshots(std::unique_ptr<TForm1> window, const QString& dir, QTextStream& out,
                    QTextStream& err) {
    ymt::HeadlessDialogs dialogs(err);
    window->setDialogs(&dialogs);
    window->show();
    if (window->activationCount() == 0)
        window->FormActivate();
    QString error;
    QStringList files;
    if (!dialogs.wasAsked()) {
        // Every tab as it starts, then again with "Show Additional Controls" on.
        const QList<QSize> sizes = {QSize(818, 591), QSize(1600, 1000), QSize(1920, 1080)};
        files = ymt::SaveTabScreenshots(*window, dir, sizes, &error);
        if (error.isEmpty()) {
            window->findChild<QCheckBox*>(QStringLiteral("CheckBox21"))->click();
            files << ymt::SaveTabScreenshots(
                *window, QDir(dir).filePath(QStringLiteral("additional")), sizes, &error);
        }
        if (error.isEmpty()) {
            const QString about = QDir(dir).filePath(QStringLiteral("AboutBox.png"));
            if (window->findChild<QDialog*>(QStringLiteral("AboutBox"))->grab().save(about, "PNG"))
                files << about;
            else
                error = QStringLiteral("Cannot write ") + about;
        }
    }
    for (const QString& file : files)
        out << "screenshot " << file << Qt::endl;
    window->close();
    window.reset();
    if (!error.isEmpty()) {
        err << error << Qt::endl;
        return 1;
    }
    return dialogs.wasAsked() ? 2 : 0;
}

} // namespace

int main(int argc, char** argv) {
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Everything that needs no window is settled before the application object exists.
    const ymt::CommandLineOptions options =
        ymt::ParseCommandLine(ymt::ArgumentsOf(argc, argv), qEnvironmentVariable("ZELVANOR_HOME"));
    if (!options.error.isEmpty()) {
        err << options.error << Qt::endl << ymt::CommandLineHelp() << Qt::endl;
        return 2;
    }
    if (options.help) {
        out << ymt::CommandLineHelp() << Qt::endl;
        return 0;
    }
    // The demo starts from the program's default settings and leaves the operator's stored ones
    // alone; its program directory (and sicl.conf) is the usual one.
    std::optional<QTemporaryDir> demoSettings;
    if (options.demo) {
        demoSettings.emplace();
        if (!demoSettings->isValid()) {
            err << "Cannot create a scratch folder for the demo's settings: "
                << demoSettings->errorString() << Qt::endl;
            return 2;
        }
        ymt::SetSettingsFilePath(demoSettings->filePath(QStringLiteral("Ymt.reg")));
    }
    const QString& homeDir = options.homeDir;
    if (!homeDir.isEmpty()) {
        // Said in the stored language when its file can be found without the program directory.
        const QString problem = ymt::CreateProgramDir(homeDir, [&homeDir] {
            ymt::ApplyStoredLanguageTexts(ymt::SettingsFilePath(),
                                          ymt::StartupLanguageFolders(homeDir));
        });
        if (!problem.isEmpty()) {
            err << problem << Qt::endl;
            return 2;
        }
    }
    const bool headless = !options.scriptPath.isEmpty() || options.demo ||
                          !options.screenshotDir.isEmpty() || !options.createLngPath.isEmpty();
    if (!displayAvailable()) {
        if (!headless) {
            err << "No display: set DISPLAY, or run headless with --demo, --script FILE or "
                   "--screenshot DIR"
                << Qt::endl;
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zelvanor Ymt"));
    ymt::clock::setVirtual(options.fast);
    if (!options.ioTracePath.isEmpty() && !ymt::sicl::setIoTraceFile(options.ioTracePath)) {
        err << "Cannot write the I/O trace \"" << options.ioTracePath << '"' << Qt::endl;
        return 2;
    }

    const QString programDir = ymt::FindProgramDir(homeDir, QCoreApplication::applicationDirPath());
    const ymt::ProgramDirs dirs = ymt::PrepareProgramDirs(programDir);
    // sicl.conf beside the program configures the instrument interfaces of this installation.
    ymt::sicl::setProgramDirectory(dirs.programDir);
    if (!options.noSplash) {
        ymt::SplashScreen splash(ymt::VersionText());
        splash.showAndWait();
    }

    auto window = std::make_unique<TForm1>(dirs);
    if (!options.createLngPath.isEmpty()) {
        QString error;
        if (!window->writeLanguageFile(options.createLngPath, &error)) {
            err << "Cannot write " << options.createLngPath << ": " << error << Qt::endl;
            return 1;
        }
        // The window was never activated: its destroy sequence (settings, backups) must not
        // run over the operator's stored state, so it is kept until the process ends.
        static TForm1* const unactivated = window.release();
        (void)unactivated;
        return 0;
    }
    const auto destroyWindow = [&window] { window.reset(); };
    if (!options.scriptPath.isEmpty())
        return ymt::RunScript(*window, options.scriptPath, out, destroyWindow);
    if (options.demo)
        return ymt::RunDemo(*window, dirs.programDir, out, destroyWindow);
    if (!options.screenshotDir.isEmpty())
        return saveScreenshots(std::move(window), options.screenshotDir, out, err);
    window->showMaximized();
    const int result = QApplication::exec();
    window.reset();
    return result;
}
