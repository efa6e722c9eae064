// The dialogs of the interactive program: message boxes with icon and button set, the file,
// colour and print dialogs of the platform.
#pragma once

#include "app/Dialogs.h"

#include <QStringList>

class QWidget;

namespace ymt {

class WidgetDialogs : public DialogInterface {
public:
    explicit WidgetDialogs(QWidget* parent);
    ~WidgetDialogs() override;

    DialogButton showMessage(MessageKind kind, const QString& text, ButtonSet buttons) override;
    FileDialogResult openFile(const FileDialogOptions& options) override;
    FileDialogResult saveFile(const FileDialogOptions& options) override;
    std::optional<ymt::Color> chooseColor(ymt::Color initial) override;
    bool printDialog(QPrinter& printer) override;

private:
    FileDialogResult runFileDialog(const FileDialogOptions& options, bool save);

    QWidget* parent_;
};

// "Text (*.txt)|*.txt|All (*.*)|*.*" to Qt's name filters "Text (*.txt)", "All (*)".
QStringList QtNameFilters(const QString& filter);

// The file a file dialog proposes: a bare name lies in the dialog's initial folder. Given to the
// platform's dialog as a bare name, it would land in the process's current folder or the home.
QString ProposedFilePath(const FileDialogOptions& options);

} // namespace ymt
