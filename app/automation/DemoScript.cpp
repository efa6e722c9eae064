// The built-in demo: connect to the simulated HP 4294A, sweep, zoom onto the first resonance
// and evaluate it; the script's own output is turned into sentences afterwards.
#include "app/automation/DemoScript.h"

#include "app/automation/ScriptDriver.h"
#include "instrument/sicl/SiclConfig.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace ymt {
namespace {

// Values printed by `show`, `state` and `curve`, in the order the demo printed them.
struct DemoLog {
    QHash<QString, QString> values; // the last value printed for each name
    QList<int> curveSizes;          // points of each `curve` step
    QStringList messages;           // "message ..." lines

    explicit DemoLog(const QString& output) {
        static const QRegularExpression point(QStringLiteral("^[-+0-9.eE]+\t[-+0-9.eE]+$"));
        bool inCurve = false;
        for (const QString& line : output.split(QLatin1Char('\n'))) {
            const bool isPoint = point.match(line).hasMatch();
            if (isPoint) {
                if (!inCurve)
                    curveSizes << 0;
                ++curveSizes.last();
            } else if (line.startsWith(QLatin1String("message "))) {
                messages << line;
            } else if (const qsizetype equals = line.indexOf(QLatin1Char('=')); equals > 0) {
                values.insert(line.left(equals), line.mid(equals + 1));
            }
            inCurve = isPoint;
        }
    }
    QString value(const char* name) const { return values.value(QString::fromLatin1(name)); }
};

// "5000.000" reads as 5000 and "0.040" as 0.04 in a sentence.
QString shortNumber(QString text) {
    text = text.trimmed();
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

QString range(const QString& start, const QString& stop) {
    return shortNumber(start) + QStringLiteral("–") + shortNumber(stop) + QStringLiteral(" kHz");
}

// "a", "a and b", "a, b and c".
QString listed(const QStringList& items) {
    if (items.size() < 2)
        return items.join(QString());
    return QStringList(items.mid(0, items.size() - 1)).join(QStringLiteral(", ")) +
           QStringLiteral(" and ") + items.last();
}

QString resultSentence(const DemoLog& log) {
    const auto result = [&](const QString& caption, const char* name, const QString& unit) {
        const QString text = log.value(name).trimmed();
        return caption + QLatin1Char(' ') +
               (text.isEmpty() || text == QLatin1String("---") ? QStringLiteral("not determined")
                                                               : text + unit);
    };
    // The coupling-factor list reads "kt  - Thickness Mode"; its first word names the mode.
    const QString mode = log.value("ComboBox4").section(QLatin1Char(' '), 0, 0);
    return QStringLiteral("Resonance: ") +
           QStringList({result(QStringLiteral("f(min)"), "label.fmin", QStringLiteral(" kHz")),
                        result(QStringLiteral("f(max)"), "label.fmax", QStringLiteral(" kHz")),
                        result(QStringLiteral("Rs"), "label.Rs", QStringLiteral(" Ohm")),
                        result(QStringLiteral("k(eff)"), "label.keff", QStringLiteral(" %")),
                        result(mode.isEmpty() ? QStringLiteral("k") : mode, "label.kmode",
                               QStringLiteral(" %"))})
               .join(QStringLiteral(", ")) +
           QLatin1Char('.');
}

} // namespace

QString BuiltInDemoScript() {
    return QStringLiteral(
        "# Built-in demo: a measurement on the simulated HP 4294A, run headless.\n"
        "select ComboBox6 1\n"
        "show ComboBox6\n"
        "show Edit17\n"
        "show SpinEdit1\n"
        "# Connect leads through the open and short compensation of the sample holder.\n"
        "answer OK\n"
        "answer OK\n"
        "click Button12\n"
        "show Memo1\n"
        "type Edit4 Demo sample\n"
        "click Button18\n"
        "tab TabSheet3\n"
        "# The sweep reads the checked ranges of tab Options.\n"
        "show CheckBox23\nshow Edit36\nshow Edit37\n"
        "show CheckBox24\nshow Edit38\nshow Edit39\n"
        "show CheckBox25\nshow Edit40\nshow Edit41\n"
        "click Button6\n"
        "curve fastgraph1 3\n"
        "# Zoom onto the first resonance near 200 kHz and evaluate it; the window holds few\n"
        "# points of the overview, so the evaluation first reads more points there.\n"
        "type Edit1 150\n"
        "type Edit2 260\n"
        "show Edit1\n"
        "show Edit2\n"
        "answer OK\n"
        "click Button10\n"
        "curve fastgraph1 3\n"
        "show ComboBox4\n"
        "state\n"
        "quit\n");
}

QStringList DemoReport(const QString& scriptOutput, int exitCode, bool simulated) {
    const DemoLog log(scriptOutput);
    QStringList sentences;
    const QString analyzer =
        (simulated ? QStringLiteral("the simulated ") : QStringLiteral("the ")) +
        log.value("ComboBox6");
    bool connected = false;
    for (auto it = log.values.cbegin(); it != log.values.cend(); ++it)
        connected |= it.key().startsWith(QLatin1String("Memo1[")) &&
                     it.value() == QLatin1String("Compensation complete.");
    if (connected)
        sentences << QStringLiteral("Connected to %1 at address %2 on interface %3; the open and "
                                    "short compensation of the sample holder is done.")
                         .arg(analyzer, log.value("SpinEdit1"), log.value("Edit17"));
    else if (!log.value("ComboBox6").isEmpty())
        sentences << QStringLiteral("Could not connect to %1 at address %2 on interface %3.")
                         .arg(analyzer, log.value("SpinEdit1"), log.value("Edit17"));

    if (!log.curveSizes.isEmpty()) {
        QStringList ranges;
        const char* checks[3] = {"CheckBox23", "CheckBox24", "CheckBox25"};
        const char* edits[6] = {"Edit36", "Edit37", "Edit38", "Edit39", "Edit40", "Edit41"};
        for (int i = 0; i < 3; ++i) {
            if (log.value(checks[i]) == QLatin1String("1"))
                ranges << range(log.value(edits[2 * i]), log.value(edits[2 * i + 1]));
        }
        sentences << QStringLiteral("Swept %1; the spectrum holds %2 points.")
                         .arg(listed(ranges))
                         .arg(log.curveSizes[0]);
    }
    if (log.curveSizes.size() > 1) {
        const QString window = range(log.value("Edit1"), log.value("Edit2"));
        const int added = log.curveSizes[1] - log.curveSizes[0];
        if (added > 0)
            sentences << QStringLiteral("Zoomed to %1; it held few points, so %2 more were read "
                                        "there (%3 points in all).")
                             .arg(window)
                             .arg(added)
                             .arg(log.curveSizes[1]);
        else
            sentences << QStringLiteral("Zoomed to %1.").arg(window);
        sentences << resultSentence(log);
    }
    if (exitCode != 0) {
        sentences << QStringLiteral("The demo stopped early (exit code %1). What the script "
                                    "driver printed:")
                         .arg(exitCode);
        sentences << scriptOutput.trimmed().split(QLatin1Char('\n'));
    }
    return sentences;
}

int RunDemo(ScriptTarget& target, const QString& programDir, QTextStream& out,
            const std::function<void()>& destroyWindow) {
    QString output;
    QTextStream log(&output);
    const int exitCode = RunScriptText(target, BuiltInDemoScript(), programDir, log, destroyWindow);
    log.flush();
    // The transport that served gpib0, whether or not a sicl.conf exists.
    const bool simulated =
        sicl::transportName(sicl::currentConfig().transportFor(QStringLiteral("gpib0"))) ==
        QLatin1String("sim");
    for (const QString& sentence : DemoReport(output, exitCode, simulated))
        out << sentence << '\n';
    out.flush();
    return exitCode;
}

} // namespace ymt
