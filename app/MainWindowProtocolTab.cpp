// Tab "Protocol": the protocol text with its commands and options.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace ymt::form;

QWidget* TForm1::buildProtocolTab() {
    auto* addHeader = button("Button1", QStringLiteral("Add Header"));
    auto* addData = button("Button2", QStringLiteral("Add Measured Data"));
    auto* save = button("Button4", QStringLiteral("Save Protocol"));
    auto* load = button("Button5", QStringLiteral("Load Protocol"));
    auto* print = hidden(button("Button14", QStringLiteral("Print Protocol")));
    auto* clear = button("Button3", QStringLiteral("Clear Protocol"));
    autoProtocolCheck = checkBox("CheckBox19", QStringLiteral("Automatic protocolling"));
    protocolModeGroup = radioGroup(
        "RadioGroup2", QStringLiteral("Protocolling mode"),
        {QStringLiteral("On any measurtement"), QStringLiteral("On C measurement")}, 1, 2);

    Memo2 = new QPlainTextEdit;
    Memo2->setObjectName(QStringLiteral("Memo2"));
    QFont fixed(QStringLiteral("Courier New"), 10);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    Memo2->setFont(fixed);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* commands = new QHBoxLayout;
    for (QPushButton* command : {addHeader, addData, save, load, print, clear})
        commands->addWidget(command);
    commands->addStretch(1);
    auto* options = new QHBoxLayout;
    options->addWidget(autoProtocolCheck);
    options->addWidget(protocolModeGroup);
    options->addStretch(1);

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(commands);
    layout->addLayout(options);
    layout->addWidget(Memo2, 1);

    connect(addHeader, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(addData, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(save, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(load, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(print, &QPushButton::clicked, this, &TForm1::Button14Click);
    connect(clear, &QPushButton::clicked, this, &TForm1::Button3Click);
    return page;
}

// Add Header: filled by the protocol work.
void TForm1::Button1Click() {}
// Add Measured Data: filled by the protocol work.
void TForm1::Button2Click() {}
// Clear Protocol: filled by the protocol work.
void TForm1::Button3Click() {}
// Save Protocol (also menu "Save protocol..."): filled by the protocol work.
void TForm1::Button4Click() {}
// Load Protocol (also menu "Open protocol..."): filled by the protocol work.
void TForm1::Button5Click() {}
// Print Protocol (menu "Print protocol..."): filled by the protocol work.
void TForm1::Button14Click() {}
