// The menu bar: "File", "Edit" and "About", with the component names of the window definition.
#include "app/AboutBox.h"
#include "app/MainWindow.h"

#include <QKeySequence>
#include <QMenuBar>

void TForm1::buildMenu() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption,
                       void (TForm1::*handler)()) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->menuAction()->setObjectName(QStringLiteral("Datei1"));
    // The desktop's usual keys, where the window has the action; the menus show them.
    item(file, "ffnen1", QStringLiteral("Open Spectrum..."), &TForm1::ffnen1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    item(file, "Speichern1", QStringLiteral("Save Spectrum..."), &TForm1::Speichern1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    item(file, "Drucken1", QStringLiteral("Print Spectrum..."), &TForm1::Drucken1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    separator(file, "N1");
    item(file, "Openprotocol1", QStringLiteral("Open protocol..."), &TForm1::Button5Click);
    item(file, "Saveprotocol1", QStringLiteral("Save protocol..."), &TForm1::Button4Click);
    item(file, "Printprotocol1", QStringLiteral("Print protocol..."), &TForm1::Button14Click);
    separator(file, "N2");
    item(file, "Beenden1", QStringLiteral("Exit"), &TForm1::Beenden1Click)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Edit"));
    edit->menuAction()->setObjectName(QStringLiteral("Editmenu"));
    item(edit, "DeletePoints1", QStringLiteral("Delete all points"), &TForm1::DeletePoints1Click);

    // "About" is a top-level item without a submenu.
    QAction* about = menuBar()->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("Hilfe1"));
    connect(about, &QAction::triggered, this, &TForm1::Hilfe1Click);
    // A top-level item like "About"; the menu bar shows no keys, so the caption names F1.
    QAction* guide = menuBar()->addAction(QStringLiteral("User Guide (F1)"));
    guide->setObjectName(QStringLiteral("Guide1"));
    guide->setShortcut(QKeySequence(Qt::Key_F1));
    connect(guide, &QAction::triggered, this, &TForm1::GuideClick);
}

void TForm1::Hilfe1Click() {
    aboutBox_->show();
    aboutBox_->raise();
}

void TForm1::Beenden1Click() {
    // Cancel means the operator wants to stay; a failed save keeps the window open too.
    if (ProtocolChanged &&
        askSaveProtocol(ymt::ButtonSet::YesNoCancel) == ymt::DialogButton::Cancel)
        return;
    if (ProtocolChanged && !protocolDeclined_)
        return;
    close();
}
