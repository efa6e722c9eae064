// "User Guide" (F1): the installed guide, or the one in the source tree for a program run from
// its build folder, shown in the program's own guide window.
#include "app/GuideWindow.h"
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"
#include "localisation/ProgramTexts.h"

#include <QCoreApplication>

#ifndef YMT_SOURCE_GUIDE
#define YMT_SOURCE_GUIDE ""
#endif

void TForm1::GuideClick() {
    const QString guide =
        ymt::FindGuide(QCoreApplication::applicationDirPath(), QString::fromUtf8(YMT_SOURCE_GUIDE));
    // One guide window for the run: F1 again brings it to the front where the operator left it.
    auto* window = findChild<ymt::GuideWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!guide.isEmpty() && !window) {
        window = new ymt::GuideWindow(this);
        window->setWindowTitle(ymt::Text(ymt::Txt::GuideTitle));
    }
    if (guide.isEmpty() || !window->load(guide)) {
        dialogs().showMessage(ymt::MessageKind::Information,
                              guide.isEmpty() ? ymt::Text(ymt::Txt::GuideNotInstalled)
                                              : ymt::Text(ymt::Txt::GuideUnreadable).arg(guide),
                              ymt::ButtonSet::OK);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}
