// The dialogs of a scripted run: every message box, file, colour and print dialog takes the next
// queued answer from the script and is logged. A dialog without a fitting answer gets a safe
// answer (Cancel, No, the box's escape button) and is recorded as a script error, so that the
// step ends instead of waiting for an operator who is not there.
#pragma once

#include "app/Dialogs.h"
#include "app/automation/ScriptParser.h"

#include <QList>
#include <QTextStream>

#include <functional>
#include <variant>

namespace ymt {

class ScriptedDialogs : public DialogInterface {
public:
    struct FileAnswer {
        bool cancel = false;
        QStringList paths; // absolute
        int filterIndex = 1;
    };
    struct ColorAnswer {
        std::optional<ymt::Color> color;
    };
    struct PrintAnswer {
        bool ok = false;
        QString pdfPath; // absolute; empty: the default printer
    };
    using Answer = std::variant<DialogButton, FileAnswer, ColorAnswer, PrintAnswer>;

    explicit ScriptedDialogs(QTextStream& out) : out_(out) {}

    // `line` is the script line of the answer, for the report of answers no dialog took.
    void queue(const Answer& answer, int line = 0) { answers_.append({answer, line}); }
    // Runs `action` when the next message box appears, before it takes its answer: what happens
    // while an operator leaves the box open. `what` names it in the report if no box came.
    void whileNextBoxIsOpen(std::function<void()> action, const QString& what, int line) {
        inNextBox_.append({std::move(action), what, line});
    }
    qsizetype queuedCount() const { return answers_.size(); }
    // The answers (and box actions) still queued, one text each ("answer OK (line 12)"); empty
    // when all were used.
    QStringList unusedAnswers() const;

    // The first dialog that could not be answered from the script; cleared by takeError().
    bool hasError() const { return !error_.isEmpty(); }
    QString takeError();
    // Keeps the first error of a step; later ones are consequences of it.
    void recordError(const QString& message);

    DialogButton showMessage(MessageKind kind, const QString& text, ButtonSet buttons) override;
    FileDialogResult openFile(const FileDialogOptions& options) override;
    FileDialogResult saveFile(const FileDialogOptions& options) override;
    std::optional<ymt::Color> chooseColor(ymt::Color initial) override;
    bool printDialog(QPrinter& printer) override;

private:
    FileDialogResult fileDialog(const char* which, const FileDialogOptions& options);
    // The next answer when it is of type T; otherwise records why it does not fit.
    template <typename T> std::optional<T> take(const QString& dialogName);

    struct QueuedAnswer {
        Answer answer;
        int line = 0;
    };

    struct QueuedAction {
        std::function<void()> action;
        QString what;
        int line = 0;
    };

    QTextStream& out_;
    QList<QueuedAnswer> answers_;
    QList<QueuedAction> inNextBox_;
    QString error_;
};

// The words of the script log.
QString MessageKindName(MessageKind kind);
// Text in double quotes with " and \ escaped and line breaks written as \n.
QString QuotedText(const QString& text);

} // namespace ymt
