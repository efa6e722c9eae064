// The start-up screen: a borderless, always-on-top picture of our own drawing, closed by a
// click or 2200 ms after it appeared (measured on the one clock). Also draws the picture for
// the About box.
#pragma once

#include <QWidget>

class QPainter;

namespace ymt {

// The program's picture (title, a resonance curve, version) scaled into rect.
void DrawStartupPicture(QPainter& painter, const QRect& rect, const QString& versionText);

class SplashScreen : public QWidget {
public:
    static constexpr int kShowMs = 2200;

    explicit SplashScreen(const QString& versionText);
    // Shows the screen centred on the desktop and returns when it has closed.
    void showAndWait();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString versionText_;
};

} // namespace ymt
