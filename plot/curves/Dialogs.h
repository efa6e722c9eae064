// Every dialog of the program goes through this interface, so that the script driver can
// answer message boxes, file, colour and print dialogs and log them, and so that the layers
// below the window can ask without knowing the window.
#pragma once

#include "plot/curves/CurveStore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;

namespace ymt {

enum class MessageKind { Error, Warning, Information, Confirmation, None };
enum class DialogButton { OK, Cancel, Yes, No, Abort, Ignore };
enum class ButtonSet { OK, OKCancel, OKAbortIgnore, OKAbort, YesNo, YesNoCancel, YesOK };

// The buttons of a set, in the order the box shows them.
inline QList<DialogButton> ButtonsOf(ButtonSet set) {
    using B = DialogButton;
    switch (set) {
    case ButtonSet::OK:
        return {B::OK};
    case ButtonSet::OKCancel:
        return {B::OK, B::Cancel};
    case ButtonSet::OKAbortIgnore:
        return {B::OK, B::Abort, B::Ignore};
    case ButtonSet::OKAbort:
        return {B::OK, B::Abort};
    case ButtonSet::YesNo:
        return {B::Yes, B::No};
    case ButtonSet::YesNoCancel:
        return {B::Yes, B::No, B::Cancel};
    case ButtonSet::YesOK:
        return {B::Yes, B::OK};
    }
    return {B::OK};
}

// The answer of a box closed without a choice (Escape, close box, no operator): Cancel, No or
// Abort when the set has it, else its only button.
inline DialogButton SafeButton(ButtonSet set) {
    const QList<DialogButton> buttons = ButtonsOf(set);
    for (DialogButton safe : {DialogButton::Cancel, DialogButton::No, DialogButton::Abort}) {
        if (buttons.contains(safe))
            return safe;
    }
    return buttons.first();
}

struct FileDialogOptions {
    QString title;
    // Filter in the window-definition form "Text (*.txt)|*.txt|All (*.*)|*.*".
    QString filter;
    int filterIndex = 1; // 1-based
    QString defaultExtension;
    QString fileName;
    QString initialDir;
    bool multipleSelection = false;
};

struct FileDialogResult {
    bool accepted = false;
    QStringList paths;
    int filterIndex = 1; // 1-based, the file type the operator chose
};

class DialogInterface {
public:
    virtual ~DialogInterface() = default;
    virtual DialogButton showMessage(MessageKind kind, const QString& text, ButtonSet buttons) = 0;
    virtual FileDialogResult openFile(const FileDialogOptions& options) = 0;
    virtual FileDialogResult saveFile(const FileDialogOptions& options) = 0;
    // Empty when cancelled.
    virtual std::optional<ymt::Color> chooseColor(ymt::Color initial) = 0;
    // Lets the operator choose printer, orientation or a PDF file for the printer; true when the
    // operator confirmed the dialog.
    virtual bool printDialog(QPrinter& printer) = 0;
};

// Passes every dialog on to another interface and knows whether one is open. The window asks
// it rather than the toolkit, because a dialog of the interface need not be a modal widget.
class DialogTracker final : public DialogInterface {
public:
    void setTarget(DialogInterface* target) { target_ = target; }
    bool anyOpen() const { return open_ > 0; }

    // Nobody answers a box once the system ends the program: from then on every message goes
    // to report and is answered as Esc answers it, and every other dialog is cancelled.
    void setUnattended(std::function<void(const QString&)> report) {
        unattendedReport_ = std::move(report);
    }
    bool unattended() const { return static_cast<bool>(unattendedReport_); }

    DialogButton showMessage(MessageKind kind, const QString& text, ButtonSet buttons) override {
        if (unattended()) {
            unattendedReport_(text);
            return SafeButton(buttons);
        }
        const Open open(open_);
        return target_->showMessage(kind, text, buttons);
    }
    FileDialogResult openFile(const FileDialogOptions& options) override {
        if (unattended())
            return {};
        const Open open(open_);
        return target_->openFile(options);
    }
    FileDialogResult saveFile(const FileDialogOptions& options) override {
        if (unattended())
            return {};
        const Open open(open_);
        return target_->saveFile(options);
    }
    std::optional<ymt::Color> chooseColor(ymt::Color initial) override {
        if (unattended())
            return std::nullopt;
        const Open open(open_);
        return target_->chooseColor(initial);
    }
    bool printDialog(QPrinter& printer) override {
        if (unattended())
            return false;
        const Open open(open_);
        return target_->printDialog(printer);
    }

private:
    struct Open {
        explicit Open(int& count) : count_(count) { ++count_; }
        ~Open() { --count_; }
        Open(const Open&) = delete;
        Open& operator=(const Open&) = delete;
        int& count_;
    };
    DialogInterface* target_ = nullptr;
    int open_ = 0;
    std::function<void(const QString&)> unattendedReport_;
};

} // namespace ymt
