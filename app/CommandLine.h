// The program's command-line options.
#pragma once

#include <QString>
#include <QStringList>

namespace ymt {

struct CommandLineOptions {
    QString homeDir;   // absolute, ending in "/"; empty: the executable's directory
    bool fast = false; // virtual clock
    QString ioTracePath;
    bool noSplash = false; // also set by --script and --demo
    QString scriptPath;
    bool demo = false;
    QString screenshotDir; // not empty: render every tab into this folder and end
    bool help = false;
    QString createLngPath; // --create-lng FILE: write the window's language file and end
    QString error;         // not empty: the command line is wrong; print it with the help text
};

// The arguments of main() as text, program name first; read before any application object
// exists, so that --help and a bad option work without a display.
QStringList ArgumentsOf(int argc, char** argv);

// arguments as ArgumentsOf() gives them (program name first). environmentHome
// is the value of ZELVANOR_HOME, used when --home is not given.
CommandLineOptions ParseCommandLine(const QStringList& arguments,
                                    const QString& environmentHome = QString());

QString CommandLineHelp();

} // namespace ymt
