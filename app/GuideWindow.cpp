#include "app/GuideWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace ymt {

GuideWindow::GuideWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser) {
    setObjectName(QStringLiteral("GuideWindow"));
    browser_->setObjectName(QStringLiteral("GuideText"));
    // Links to other files (the guide names none today) open here, never in a browser.
    browser_->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(820, 700);
}

bool GuideWindow::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The pictures are named relative to the guide: the browser resolves them against the
    // source's folder.
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()),
                        QTextDocument::MarkdownResource);
    return !browser_->document()->isEmpty();
}

QStringList GuideWindow::headings() const {
    QStringList found;
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0)
            found << block.text();
    return found;
}

} // namespace ymt
