// "User Guide" (F1): the installed guide, or the one in the source tree for a program run from
// its build folder, opened in the desktop's viewer for Markdown files.
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#ifndef YMT_SOURCE_GUIDE
#define YMT_SOURCE_GUIDE ""
#endif

void TForm1::GuideClick() {
    const QString guide =
        ymt::FindGuide(QCoreApplication::applicationDirPath(), QString::fromUtf8(YMT_SOURCE_GUIDE));
    if (guide.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(guide)))
        dialogs().showMessage(ymt::MessageKind::Information,
                              guide.isEmpty()
                                  ? QStringLiteral("The user guide is not installed.")
                                  : QStringLiteral("No program to show %1 was found.").arg(guide),
                              ymt::ButtonSet::OK);
}
