// Every dialog of the main window goes through this interface, so that the script driver can
// answer message boxes, file, colour and print dialogs and log them.
#pragma once

#include "plot/CurveStore.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ymt {

enum class MessageKind { Error, Warning, Information, Confirmation, None };
enum class DialogButton { OK, Cancel, Yes, No, Abort, Ignore };
enum class ButtonSet { OK, OKCancel, OKAbortIgnore, OKAbort, YesNo, YesNoCancel };

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
    // True when the operator confirmed the print dialog.
    virtual bool printDialog() = 0;
};

} // namespace ymt
