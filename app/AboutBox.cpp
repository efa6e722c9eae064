#include "app/AboutBox.h"

#include "app/SplashScreen.h"
#include "core/Version.h"

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
        DrawStartupPicture(painter, rect(), VersionText());
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
    // The seven lines in the platform's normal font need more than the 103 pixels the designed
    // 591 x 336 box leaves below the picture; the box grows to its text instead of shrinking it.
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->setSpacing(8);
    layout->addWidget(new PictureLabel);
    auto* text = new QLabel(textLines().join(QLatin1Char('\n')));
    text->setObjectName(QStringLiteral("AboutText"));
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    text->setContentsMargins(12, 0, 12, 0);
    layout->addWidget(text);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setMinimumWidth(80);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace ymt
