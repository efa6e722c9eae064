// Debian's Python (with python3-numpy and python3-pandas) as an independent reader of the files
// the program reads and writes. A python3 earlier on PATH may lack those modules, so the
// system's own is called by its path.
#pragma once

#include "core/SpectrumRows.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include <cstdlib>
#include <vector>

namespace ymt::test {

inline constexpr char kDebianPython[] = "/usr/bin/python3";

struct PythonRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

inline PythonRun RunDebianPython(const QStringList& arguments, const QString& workingDir = {}) {
    QProcess process;
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    process.start(QString::fromLatin1(kDebianPython), arguments);
    PythonRun run;
    if (!process.waitForFinished(120000)) {
        run.errors = QStringLiteral("python3 did not run: ") + process.errorString();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput());
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Lines of three float.hex() numbers ("0x1.9p+6 ..."), as the test scripts print points.
inline std::vector<SpectrumPoint> HexPoints(const QString& output) {
    std::vector<SpectrumPoint> points;
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() != 3)
            continue;
        double values[3];
        for (int i = 0; i < 3; ++i)
            values[i] = std::strtod(fields[i].toLatin1().constData(), nullptr);
        points.push_back({values[0], values[1], values[2]});
    }
    return points;
}

} // namespace ymt::test
