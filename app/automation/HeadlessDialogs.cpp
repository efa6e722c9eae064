// Prints every dialog of a run without an operator to standard error and answers it safely.
#include "app/automation/HeadlessDialogs.h"

#include "app/automation/ScriptedDialogs.h"

namespace ymt {

void HeadlessDialogs::report(const QString& line) {
    asked_ = true;
    err_ << line << Qt::endl;
}

DialogButton HeadlessDialogs::showMessage(MessageKind kind, const QString& text,
                                          ButtonSet buttons) {
    report(QStringLiteral("message %1: %2").arg(MessageKindName(kind), text));
    return SafeButton(buttons);
}

FileDialogResult HeadlessDialogs::openFile(const FileDialogOptions& options) {
    report(QStringLiteral("file dialog \"%1\" cancelled: no operator").arg(options.title));
    return {};
}

FileDialogResult HeadlessDialogs::saveFile(const FileDialogOptions& options) {
    return openFile(options);
}

std::optional<ymt::Color> HeadlessDialogs::chooseColor(ymt::Color) {
    report(QStringLiteral("colour dialog cancelled: no operator"));
    return std::nullopt;
}

bool HeadlessDialogs::printDialog(QPrinter&) {
    report(QStringLiteral("print dialog cancelled: no operator"));
    return false;
}

} // namespace ymt
