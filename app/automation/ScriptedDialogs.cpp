// Answers from the script queue for every dialog of the window, with one log line each.
#include "app/automation/ScriptedDialogs.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace ymt {
namespace {

QString answerKindName(const ScriptedDialogs::Answer& answer) {
    switch (answer.index()) {
    case 0:
        return QStringLiteral("a message box (answer)");
    case 1:
        return QStringLiteral("a file dialog (file)");
    case 2:
        return QStringLiteral("a colour dialog (color)");
    default:
        return QStringLiteral("a print dialog (printdialog)");
    }
}

QString colorText(ymt::Color color) {
    return QStringLiteral("0x") +
           QStringLiteral("%1").arg(color, 6, 16, QLatin1Char('0')).toUpper();
}

} // namespace

QString MessageKindName(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QStringLiteral("error");
    case MessageKind::Warning:
        return QStringLiteral("warning");
    case MessageKind::Information:
        return QStringLiteral("information");
    case MessageKind::Confirmation:
        return QStringLiteral("confirmation");
    case MessageKind::None:
        return QStringLiteral("none");
    }
    return QString();
}

QString QuotedText(const QString& text) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('\n'))
            quoted += QStringLiteral("\\n");
        else if (c != QLatin1Char('\r'))
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QStringList ScriptedDialogs::unusedAnswers() const {
    QStringList texts;
    for (const QueuedAnswer& queued : answers_) {
        QString text;
        if (const auto* button = std::get_if<DialogButton>(&queued.answer)) {
            text = QStringLiteral("answer ") + ButtonName(*button);
        } else if (const auto* file = std::get_if<FileAnswer>(&queued.answer)) {
            text = file->cancel ? QStringLiteral("file cancel")
                                : QStringLiteral("file ") + file->paths.join(QLatin1Char(' '));
        } else if (const auto* color = std::get_if<ColorAnswer>(&queued.answer)) {
            text = QStringLiteral("color ") +
                   (color->color ? colorText(*color->color) : QStringLiteral("cancel"));
        } else {
            text = std::get<PrintAnswer>(queued.answer).ok ? QStringLiteral("printdialog ok")
                                                           : QStringLiteral("printdialog cancel");
        }
        if (queued.line > 0)
            text += QStringLiteral(" (line %1)").arg(queued.line);
        texts << text;
    }
    for (const QueuedAction& queued : inNextBox_)
        texts << QStringLiteral("%1 (line %2)").arg(queued.what).arg(queued.line);
    return texts;
}

QString ScriptedDialogs::takeError() {
    QString error = error_;
    error_.clear();
    return error;
}

void ScriptedDialogs::recordError(const QString& message) {
    if (error_.isEmpty())
        error_ = message;
}

template <typename T> std::optional<T> ScriptedDialogs::take(const QString& dialogName) {
    if (answers_.isEmpty()) {
        recordError(QStringLiteral("%1 appeared with no answer queued").arg(dialogName));
        return std::nullopt;
    }
    if (!std::holds_alternative<T>(answers_.first().answer)) {
        recordError(QStringLiteral("%1 appeared, but the next queued answer is for %2")
                        .arg(dialogName, answerKindName(answers_.first().answer)));
        return std::nullopt;
    }
    T answer = std::get<T>(answers_.first().answer);
    answers_.removeFirst();
    return answer;
}

DialogButton ScriptedDialogs::showMessage(MessageKind kind, const QString& text,
                                          ButtonSet buttons) {
    while (!inNextBox_.isEmpty())
        inNextBox_.takeFirst().action();
    DialogButton chosen = SafeButton(buttons);
    const QString box = QStringLiteral("message box %1").arg(QuotedText(text));
    if (const std::optional<DialogButton> answer = take<DialogButton>(box)) {
        if (ButtonsOf(buttons).contains(*answer)) {
            chosen = *answer;
        } else {
            QStringList names;
            for (DialogButton b : ButtonsOf(buttons))
                names << ButtonName(b);
            recordError(QStringLiteral("the message box %1 has no button %2 (only %3)")
                            .arg(QuotedText(text), ButtonName(*answer), names.join('/')));
        }
    }
    out_ << "message " << MessageKindName(kind) << ' ' << QuotedText(text) << " -> "
         << ButtonName(chosen) << '\n';
    out_.flush();
    return chosen;
}

FileDialogResult ScriptedDialogs::fileDialog(const char* which, const FileDialogOptions& options) {
    FileDialogResult result;
    result.filterIndex = options.filterIndex;
    const QString dialog =
        QStringLiteral("%1 file dialog %2").arg(QLatin1String(which), QuotedText(options.title));
    const std::optional<FileAnswer> answer = take<FileAnswer>(dialog);
    if (answer && !answer->cancel) {
        if (answer->paths.size() > 1 && !options.multipleSelection) {
            recordError(QStringLiteral("%1 takes a single file").arg(dialog));
        } else {
            result.accepted = true;
            result.paths = answer->paths;
            result.filterIndex = answer->filterIndex;
        }
    }
    out_ << "file " << which << ' ' << QuotedText(options.title) << " ->";
    if (result.accepted) {
        for (const QString& path : result.paths)
            out_ << ' ' << QuotedText(path);
        out_ << " #" << result.filterIndex;
    } else {
        out_ << " cancel";
    }
    out_ << '\n';
    out_.flush();
    return result;
}

FileDialogResult ScriptedDialogs::openFile(const FileDialogOptions& options) {
    return fileDialog("open", options);
}

FileDialogResult ScriptedDialogs::saveFile(const FileDialogOptions& options) {
    return fileDialog("save", options);
}

std::optional<ymt::Color> ScriptedDialogs::chooseColor(ymt::Color initial) {
    std::optional<ymt::Color> chosen;
    if (const std::optional<ColorAnswer> answer =
            take<ColorAnswer>(QStringLiteral("colour dialog")))
        chosen = answer->color;
    out_ << "color " << colorText(initial) << " -> "
         << (chosen ? colorText(*chosen) : QStringLiteral("cancel")) << '\n';
    out_.flush();
    return chosen;
}

bool ScriptedDialogs::printDialog(QPrinter& printer) {
    bool ok = false;
    QString pdfPath;
    if (const std::optional<PrintAnswer> answer =
            take<PrintAnswer>(QStringLiteral("print dialog"))) {
        ok = answer->ok;
        pdfPath = answer->pdfPath;
    }
    if (ok && !pdfPath.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    } else if (ok) {
        // As the dialog does when the operator keeps the system's default printer.
        printer.setOutputFileName(QString());
        printer.setPrinterName(QPrinterInfo::defaultPrinterName());
    }
    out_ << "printdialog -> " << (ok ? "ok" : "cancel");
    if (ok && !pdfPath.isEmpty())
        out_ << ' ' << QuotedText(pdfPath);
    out_ << '\n';
    out_.flush();
    return ok;
}

} // namespace ymt
