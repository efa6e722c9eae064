#include "app/DemoScript.h"

namespace ymt {

QString BuiltInDemoScript() {
    return QStringLiteral(
        "# Built-in demo: the main window started headless, looked at tab by tab.\n"
        "show Edit17\n"
        "show SpinEdit1\n"
        "show ComboBox6\n"
        "show Edit14\n"
        "show Button6\n"
        "tab TabSheet2\n"
        "type Edit4 Demo sample\n"
        "click Button18\n"
        "show Edit1\n"
        "show Edit2\n"
        "tab TabSheet9\n"
        "show Edit31\n"
        "show Edit32\n"
        "state\n"
        "quit\n");
}

} // namespace ymt
