// Runs the built program as the program-level tests drive it: headless, with no program home
// from the environment and, given a folder for it, none of the user's settings or sicl.conf.
#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace ymt::test {

struct ProgramOutput {
    int exitCode = -1; // -1 when the program crashed or did not end in time
    QString output;
};

inline ProgramOutput RunProgram(const QStringList& arguments, const QString& configHome = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!configHome.isEmpty())
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.remove(QStringLiteral("ZELVANOR_HOME"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(YMT_EXECUTABLE), arguments);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished(5000);
    }
    const bool ended = process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput())};
}

// Writes the steps as "steps.txt" in the folder and returns its path.
inline QString WriteScript(const QString& folder, const QString& steps) {
    const QString path = folder + QStringLiteral("/steps.txt");
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(steps.toUtf8());
    return path;
}

// The script run on the virtual clock in the given program home, its settings kept below it.
inline ProgramOutput RunScriptIn(const QString& home, const QString& steps) {
    return RunProgram({QStringLiteral("--fast"), QStringLiteral("--home"), home,
                       QStringLiteral("--script"), WriteScript(home, steps)},
                      home + QStringLiteral("/config"));
}

} // namespace ymt::test
