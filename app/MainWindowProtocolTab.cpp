// Tab "Protocol": the protocol text with its commands and options.
#include "app/FormWidgets.h"
#include "app/MainWindow.h"
#include "app/ProgramDirs.h"
#include "core/Clock.h"
#include "core/Misc.h"
#include "core/TextCatalogue.h"
#include "core/TextFile.h"
#include "evaluation/CouplingFactors.h"
#include "localisation/TextTables.h"
#include "records/Protocol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTimer>
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
    // The operator's own edits are unsaved changes as much as the program's lines are.
    connect(Memo2, &QPlainTextEdit::textChanged, this, [this] {
        if (!programEditsProtocol_)
            ProtocolChanged = true;
    });

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

QStringList TForm1::protocolLines() const {
    return ymt::SplitLines(Memo2->toPlainText());
}

void TForm1::setProtocolLines(const QStringList& lines) {
    // The program's own changes are not the operator's edits.
    const QScopedValueRollback<bool> programEdit(programEditsProtocol_, true);
    Memo2->setPlainText(lines.join(QLatin1Char('\n')));
    Memo2->moveCursor(QTextCursor::End);
}

void TForm1::appendProtocolLines(const QStringList& lines) {
    setProtocolLines(protocolLines() + lines);
}

void TForm1::forgetProtocolledLine() {
    Protocol.forgetLine();
}

QString TForm1::fileLanguageLabel(int entry) const {
    return ymt::Label(
        ymt::HeaderLanguage(printLanguageGroup->itemIndex(), programLanguageGroup->itemIndex()),
        entry);
}

void TForm1::Button1Click() {
    const QDateTime now = ymt::clock::currentDateTime();
    const ymt::ResultsSnapshot snapshot = resultsSnapshot();
    const QString titles =
        ymt::ProtocolColumnTitles(ymt::Message(ymt::Msg::Sample), Sample.SampleName,
                                  snapshot.CapFrequency, snapshot.TandUnit, snapshot.ModeCaption);
    appendProtocolLines(ymt::ProtocolHeaderBlock(
        snapshot, fileLanguageLabel(3), fileLanguageLabel(5),
        QLocale::system().toString(now.date(), QLocale::ShortFormat),
        QLocale::system().toString(now.time(), QLocale::LongFormat), titles));
    Protocol.headerAdded();
    ProtocolChanged = true;
}

void TForm1::Button2Click() {
    if (protocolLines().isEmpty())
        Button1Click();
    const ymt::ResultsSnapshot snapshot = resultsSnapshot();
    const QString line = ymt::ProtocolResultLine(snapshot);
    const QString titles =
        ymt::ProtocolColumnTitles(ymt::Message(ymt::Msg::Sample), Sample.SampleName,
                                  snapshot.CapFrequency, snapshot.TandUnit, snapshot.ModeCaption);
    setProtocolLines(Protocol.addResultLine(protocolLines(), titles, line, Results.CapNF,
                                            protocolModeGroup->itemIndex() == 1));
    ProtocolChanged = true;
    writeProtocolCopy(BackupDir + QStringLiteral("protocol_before_crash.txt"));
}

void TForm1::writeProtocolCopy(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QString error;
    if (!ymt::WriteOwnTextFile(path, protocolLines(), &error) && !seriesRunning())
        dialogs().showMessage(ymt::MessageKind::Error, path + QStringLiteral(": ") + error,
                              ymt::ButtonSet::OK);
}

void TForm1::Button3Click() {
    const QStringList lines = protocolLines();
    if (!lines.isEmpty() && ProtocolChanged && autoBackupGroup->itemIndex() != 0)
        writeProtocolCopy(backupBaseName() + QStringLiteral("_prt.txt"));
    const ymt::DialogButton answer = dialogs().showMessage(
        ymt::MessageKind::Confirmation, ymt::Message(ymt::Msg::SaveProtocolChanges),
        ymt::ButtonSet::YesNoCancel);
    if (answer == ymt::DialogButton::Cancel)
        return;
    // The operator asked for a save: without one the protocol stays.
    if (answer == ymt::DialogButton::Yes && !saveProtocol())
        return;
    setProtocolLines({});
    ProtocolChanged = false;
    forgetProtocolledLine();
}

void TForm1::Button4Click() {
    saveProtocol();
}

bool TForm1::saveProtocol() {
    SaveDialog1.title = ymt::Message(ymt::Msg::SaveProtocolTitle);
    SaveDialog1.filter = ymt::Message(ymt::Msg::Protocol) + QStringLiteral(" (txt)|*.txt");
    SaveDialog1.filterIndex = 1;
    SaveDialog1.defaultExtension = QStringLiteral("txt");
    SaveDialog1.multipleSelection = false;
    SaveDialog1.fileName = ProtocolFileName.isEmpty()
                               ? Sample.SampleName + QStringLiteral("_") +
                                     ymt::ModeName(couplingModeList->currentIndex()).trimmed() +
                                     QStringLiteral(".txt")
                               : QFileInfo(ProtocolFileName).fileName();
    const ymt::FileDialogResult chosen = dialogs().saveFile(SaveDialog1);
    if (!chosen.accepted || chosen.paths.isEmpty())
        return false;
    const QString path = chosen.paths.first();
    WorkDir = ymt::WithTrailingSlash(QFileInfo(path).absolutePath());
    OpenDialog1.initialDir = WorkDir;
    SaveDialog1.initialDir = WorkDir;
    if (QFileInfo::exists(path) &&
        dialogs().showMessage(ymt::MessageKind::Confirmation,
                              ymt::Message(ymt::Msg::OverwriteExistingFile),
                              ymt::ButtonSet::OKCancel) != ymt::DialogButton::OK)
        return false;
    QString error;
    if (QFileInfo(path).isDir() || !ymt::WriteTextFile(path, protocolLines(), &error)) {
        dialogs().showMessage(ymt::MessageKind::Error,
                              error.isEmpty() ? ymt::Text(ymt::Txt::TargetIsFolder).arg(path)
                                              : error,
                              ymt::ButtonSet::OK);
        return false;
    }
    ProtocolFileName = path;
    ProtocolChanged = false;
    warnOfCharactersNotInCp1252(ymt::CharactersNotInCp1252(protocolLines()));
    return true;
}

bool TForm1::protocolMayBeReplaced() {
    if (!ProtocolChanged)
        return true;
    const ymt::DialogButton answer = dialogs().showMessage(
        ymt::MessageKind::Confirmation, ymt::Message(ymt::Msg::SaveProtocolChanges),
        ymt::ButtonSet::YesNoCancel);
    if (answer == ymt::DialogButton::Cancel)
        return false;
    return answer != ymt::DialogButton::Yes || saveProtocol();
}

void TForm1::Button5Click() {
    if (!protocolMayBeReplaced())
        return;
    OpenDialog1.title = ymt::Message(ymt::Msg::OpenProtocolTitle);
    OpenDialog1.filter = ymt::Message(ymt::Msg::Protocol) + QStringLiteral(" (txt)|*.txt");
    OpenDialog1.filterIndex = 1;
    OpenDialog1.defaultExtension = QStringLiteral("txt");
    OpenDialog1.multipleSelection = false;
    const ymt::FileDialogResult chosen = dialogs().openFile(OpenDialog1);
    if (!chosen.accepted || chosen.paths.isEmpty())
        return;
    const QString path = chosen.paths.first();
    WorkDir = ymt::WithTrailingSlash(QFileInfo(path).absolutePath());
    OpenDialog1.initialDir = WorkDir;
    SaveDialog1.initialDir = WorkDir;

    const ymt::ProtocolLoad load = ymt::LoadProtocolFile(path);
    if (load.Status == ymt::ProtocolLoadStatus::TooLarge) {
        dialogs().showMessage(ymt::MessageKind::Error, ymt::Message(ymt::Msg::FileTooLarge),
                              ymt::ButtonSet::OK);
        return;
    }
    if (load.Status == ymt::ProtocolLoadStatus::Failed) {
        dialogs().showMessage(ymt::MessageKind::Error, load.Error, ymt::ButtonSet::OK);
        return;
    }
    setProtocolLines(load.Lines);
    LastProtocolledCap = 0;
    ProtocolChanged = true;
    ProtocolFileName = path;
    forgetProtocolledLine();
    if (dialogs().showMessage(ymt::MessageKind::Confirmation,
                              ymt::Message(ymt::Msg::AddCurrentHeader),
                              ymt::ButtonSet::YesNo) == ymt::DialogButton::Yes)
        Button1Click();
}
