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
    bool help = false;
    QString error; // not empty: the command line is wrong; print it with the help text
};

// arguments as QCoreApplication::arguments() gives them (program name first). environmentHome
// is the value of ZELVANOR_HOME, used when --home is not given.
CommandLineOptions ParseCommandLine(const QStringList& arguments,
                                    const QString& environmentHome = QString());

QString CommandLineHelp();

} // namespace ymt
