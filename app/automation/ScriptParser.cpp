// Reading of scripts into steps; every malformed line is reported with its line number.
#include "app/automation/ScriptParser.h"

#include <QHash>

namespace ymt {
namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Reads a quoted word starting at text[pos] == '"'; pos ends after the closing quote.
std::optional<QString> readQuoted(const QString& text, qsizetype& pos, QString& word) {
    word.clear();
    ++pos;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            if (pos < text.size() && !isBlank(text[pos]))
                return QStringLiteral("text directly after a closing quote");
            return std::nullopt;
        }
        if (c == QLatin1Char('\\') && pos + 1 < text.size() &&
            (text[pos + 1] == QLatin1Char('"') || text[pos + 1] == QLatin1Char('\\'))) {
            word.append(text[pos + 1]);
            pos += 2;
            continue;
        }
        word.append(c);
        ++pos;
    }
    return QStringLiteral("missing closing quote");
}

const QHash<QString, StepKind>& stepNames() {
    static const QHash<QString, StepKind> names = {
        {QStringLiteral("type"), StepKind::Type},
        {QStringLiteral("enter"), StepKind::Enter},
        {QStringLiteral("click"), StepKind::Click},
        {QStringLiteral("check"), StepKind::Check},
        {QStringLiteral("select"), StepKind::Select},
        {QStringLiteral("tab"), StepKind::Tab},
        {QStringLiteral("mouse"), StepKind::Mouse},
        {QStringLiteral("answer"), StepKind::Answer},
        {QStringLiteral("file"), StepKind::File},
        {QStringLiteral("color"), StepKind::Color},
        {QStringLiteral("printdialog"), StepKind::PrintDialog},
        {QStringLiteral("show"), StepKind::Show},
        {QStringLiteral("expect"), StepKind::Expect},
        {QStringLiteral("state"), StepKind::State},
        {QStringLiteral("controls"), StepKind::Controls},
        {QStringLiteral("curve"), StepKind::Curve},
        {QStringLiteral("picture"), StepKind::Picture},
        {QStringLiteral("tick"), StepKind::Tick},
        {QStringLiteral("wait"), StepKind::Wait},
        {QStringLiteral("quit"), StepKind::Quit},
        {QStringLiteral("stop"), StepKind::Stop},
    };
    return names;
}

std::optional<int> nonNegativeInt(const ScriptWord& word) {
    bool ok = false;
    const int value = word.text.toInt(&ok);
    if (!ok || value < 0)
        return std::nullopt;
    return value;
}

std::optional<int> anyInt(const ScriptWord& word) {
    bool ok = false;
    const int value = word.text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

bool isKeyword(const ScriptWord& word, const char* keyword) {
    return !word.quoted && word.text == QLatin1String(keyword);
}

// Fills the step from the words after the step name; returns an error message.
std::optional<QString> fillStep(ScriptStep& step, const QList<ScriptWord>& words) {
    const QList<ScriptWord> args = words.mid(1);
    const auto expectCount = [&](qsizetype count, const char* usage) -> std::optional<QString> {
        if (args.size() != count)
            return QStringLiteral("usage: %1").arg(QLatin1String(usage));
        return std::nullopt;
    };
    std::optional<QString> usageError;
    switch (step.kind) {
    case StepKind::Type:
    case StepKind::Expect:
        if (args.isEmpty())
            return QStringLiteral("usage: %1 NAME TEXT").arg(words[0].text);
        step.name = args[0].text;
        step.text = args.size() > 1 ? args[1].text : QString();
        return std::nullopt;
    case StepKind::Enter:
    case StepKind::Click:
    case StepKind::Tab:
    case StepKind::Show:
        if (args.size() != 1)
            return QStringLiteral("usage: %1 NAME").arg(words[0].text);
        step.name = args[0].text;
        return std::nullopt;
    case StepKind::Picture:
        if ((usageError = expectCount(2, "picture NAME FILE")))
            return usageError;
        step.name = args[0].text;
        step.text = args[1].text;
        return std::nullopt;
    case StepKind::Check:
        if ((usageError = expectCount(2, "check NAME 0|1")))
            return usageError;
        step.name = args[0].text;
        if (isKeyword(args[1], "0") || isKeyword(args[1], "1")) {
            step.number = args[1].text.toInt();
            return std::nullopt;
        }
        return QStringLiteral("check takes 0 or 1, not \"%1\"").arg(args[1].text);
    case StepKind::Select:
    case StepKind::Curve: {
        const bool select = step.kind == StepKind::Select;
        if ((usageError = expectCount(2, select ? "select NAME N" : "curve PLOT N")))
            return usageError;
        step.name = args[0].text;
        const std::optional<int> n = nonNegativeInt(args[1]);
        if (!n)
            return QStringLiteral("\"%1\" is not a non-negative whole number").arg(args[1].text);
        step.number = *n;
        return std::nullopt;
    }
    case StepKind::Mouse: {
        if (args.size() != 4 && args.size() != 5)
            return QStringLiteral("usage: mouse NAME down|move|up left|right|middle|none X [Y]");
        step.name = args[0].text;
        static const QHash<QString, MouseAction> actions = {
            {QStringLiteral("down"), MouseAction::Down},
            {QStringLiteral("move"), MouseAction::Move},
            {QStringLiteral("up"), MouseAction::Up}};
        static const QHash<QString, MouseButtonName> buttons = {
            {QStringLiteral("left"), MouseButtonName::Left},
            {QStringLiteral("right"), MouseButtonName::Right},
            {QStringLiteral("middle"), MouseButtonName::Middle},
            {QStringLiteral("none"), MouseButtonName::None}};
        if (!actions.contains(args[1].text))
            return QStringLiteral("mouse action must be down, move or up");
        if (!buttons.contains(args[2].text))
            return QStringLiteral("mouse button must be left, right, middle or none");
        step.mouseAction = actions.value(args[1].text);
        step.mouseButton = buttons.value(args[2].text);
        const std::optional<int> x = anyInt(args[3]);
        if (!x)
            return QStringLiteral("\"%1\" is not a whole number").arg(args[3].text);
        step.number = *x;
        if (args.size() == 5) {
            step.y = anyInt(args[4]);
            if (!step.y)
                return QStringLiteral("\"%1\" is not a whole number").arg(args[4].text);
        }
        return std::nullopt;
    }
    case StepKind::Answer: {
        if ((usageError = expectCount(1, "answer OK|Cancel|Yes|No|Abort|Ignore")))
            return usageError;
        const std::optional<DialogButton> button = ButtonFromName(args[0].text);
        if (!button)
            return QStringLiteral("unknown button \"%1\"").arg(args[0].text);
        step.button = *button;
        return std::nullopt;
    }
    case StepKind::File: {
        if (args.isEmpty())
            return QStringLiteral("usage: file PATH... [#N] | file cancel");
        if (args.size() == 1 && isKeyword(args[0], "cancel")) {
            step.cancel = true;
            return std::nullopt;
        }
        qsizetype pathCount = args.size();
        const ScriptWord& last = args.last();
        if (!last.quoted && last.text.startsWith(QLatin1Char('#'))) {
            bool ok = false;
            step.filterIndex = last.text.mid(1).toInt(&ok);
            if (!ok || step.filterIndex < 1)
                return QStringLiteral("file type \"%1\" must be #1, #2, ...").arg(last.text);
            --pathCount;
        }
        if (pathCount == 0)
            return QStringLiteral("file needs at least one PATH");
        for (qsizetype i = 0; i < pathCount; ++i)
            step.paths.append(args[i].text);
        return std::nullopt;
    }
    case StepKind::Color: {
        if ((usageError = expectCount(1, "color 0xBBGGRR | color cancel")))
            return usageError;
        if (isKeyword(args[0], "cancel")) {
            step.cancel = true;
            return std::nullopt;
        }
        bool ok = false;
        const QString& value = args[0].text;
        const qulonglong color = value.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                     ? value.mid(2).toULongLong(&ok, 16)
                                     : value.toULongLong(&ok, 10);
        if (!ok || color > 0xFFFFFF)
            return QStringLiteral("colour \"%1\" is not 0xBBGGRR").arg(value);
        step.color = static_cast<ymt::Color>(color);
        return std::nullopt;
    }
    case StepKind::PrintDialog:
        // "printdialog ok FILE.pdf" prints into a PDF file instead of the default printer.
        if (args.size() == 2 && isKeyword(args[0], "ok")) {
            step.paths.append(args[1].text);
            return std::nullopt;
        }
        if (args.size() == 1 && (isKeyword(args[0], "ok") || isKeyword(args[0], "cancel"))) {
            step.cancel = args[0].text == QLatin1String("cancel");
            return std::nullopt;
        }
        return QStringLiteral("usage: printdialog ok [FILE.pdf] | printdialog cancel");
    case StepKind::Wait: {
        if ((usageError = expectCount(1, "wait MS")))
            return usageError;
        const std::optional<int> ms = nonNegativeInt(args[0]);
        if (!ms)
            return QStringLiteral("\"%1\" is not a non-negative whole number").arg(args[0].text);
        step.number = *ms;
        return std::nullopt;
    }
    case StepKind::Tick:
        if (args.isEmpty())
            return std::nullopt;
        if (args.size() == 1 && isKeyword(args[0], "box")) {
            step.tickMoment = TickMoment::NextBox;
            return std::nullopt;
        }
        if (args.size() == 1 && isKeyword(args[0], "wait")) {
            step.tickMoment = TickMoment::NextWait;
            return std::nullopt;
        }
        return QStringLiteral("usage: tick [box|wait]");
    case StepKind::State:
    case StepKind::Controls:
    case StepKind::Quit:
    case StepKind::Stop:
        if (!args.isEmpty())
            return QStringLiteral("%1 takes no arguments").arg(words[0].text);
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> SplitScriptLine(const QString& line, QList<ScriptWord>& words,
                                       int textFrom) {
    words.clear();
    qsizetype pos = 0;
    const qsizetype n = line.size();
    while (true) {
        while (pos < n && isBlank(line[pos]))
            ++pos;
        if (pos >= n)
            return std::nullopt;
        ScriptWord word;
        if (words.size() == textFrom) {
            if (line[pos] == QLatin1Char('"')) {
                word.quoted = true;
                if (std::optional<QString> error = readQuoted(line, pos, word.text))
                    return error;
                while (pos < n && isBlank(line[pos]))
                    ++pos;
                if (pos < n)
                    return QStringLiteral("TEXT must be the rest of the line or one quoted word");
            } else {
                word.text = line.mid(pos);
                while (!word.text.isEmpty() && word.text.back().isSpace())
                    word.text.chop(1);
                pos = n;
            }
            words.append(word);
            return std::nullopt;
        }
        if (line[pos] == QLatin1Char('"')) {
            word.quoted = true;
            if (std::optional<QString> error = readQuoted(line, pos, word.text))
                return error;
        } else {
            const qsizetype start = pos;
            while (pos < n && !isBlank(line[pos]))
                ++pos;
            word.text = line.mid(start, pos - start);
        }
        words.append(word);
    }
}

ParsedScript ParseScript(const QString& scriptText) {
    ParsedScript parsed;
    int quitLine = 0;
    const QStringList lines = scriptText.split(QLatin1Char('\n'));
    for (qsizetype index = 0; index < lines.size(); ++index) {
        QString line = lines[index];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int lineNumber = static_cast<int>(index + 1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;

        const auto fail = [&](const QString& message) {
            parsed.steps.clear();
            parsed.error = ScriptParseError{lineNumber, message};
            return parsed;
        };
        QList<ScriptWord> words;
        if (std::optional<QString> error = SplitScriptLine(line, words))
            return fail(*error);
        const QString& stepName = words[0].text;
        if (words[0].quoted || !stepNames().contains(stepName))
            return fail(QStringLiteral("unknown step \"%1\"").arg(stepName));

        ScriptStep step;
        step.line = lineNumber;
        step.kind = stepNames().value(stepName);
        if (step.kind == StepKind::Type || step.kind == StepKind::Expect) {
            if (std::optional<QString> error = SplitScriptLine(line, words, 2))
                return fail(*error);
        }
        if (std::optional<QString> error = fillStep(step, words))
            return fail(*error);
        // A step after "quit" would silently never run, so a test could pass without it.
        if (quitLine > 0)
            return fail(QStringLiteral("a step after \"quit\" (line %1) never runs").arg(quitLine));
        if (step.kind == StepKind::Quit)
            quitLine = lineNumber;
        parsed.steps.append(step);
    }
    return parsed;
}

QString ButtonName(DialogButton button) {
    switch (button) {
    case DialogButton::OK:
        return QStringLiteral("OK");
    case DialogButton::Cancel:
        return QStringLiteral("Cancel");
    case DialogButton::Yes:
        return QStringLiteral("Yes");
    case DialogButton::No:
        return QStringLiteral("No");
    case DialogButton::Abort:
        return QStringLiteral("Abort");
    case DialogButton::Ignore:
        return QStringLiteral("Ignore");
    }
    return QString();
}

std::optional<DialogButton> ButtonFromName(const QString& name) {
    for (DialogButton button : {DialogButton::OK, DialogButton::Cancel, DialogButton::Yes,
                                DialogButton::No, DialogButton::Abort, DialogButton::Ignore}) {
        if (name.compare(ButtonName(button), Qt::CaseInsensitive) == 0)
            return button;
    }
    return std::nullopt;
}

} // namespace ymt
