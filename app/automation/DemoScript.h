// The built-in demo (--demo, and ./run without a display): a measurement on the simulated
// analyzer run headless through the script driver, told afterwards in an operator's words.
#pragma once

#include "app/automation/ScriptTarget.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace ymt {

// The steps of the demo; their output is what DemoReport reads.
QString BuiltInDemoScript();

// Sentences telling what the demo did, read from the script driver's output of the demo
// script. A run that failed (exitCode not 0) is told as far as it got, then the raw output.
QStringList DemoReport(const QString& scriptOutput, int exitCode, bool simulated);

// Runs the demo against the window and prints DemoReport; returns the script's exit code.
int RunDemo(ScriptTarget& target, const QString& programDir, QTextStream& out,
            const std::function<void()>& destroyWindow);

} // namespace ymt
