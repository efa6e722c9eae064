// Reading of the command line: --home, --fast, --io-trace, --no-splash, --script, --demo,
// --screenshot, --create-lng, --help.
#include "app/CommandLine.h"

#include <QDir>

namespace ymt {
namespace {

QString directoryText(const QString& path) {
    QString absolute = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    if (!absolute.endsWith(QLatin1Char('/')))
        absolute += QLatin1Char('/');
    return absolute;
}

bool* flagOf(CommandLineOptions& options, const QString& argument) {
    if (argument == QLatin1String("--fast"))
        return &options.fast;
    if (argument == QLatin1String("--no-splash"))
        return &options.noSplash;
    if (argument == QLatin1String("--demo"))
        return &options.demo;
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
        return &options.help;
    return nullptr;
}

} // namespace

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

CommandLineOptions ParseCommandLine(const QStringList& arguments, const QString& environmentHome) {
    CommandLineOptions options;
    QString home;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString argument = arguments[i];
        QString inlineValue;
        bool hasInlineValue = false;
        if (argument.startsWith(QLatin1String("--")) && argument.contains(QLatin1Char('='))) {
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            inlineValue = argument.mid(equals + 1);
            argument = argument.left(equals);
            hasInlineValue = true;
        }
        const auto takeValue = [&](QString& target) {
            if (hasInlineValue) {
                target = inlineValue;
            } else if (i + 1 < arguments.size()) {
                target = arguments[++i];
            } else {
                options.error = QStringLiteral("option %1 needs a value").arg(argument);
                return false;
            }
            if (target.isEmpty()) {
                options.error = QStringLiteral("option %1 needs a value").arg(argument);
                return false;
            }
            return true;
        };
        const auto noValue = [&] {
            if (hasInlineValue)
                options.error = QStringLiteral("option %1 takes no value").arg(argument);
            return !hasInlineValue;
        };

        bool ok = true;
        if (argument == QLatin1String("--home")) {
            ok = takeValue(home);
        } else if (argument == QLatin1String("--io-trace")) {
            ok = takeValue(options.ioTracePath);
        } else if (argument == QLatin1String("--script")) {
            ok = takeValue(options.scriptPath);
        } else if (argument == QLatin1String("--screenshot")) {
            ok = takeValue(options.screenshotDir);
        } else if (argument == QLatin1String("--create-lng")) {
            ok = takeValue(options.createLngPath);
        } else if (bool* flag = flagOf(options, argument)) {
            ok = noValue();
            *flag = true;
        } else {
            options.error = QStringLiteral("unknown argument \"%1\"").arg(arguments[i]);
            ok = false;
        }
        if (!ok)
            return options;
    }
    const int modes = int(!options.scriptPath.isEmpty()) + int(options.demo) +
                      int(!options.screenshotDir.isEmpty()) + int(!options.createLngPath.isEmpty());
    if (modes > 1) {
        options.error = QStringLiteral(
            "only one of --script, --demo, --screenshot and --create-lng can be given");
        return options;
    }
    if (home.isEmpty())
        home = environmentHome;
    if (!home.isEmpty())
        options.homeDir = directoryText(home);
    // A run without an operator has nobody to click the start-up screen away.
    if (modes > 0)
        options.noSplash = true;
    return options;
}

QString CommandLineHelp() {
    return QStringLiteral(
        "Usage: zelvanor-ymt [options]\n"
        "Impedance spectroscopy of piezoelectric samples on an HP 4194A / 4294A analyzer.\n"
        "\n"
        "Options:\n"
        "  --home DIR       program directory (QC.txt, language files, data/ and backup/);\n"
        "                   default: $ZELVANOR_HOME, else the program's own directory\n"
        "  --fast           virtual clock: waits and simulated sweeps pass at once\n"
        "  --io-trace FILE  write every instrument I/O call to FILE, one line each\n"
        "  --no-splash      start without the start-up screen\n"
        "  --script FILE    run the window from a script of operator steps (implies\n"
        "                   --no-splash); exit code 0 all done, 1 an expectation failed,\n"
        "                   2 a script error\n"
        "  --demo           run the built-in demo measurement on the simulated analyzer\n"
        "                   and print what it did (implies --no-splash)\n"
        "  --screenshot DIR render every tab at 818x591, 1600x1000 and 1920x1080 into\n"
        "                   DIR as PNG files, then end; a message box at start-up is\n"
        "                   printed to standard error and ends the run with exit code 2\n"
        "  --create-lng FILE  write a complete language file of the window's English texts\n"
        "                   and messages to FILE (code page 1252), then end\n"
        "\n"
        "Without a display, --script, --demo and --screenshot run headless.\n"
        "  --help           show this text\n");
}

} // namespace ymt
