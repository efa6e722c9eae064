// Runs the built program on a script in a program home the test keeps, so that the files the
// run leaves (protocols, "QC.txt", backups) can be read afterwards.
#pragma once

#include "tests/app/EvaluationTestSupport.h"
#include "tests/app/ProgramProcess.h"

#include "core/TextFile.h"

#include <QDir>

namespace ymt::test {

inline ScriptRun RunScriptInHome(const QString& home, const QString& script) {
    const ProgramOutput output = RunScriptIn(home, script);
    return {output.exitCode, output.output.split(QLatin1Char('\n'))};
}

// The lines of a text file (code page 1252, CR LF), empty when it cannot be read.
inline QStringList FileLines(const QString& path) {
    QStringList lines;
    ReadTextFile(path, lines);
    return lines;
}

// The "Memo2[i]=..." lines a "show Memo2" step printed, from the n-th such block.
inline QStringList ShownMemo(const ScriptRun& run, const QString& name, int n = 0) {
    QStringList memo;
    int block = -1;
    bool inBlock = false;
    const QString prefix = name + QLatin1Char('[');
    for (const QString& line : run.lines) {
        const bool part = line.startsWith(prefix);
        if (part && (!inBlock || line.startsWith(prefix + QStringLiteral("0]="))))
            ++block;
        inBlock = part;
        if (part && block == n)
            memo.append(line.mid(line.indexOf(QLatin1Char('=')) + 1));
    }
    return memo;
}

// The lines of the messages the run showed ("message <kind> "<text>" -> <BUTTON>").
inline QStringList Messages(const ScriptRun& run) {
    QStringList messages;
    for (const QString& line : run.lines)
        if (line.startsWith(QStringLiteral("message ")))
            messages.append(line);
    return messages;
}

// Connects to the simulated HP 4194A, skipping nothing (both compensation boxes answered OK).
inline const QString kConnect = QStringLiteral("select ComboBox6 0\n"
                                               "answer OK\n"
                                               "answer OK\n"
                                               "click Button12\n");

} // namespace ymt::test
