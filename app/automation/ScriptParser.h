// Reading of test and demo scripts: one step per line, words separated by blanks, double quotes
// around a word with blanks (\" and \\ as escapes), "#" comments and blank lines ignored.
#pragma once

#include "app/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ymt {

enum class StepKind {
    Type,
    Enter,
    Click,
    Check,
    Select,
    Tab,
    Mouse,
    Answer,
    File,
    Color,
    PrintDialog,
    Show,
    Expect,
    State,
    Controls,
    Curve,
    Picture,
    Tick,
    Wait,
    Quit,
    Stop
};

enum class MouseAction { Down, Move, Up };
enum class MouseButtonName { Left, Right, Middle, None };
// When "tick" delivers the timer event: at once, while the next message box is open ("tick
// box"), or during the next wait for the analyzer ("tick wait").
enum class TickMoment { Now, NextBox, NextWait };

struct ScriptStep {
    int line = 0; // 1-based line in the script
    StepKind kind = StepKind::State;
    QString name;         // control, plot or tab sheet
    QString text;         // type, expect
    int number = 0;       // check 0|1, select N, curve N, wait MS, mouse X
    std::optional<int> y; // mouse Y
    MouseAction mouseAction = MouseAction::Move;
    MouseButtonName mouseButton = MouseButtonName::None;
    DialogButton button = DialogButton::OK;  // answer
    bool cancel = false;                     // file/color/printdialog cancel
    QStringList paths;                       // file
    int filterIndex = 1;                     // file #N (1-based)
    ymt::Color color = 0;                    // color
    TickMoment tickMoment = TickMoment::Now; // tick
};

struct ScriptParseError {
    int line = 0;
    QString message;
};

struct ParsedScript {
    QList<ScriptStep> steps;
    std::optional<ScriptParseError> error; // the first malformed line; steps is then empty
};

// A word of a line; quoted words are never taken as keywords ("cancel") or options ("#2").
struct ScriptWord {
    QString text;
    bool quoted = false;
};

// Splits one line into words. The rest of the line after word `textFrom` (when >= 0) is kept
// as one word: verbatim but trimmed, or the single quoted word it consists of.
// Returns an error message for an unterminated quote or text glued to a closing quote.
std::optional<QString> SplitScriptLine(const QString& line, QList<ScriptWord>& words,
                                       int textFrom = -1);

ParsedScript ParseScript(const QString& scriptText);

// The answer names of the script: OK Cancel Yes No Abort Ignore.
QString ButtonName(DialogButton button);
std::optional<DialogButton> ButtonFromName(const QString& name);

} // namespace ymt
