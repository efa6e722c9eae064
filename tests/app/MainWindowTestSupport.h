// Shared by the main-window tests: a window on a fresh temporary home, and dialogs that record
// every box and answer from a queue.
#pragma once

#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <deque>
#include <memory>
#include <vector>

namespace ymt::test {

struct ShownMessage {
    MessageKind kind;
    QString text;
    ButtonSet buttons;
};

class RecordingDialogs : public DialogInterface {
public:
    DialogButton showMessage(MessageKind kind, const QString& text, ButtonSet buttons) override {
        messages.push_back({kind, text, buttons});
        if (answers.empty())
            return DialogButton::Cancel;
        const DialogButton answer = answers.front();
        answers.pop_front();
        return answer;
    }
    FileDialogResult openFile(const FileDialogOptions& options) override {
        fileDialogs.push_back(options);
        return fileResult;
    }
    FileDialogResult saveFile(const FileDialogOptions& options) override {
        fileDialogs.push_back(options);
        return fileResult;
    }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }

    std::vector<ShownMessage> messages;
    std::deque<DialogButton> answers;
    std::vector<FileDialogOptions> fileDialogs;
    FileDialogResult fileResult;
};

// A window on an empty home; dialogs recorded. The window is destroyed before the dialogs.
struct WindowOnTempHome {
    WindowOnTempHome() {
        // Each window keeps its settings beside its home, not in the user's store.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        dirs = PrepareProgramDirs(home.path());
        window = std::make_unique<TForm1>(dirs);
        window->setDialogs(&dialogs);
    }
    ~WindowOnTempHome() { destroyWindow(); }
    void destroyWindow() { window.reset(); }
    template <typename W = QWidget> W* control(const char* name) const {
        return window->findChild<W*>(QString::fromLatin1(name));
    }

    QTemporaryDir home;
    ProgramDirs dirs;
    RecordingDialogs dialogs;
    std::unique_ptr<TForm1> window;
};

} // namespace ymt::test
