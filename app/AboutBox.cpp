#include "app/AboutBox.h"

#include "app/SplashScreen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace ymt {

namespace {

class PictureLabel : public QWidget {
public:
    PictureLabel() { setFixedSize(591, 233); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        DrawStartupPicture(painter, rect(), QStringLiteral("2.4.5 "));
    }
};

} // namespace

QStringList AboutBox::textLines() {
    return {QString(),
            QStringLiteral("Zelvanor Ymt Version 2.x.x for Agilent 4x94A"),
            QString(),
            QStringLiteral("Kvr Laboratory Software"),
            QStringLiteral("Impedance spectroscopy for piezoelectric ceramics"),
            QStringLiteral("Written in C++ with Qt"),
            QStringLiteral("Copyright (C) Kvr")};
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(false);
    setFixedSize(591, 336);
    auto* picture = new PictureLabel;
    picture->setParent(this);
    picture->move(0, 0);
    // Seven lines fit below the picture only in a small font; the centred lines leave the
    // lower right corner free for the button.
    auto* text = new QLabel(textLines().join(QLatin1Char('\n')), this);
    text->setObjectName(QStringLiteral("AboutText"));
    QFont small = text->font();
    small.setPointSize(8);
    text->setFont(small);
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setGeometry(0, 233, 591, 336 - 233);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setGeometry(591 - 90, 336 - 34, 80, 26);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace ymt
