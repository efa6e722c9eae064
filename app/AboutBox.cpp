#include "app/AboutBox.h"

#include "app/SplashScreen.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

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
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->addWidget(new PictureLabel, 0, Qt::AlignHCenter);
    auto* text = new QLabel(textLines().join(QLatin1Char('\n')));
    text->setObjectName(QStringLiteral("AboutText"));
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(text, 1);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    setFixedSize(591, 336);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace ymt
