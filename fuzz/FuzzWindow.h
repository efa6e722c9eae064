// Shared by the fuzz targets that drive the main window: one offscreen application and one
// window on a scratch home for the whole run, with dialogs that answer every box with OK and
// every file dialog with the file given last.
#pragma once

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"
#include "app/RadioGroup.h"

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

namespace ymt::fuzz {

class AnsweringDialogs : public DialogInterface {
public:
    DialogButton showMessage(MessageKind, const QString& text, ButtonSet) override {
        lastMessage = text;
        ++messages;
        return DialogButton::OK;
    }
    FileDialogResult openFile(const FileDialogOptions&) override { return {true, {file}, 1}; }
    FileDialogResult saveFile(const FileDialogOptions&) override { return {}; }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }

    QString file;
    QString lastMessage;
    int messages = 0;
};

struct FuzzWindow {
    FuzzWindow() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QApplication>(argc, argv);
        dirs = PrepareProgramDirs(home.path());
        window = std::make_unique<TForm1>(dirs);
        window->setDialogs(&dialogs);
        // No backup per input: the scratch home would fill with them.
        window->findChild<TRadioGroup*>(QStringLiteral("RadioGroup6"))->setItemIndex(0);
    }

    QTemporaryDir home;
    std::unique_ptr<QApplication> application;
    ProgramDirs dirs;
    AnsweringDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

// The one window of this fuzzer, made at the first input.
inline FuzzWindow& Window() {
    static FuzzWindow* window = new FuzzWindow; // never destroyed: the fuzzer ends with _exit
    return *window;
}

} // namespace ymt::fuzz
