#include "app/automation/DemoScript.h"

namespace ymt {

QString BuiltInDemoScript() {
    return QStringLiteral(
        "# Built-in demo: a measurement on the simulated HP 4294A, run headless.\n"
        "show Edit17\n"
        "show SpinEdit1\n"
        "select ComboBox6 1\n"
        "show ComboBox6\n"
        "show Edit14\n"
        "# Connect leads through the open and short compensation of the sample holder.\n"
        "answer OK\n"
        "answer OK\n"
        "click Button12\n"
        "show Memo1\n"
        "type Edit4 Demo sample\n"
        "click Button18\n"
        "tab TabSheet3\n"
        "show Edit1\n"
        "show Edit2\n"
        "show Button6\n"
        "click Button6\n"
        "show Edit36\n"
        "show Edit39\n"
        "# Zoom onto the first resonance near 200 kHz and evaluate it; the window holds few\n"
        "# points of the overview, so the evaluation first reads more points there.\n"
        "type Edit1 150\n"
        "type Edit2 260\n"
        "answer OK\n"
        "click Button10\n"
        "state\n"
        "quit\n");
}

} // namespace ymt
