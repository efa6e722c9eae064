// The user guide inside the program: a window of its own that renders the Markdown guide with its
// pictures, so F1 works on a machine without a browser or a Markdown viewer.
#pragma once

#include <QStringList>
#include <QWidget>

class QTextBrowser;

namespace ymt {

class GuideWindow : public QWidget {
    Q_OBJECT // the window finds its guide window among its children by type

        public : explicit GuideWindow(QWidget* parent = nullptr);

    // Shows the guide at PATH; false when the file cannot be read (the window keeps what it had).
    bool load(const QString& path);
    // The headings of the shown guide, in order: what the operator finds in it.
    QStringList headings() const;
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

} // namespace ymt
