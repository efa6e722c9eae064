// The built-in demo (--demo, and ./run without a display): a script run headless that shows
// what the program does and prints each step.
#pragma once

#include <QString>

namespace ymt {

QString BuiltInDemoScript();

} // namespace ymt
