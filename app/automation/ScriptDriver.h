// The script driver (--script FILE, --demo): runs the real window and performs each step of a
// script as an operator would, through the controls and their handlers, answering every dialog
// from the script. Prints what it did and returns the exit code of the run:
//   0 all steps done and all expectations held, 1 an expectation failed, 2 a script error.
//
// How main.cpp calls it (script mode implies --no-splash):
//
//     auto window = std::make_unique<TForm1>();            // created, NOT shown yet
//     QTextStream out(stdout);
//     return ymt::RunScript(*window, options.scriptPath, out, [&] { window.reset(); });
//
// RunScript installs the scripted dialogs (ScriptTarget::setDialogs) before the window is shown,
// queues the script's leading answer/file/color/printdialog steps, then shows and activates the
// window, so that boxes of the first activation are answered from the script too. After the last
// step (or the first failure) it closes the window with a normal close request and calls
// destroyWindow, so that the boxes of the shut-down are answered from the script as well. The
// window must therefore not be shown by main.cpp and must be destroyed only through the callback.
//
// `expect` prints nothing when the value matches. A multi-line box is addressed line by line
// as NAME[i] in `show` and `expect`. Relative PATHs of `file` are taken from the script's folder.
#pragma once

#include "app/automation/ScriptTarget.h"

#include <QString>
#include <QTextStream>

#include <functional>

namespace ymt {

// Runs the script file; an unreadable file is a script error (exit code 2).
int RunScript(ScriptTarget& target, const QString& scriptPath, QTextStream& out,
              const std::function<void()>& destroyWindow);

// Runs a script given as text (the built-in demo); relative paths are taken from baseDir.
int RunScriptText(ScriptTarget& target, const QString& scriptText, const QString& baseDir,
                  QTextStream& out, const std::function<void()>& destroyWindow);

} // namespace ymt
