// The dialogs of a run without an operator (--screenshot): nobody can answer a box, so each is
// printed to standard error, answered safely (Cancel, No, the only button) and remembered, and
// the run ends with exit code 2 instead of waiting forever.
#pragma once

#include "app/Dialogs.h"

#include <QTextStream>

namespace ymt {

class HeadlessDialogs : public DialogInterface {
public:
    explicit HeadlessDialogs(QTextStream& err) : err_(err) {}

    // True once any dialog was asked for.
    bool wasAsked() const { return asked_; }

    DialogButton showMessage(MessageKind kind, const QString& text, ButtonSet buttons) override;
    FileDialogResult openFile(const FileDialogOptions& options) override;
    FileDialogResult saveFile(const FileDialogOptions& options) override;
    std::optional<ymt::Color> chooseColor(ymt::Color initial) override;
    bool printDialog(QPrinter& printer) override;

private:
    void report(const QString& line);

    QTextStream& err_;
    bool asked_ = false;
};

} // namespace ymt
