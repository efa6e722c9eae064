// The life of the main window: creation, the set-up at the first activation, the loss-tangent
// caption at every activation, the close request and the destroy sequence with its backups.
#include "app/MainWindow.h"

#include "app/OperatorStop.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "core/TextFile.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "measurement/FrequencyRanges.h"
#include "plot/FastGraph.h"
#include "records/QcFile.h"
#include "records/SpectrumBackup.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>

void TForm1::FormCreate() {
    activationCount_ = 0;
    operatorStop_ = new ymt::OperatorStop(
        this, statusBar(), [this] { logLine(ymt::Text(ymt::Txt::LogStoppedByOperator)); },
        [this] { requestSessionEnd(false); });
    Analyzer.WaitObserver = operatorStop_;
    if (QAction* edit = menuBar()->findChild<QAction*>(QStringLiteral("Editmenu"))) {
        edit->menu()->addSeparator()->setObjectName(QStringLiteral("N3"));
        edit->menu()->addAction(operatorStop_->action());
    }
    watchSessionEnd();
    // Text typed into the protocol is unsaved work, so that "Exit" asks about it. Emptying the
    // protocol leaves nothing to save.
    connect(Memo2, &QPlainTextEdit::textChanged, this, [this] {
        if (!Memo2->document()->isEmpty())
            ProtocolChanged = true;
    });
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A desktop that does not focus new windows never activates this one: the set-up of the
    // first activation runs once the window is shown all the same.
    if (activationCount_ == 0)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (activationCount_ == 0)
                    FormActivate();
            },
            Qt::QueuedConnection);
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TForm1::FormActivate() {
    // Counted first: a box shown by the set-up re-activates the window, which must not run
    // the set-up again.
    const bool first = activationCount_ == 0;
    ++activationCount_;
    if (first)
        runFirstActivation();
    updateLossTangentCaption();
}

void TForm1::runFirstActivation() {
    listPrinters();
    loadSettings();
    CheckBox21Click();
    ComboBox4Change();
    seriesFileEdit->setText(WorkDir + QStringLiteral("Protocol.txt"));
    workDirEdit->setText(WorkDir);
    backupDirEdit->setText(BackupDir);
    ComboBox7Click();
    // The interface name and address reach their fields through the settings load.
    setCaption(QStringLiteral("Zelvanor Ymt ") + VersionText);
    displayPairList->setCurrentIndex(0);
    qcTypeList->setCurrentIndex(0);
    geometryList->setCurrentIndex(0);
    geometryListGerman->setCurrentIndex(0);

    if (!prepareQualityControlFile()) {
        setupIncomplete_ = true;
        return;
    }

    setupMeasurementPlot();
    bool strict = false;
    const int points = pointsPerRangeEdit->text().trimmed().toInt(&strict);
    if (strict)
        PointsPerRange = points;
    OscLevel = ymt::ParseNumber(oscLevelEdit->text());
    BiasLevel = ymt::ParseNumber(biasLevelEdit->text());
    OpenDialog1.initialDir = WorkDir;
    SaveDialog1.initialDir = WorkDir;
    setupComparisonPlot();
    setupRepeatPlot();
    applyStoredLanguage();
}

bool TForm1::prepareQualityControlFile() {
    const ymt::QcStartupResult qc = QcTypes.prepare();
    if (!qc.ok) {
        // The set-up ends here; the box and the window still come in the stored language.
        applyStoredLanguage();
        dialogs().showMessage(ymt::MessageKind::Error, qc.error, ymt::ButtonSet::OK);
        return false;
    }
    qcTypeList->clear();
    qcTypeList->addItem(QStringLiteral("none"));
    qcTypeList->addItems(qc.typeNames);
    qcTypeList->setCurrentIndex(0);
    return true;
}

void TForm1::updateLossTangentCaption() {
    tandCaption->setText(QStringLiteral("tand      ") + tandUnitList->currentText());
}

void TForm1::listPrinters() {
    printerList->clear();
    printerList->addItems(QPrinterInfo::availablePrinterNames());
    printerList->setCurrentIndex(printerList->count() > 0 ? 0 : -1);
}

ymt::DialogButton TForm1::askSaveProtocol(ymt::ButtonSet buttons) {
    const ymt::DialogButton answer = dialogs().showMessage(
        ymt::MessageKind::Confirmation, ymt::Message(ymt::Msg::SaveProtocolChanges), buttons);
    if (answer == ymt::DialogButton::Yes)
        Button4Click();
    // One "No" holds for the rest of the shut-down: Exit, the close request and the destruction
    // do not ask the same question again.
    if (answer == ymt::DialogButton::No)
        protocolDeclined_ = true;
    return answer;
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    if (ProtocolChanged && !unattendedEnd_ && !protocolDeclined_)
        askSaveProtocol(ymt::ButtonSet::YesNo);
}

void TForm1::FormDestroy() {
    if (destroyed_)
        return;
    destroyed_ = true;
    Timer1->stop();
    saveSettings();
    const QString baseName = backupBaseName();
    QString backupError;
    if (autoBackupGroup->itemIndex() != 0 && fastgraph1->store().pointCount(3) > 0 &&
        !backupSpectrum(baseName + QStringLiteral("_dia.txt"), &backupError) && !unattendedEnd_)
        dialogs().showMessage(ymt::MessageKind::Error, backupError, ymt::ButtonSet::OK);
    writeProtocolBackup(baseName);
    if (ProtocolChanged && !unattendedEnd_ && !protocolDeclined_)
        askSaveProtocol(ymt::ButtonSet::YesNo);
    closeInstrumentSessions();
}

QString TForm1::backupBaseName() const {
    return ymt::BackupBaseName(BackupDir, ymt::TimestampText(), sampleNameEdit->text());
}

void TForm1::writeProtocolBackup(const QString& baseName) {
    const QStringList lines = ymt::SplitLines(Memo2->toPlainText());
    if (lines.isEmpty())
        return;
    QString error;
    const QString path = baseName + QStringLiteral("_prt.txt");
    if (!ymt::WriteOwnTextFile(path, lines, &error))
        dialogs().showMessage(ymt::MessageKind::Error, path + QStringLiteral(": ") + error,
                              ymt::ButtonSet::OK);
}
