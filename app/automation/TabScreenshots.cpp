#include "app/automation/TabScreenshots.h"

#include "app/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>

namespace ymt {

QStringList SaveTabScreenshots(TForm1& window, const QString& dir, const QList<QSize>& sizes,
                               QString* error) {
    QStringList written;
    if (!QDir().mkpath(dir)) {
        *error = QStringLiteral("Cannot create the folder ") + dir;
        return written;
    }
    QTabWidget* tabs = window.pageControl();
    const int previous = tabs->currentIndex();
    for (const QSize& size : sizes) {
        window.resize(size);
        for (int index = 0; index < tabs->count(); ++index) {
            tabs->setCurrentIndex(index);
            QApplication::processEvents();
            const QString path = QDir(dir).filePath(QStringLiteral("%1-%2x%3.png")
                                                        .arg(tabs->widget(index)->objectName())
                                                        .arg(size.width())
                                                        .arg(size.height()));
            if (!window.grab().save(path, "PNG")) {
                *error = QStringLiteral("Cannot write ") + path;
                return written;
            }
            written << path;
        }
    }
    tabs->setCurrentIndex(previous);
    return written;
}

} // namespace ymt
