#include "app/SplashScreen.h"

#include "core/Clock.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace ymt {

void DrawStartupPicture(QPainter& painter, const QRect& rect, const QString& versionText) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(rect.topLeft(), rect.bottomRight());
    background.setColorAt(0.0, QColor(12, 28, 58));
    background.setColorAt(1.0, QColor(4, 8, 20));
    painter.fillRect(rect, background);

    // A faint grid and an impedance curve with its minimum and maximum, the program's subject.
    const QRectF plot(rect.left() + rect.width() * 0.52, rect.top() + rect.height() * 0.14,
                      rect.width() * 0.42, rect.height() * 0.66);
    painter.setPen(QPen(QColor(60, 90, 140, 120), 1));
    for (int i = 0; i <= 4; ++i) {
        const double y = plot.top() + plot.height() * i / 4.0;
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        const double x = plot.left() + plot.width() * i / 4.0;
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    QPainterPath curve;
    const int steps = 200;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        // log|Z| of a resonator: falling capacitive line with a dip and a peak.
        const double dip = -0.55 * std::exp(-std::pow((t - 0.42) / 0.03, 2));
        const double peak = 0.55 * std::exp(-std::pow((t - 0.55) / 0.03, 2));
        const double level = 0.75 - 0.45 * t + dip + peak;
        const QPointF point(plot.left() + plot.width() * t,
                            plot.top() + plot.height() * (1.0 - level));
        if (i == 0)
            curve.moveTo(point);
        else
            curve.lineTo(point);
    }
    painter.setPen(QPen(QColor(255, 90, 70), 2.5));
    painter.drawPath(curve);

    painter.setPen(QColor(235, 240, 250));
    QFont title(QStringLiteral("Arial"));
    title.setBold(true);
    title.setPixelSize(std::max(12, rect.height() / 6));
    painter.setFont(title);
    const QRectF textArea(rect.left() + rect.width() * 0.05, rect.top() + rect.height() * 0.16,
                          rect.width() * 0.46, rect.height() * 0.3);
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Zelvanor Ymt"));

    QFont subtitle(QStringLiteral("Arial"));
    subtitle.setPixelSize(std::max(9, rect.height() / 16));
    painter.setFont(subtitle);
    painter.setPen(QColor(170, 190, 220));
    const QRectF subArea(textArea.left(), textArea.bottom(), textArea.width(), rect.height() * 0.3);
    painter.drawText(subArea, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                     QStringLiteral("Impedance spectroscopy of piezoelectric samples\n"
                                    "HP 4194A / HP 4294A"));
    painter.drawText(QRectF(textArea.left(), rect.top() + rect.height() * 0.78, textArea.width(),
                            rect.height() * 0.15),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Version ") + versionText.trimmed());
    painter.restore();
}

SplashScreen::SplashScreen(const QString& versionText)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      versionText_(versionText) {
    setObjectName(QStringLiteral("SplashScreen"));
    setFixedSize(591, 229);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
}

void SplashScreen::showAndWait() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    const qint64 closeAt = clock::nowMs() + kShowMs;
    show();
    // With the virtual clock the wait passes at once, as every other wait does.
    if (clock::isVirtual())
        clock::sleepMs(kShowMs);
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!isVisible() || clock::nowMs() >= closeAt)
            loop.quit();
    });
    poll.start();
    loop.exec();
    hide();
}

void SplashScreen::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    DrawStartupPicture(painter, rect(), versionText_);
}

void SplashScreen::mousePressEvent(QMouseEvent*) {
    hide();
}

} // namespace ymt
