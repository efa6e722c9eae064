// Shared by the connection and acquisition tests: the built program run with --fast on a fresh
// home (optionally with its own sicl.conf), a script of steps and an I/O trace, and readers of
// what it printed.
#pragma once

#include "tests/app/ProgramProcess.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace ymt::test {

struct CurvePointText {
    double x = 0;
    double y = 0;
};

struct SimulatorRun {
    int exitCode = -1;
    QStringList output;  // stdout lines
    QStringList ioTrace; // lines of the --io-trace file

    // Value of the last "key=value" line printed for key ("" when none).
    QString value(const QString& key) const {
        const QString prefix = key + QLatin1Char('=');
        for (auto line = output.crbegin(); line != output.crend(); ++line) {
            if (line->startsWith(prefix))
                return line->mid(prefix.size());
        }
        return {};
    }
    double number(const QString& key) const { return value(key).toDouble(); }
    QStringList linesStartingWith(const QString& prefix) const {
        QStringList lines;
        for (const QString& line : output) {
            if (line.startsWith(prefix))
                lines << line;
        }
        return lines;
    }
    // The lines of the multi-line box (Memo1[0]=...), in order.
    QStringList box(const QString& name) const {
        QStringList lines;
        const QRegularExpression pattern(QRegularExpression::escape(name) +
                                         QStringLiteral("\\[(\\d+)\\]=(.*)"));
        for (const QString& line : output) {
            const QRegularExpressionMatch match = pattern.match(line);
            if (match.hasMatch())
                lines << match.captured(2);
        }
        return lines;
    }
    // The points printed by the n-th "curve" step (0-based), "x<TAB>y" each. Two curve steps
    // need another printing step between them to be told apart; an empty curve prints nothing.
    std::vector<CurvePointText> curve(int block) const {
        std::vector<std::vector<CurvePointText>> blocks;
        bool inBlock = false;
        for (const QString& line : output) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() != 2) {
                inBlock = false;
                continue;
            }
            if (!inBlock)
                blocks.emplace_back();
            inBlock = true;
            blocks.back().push_back({fields[0].toDouble(), fields[1].toDouble()});
        }
        return block < int(blocks.size()) ? blocks[std::size_t(block)]
                                          : std::vector<CurvePointText>{};
    }
    // Commands the program wrote, without their line end ("PRES", "STAR 40.000;STOP ...").
    QStringList commands() const {
        QStringList sent;
        const QRegularExpression pattern(QStringLiteral("^iwrite \\d+ \"(.*)\\\\r\\\\n\" END$"));
        for (const QString& line : ioTrace) {
            const QRegularExpressionMatch match = pattern.match(line);
            if (match.hasMatch())
                sent << match.captured(1);
        }
        return sent;
    }
    // The state line of a control printed by the "controls" step: its enabled flag.
    bool enabled(const QString& control) const {
        for (const QString& line : output) {
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() >= 5 && fields[0] == control)
                return fields[4] == QLatin1String("1");
        }
        return false;
    }
};

// Runs the program headless on a fresh home with the script (the built-in demo when the script
// is empty); sicl.conf is written beside the program when given. `fast` puts the program on the
// virtual clock; without it every wait and simulated sweep takes its real time.
inline SimulatorRun RunOnSimulator(const QString& script, const QString& siclConf = {},
                                   bool fast = true) {
    QTemporaryDir home;
    const QDir dir(home.path());
    if (!siclConf.isEmpty()) {
        QFile conf(dir.filePath(QStringLiteral("sicl.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write(siclConf.toUtf8());
    }
    const QString tracePath = dir.filePath(QStringLiteral("io.txt"));
    QStringList arguments = {QStringLiteral("--home"), home.path(), QStringLiteral("--io-trace"),
                             tracePath};
    if (fast)
        arguments << QStringLiteral("--fast");
    if (script.isEmpty())
        arguments << QStringLiteral("--demo");
    else
        arguments << QStringLiteral("--script") << WriteScript(home.path(), script);
    // No sicl.conf of the user's own may take part.
    const ProgramOutput output = RunProgram(arguments, dir.filePath(QStringLiteral("config")));

    SimulatorRun run;
    run.exitCode = output.exitCode;
    run.output = output.output.split(QLatin1Char('\n'));
    QFile trace(tracePath);
    if (trace.open(QIODevice::ReadOnly))
        run.ioTrace = QString::fromLatin1(trace.readAll()).split(QLatin1Char('\n'));
    return run;
}

// Connect with both compensation steps confirmed; the analyzer list set to model 0 or 1.
inline QString ConnectSteps(int model) {
    return QStringLiteral("select ComboBox6 %1\nanswer OK\nanswer OK\nclick Button12\n").arg(model);
}

} // namespace ymt::test
