// Tab "Hardware": Connect, the analyzer settings and their fields, the sample-holder
// compensation, preset and autoscale of the analyzer, and closing the sessions at shut-down.
#include "app/MainWindow.h"

#include "app/OperatorStop.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "measurement/AnalyzerConnection.h"
#include "measurement/AnalyzerSettingsRules.h"
#include "measurement/FrequencyRanges.h"
#include "plot/FastGraph.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>

void TForm1::logLine(const QString& line) {
    Memo1->appendPlainText(line);
}

void TForm1::setMeasurementButtonsEnabled(bool enabled) {
    for (QPushButton* control : {readNewButton, readMoreButton, capacitanceButton, calibrateButton,
                                 resetButton, applySettingsButton, repeatButton, autozoomButton})
        control->setEnabled(enabled);
}

bool TForm1::connectAbandoned() {
    return sessionEndPending_ || (operatorStop_ && operatorStop_->stoppedWaits() != connectStops_);
}

QString TForm1::recordNotes() const {
    return ymt::RecordNotes(notesEdit->text(), SpectrumSimulated);
}

void TForm1::setCaption(const QString& caption) {
    captionBase_ = caption;
    setWindowTitle(AnalyzerHandle != 0 && AnalyzerSimulated
                       ? caption + ymt::Text(ymt::Txt::CaptionSimulated)
                       : caption);
}

ymt::AnalyzerConnection& TForm1::connection() {
    if (!connection_) {
        connection_ = std::make_unique<ymt::AnalyzerConnection>(Analyzer, dialogs());
        connection_->log = [this](const QString& line) { logLine(line); };
        connection_->abandoned = [this] { return connectAbandoned(); };
        connection_->linkChanged = [this](bool simulated) {
            AnalyzerSimulated = simulated;
            if (AnalyzerHandle == 0)
                setMeasurementButtonsEnabled(false);
            setCaption(captionBase_);
        };
    }
    return *connection_;
}

void TForm1::Button12Click() {
    AnalyzerModel = analyzerList->currentIndex();
    connectStops_ = operatorStop_ ? operatorStop_->stoppedWaits() : 0;
    const int address = addressSpin->value();
    const ymt::SessionOpening opening =
        connection().openSession(hpibControllerEdit->text(), address);
    AnalyzerSimulated = opening.simulated;
    if (!opening.opened)
        return;

    QString spanWarning;
    if (!connection().setUp(address, logZCheck->isChecked(), logThetaCheck->isChecked(),
                            AnalyzerMin, AnalyzerMax, &spanWarning))
        return abandonConnect();
    if (!spanWarning.isEmpty())
        statusBar()->showMessage(spanWarning);
    RangeStart = AnalyzerMin;
    RangeStop = AnalyzerMax;
    ZoomHistory.resetFullRange(AnalyzerMin, AnalyzerMax);
    ComparisonZoomHistory.resetFullRange(AnalyzerMin, AnalyzerMax);
    const QString minText = ymt::FixedText(AnalyzerMin, 1, 3);
    const QString maxText = ymt::FixedText(AnalyzerMax, 1, 3);
    rangeStartEdit->setText(minText);
    rangeStopEdit->setText(maxText);
    repeatStartEdit->setText(minText);
    repeatStopEdit->setText(maxText);

    // The range fields keep what the operator typed (every sweep is limited to the span as it
    // starts, and the fields are saved at exit for any analyzer); the spot frequency is one
    // value the measurement shows, so it is limited here.
    applySpotFrequency();

    fastgraph1->XAxis.setMin(AnalyzerMin);
    fastgraph1->XAxis.setMax(AnalyzerMax);
    repaintPlotNow();
    setMeasurementButtonsEnabled(true);
    if (connectAbandoned())
        return abandonConnect();
    Button11Click();
    if (connectAbandoned())
        return abandonConnect();
    Analyzer.SetSweepMode(true);
    connection().openThermometer(thermometerList->currentIndex(), comPortList->currentIndex() + 1,
                                 ThermometerHandle);
    PageControl1->setCurrentWidget(TabSheet2);
}

void TForm1::abandonConnect() {
    connection().abandon();
    setMeasurementButtonsEnabled(false);
    setCaption(captionBase_);
}

void TForm1::Button17Click() {
    connection().applySettings();
}

void TForm1::Button11Click() {
    const int stops = operatorStop_ ? operatorStop_->stoppedWaits() : 0;
    const ymt::Compensation compensation = connection().compensate([this, stops] {
        return sessionEndPending_ || (operatorStop_ && operatorStop_->stoppedWaits() != stops);
    });
    if (compensation == ymt::Compensation::Measured) {
        clearResultLabels();
    } else if (compensation == ymt::Compensation::Declined) {
        // The operator's notes stay; the sentence is added once, however often it is cancelled.
        const QString note = ymt::Message(ymt::Msg::HolderNotCompensated);
        const QString notes = notesEdit->text();
        if (!notes.contains(note))
            notesEdit->setText(notes.isEmpty() || notes.endsWith(QLatin1Char(' '))
                                   ? notes + note
                                   : notes + QLatin1Char(' ') + note);
        Sample.Notes = notesEdit->text();
    }
}

void TForm1::Button13Click() {
    if (displayPairList->currentIndex() != 0)
        displayPairList->setCurrentIndex(0);
    Analyzer.PresetAnalyzer();
    logLine(ymt::Message(ymt::Msg::AnalyzerSetToPresets));
    Analyzer.SetSweepMode(true);
}

void TForm1::Button28Click() {
    Analyzer.AutoscaleDisplay();
    Analyzer.SetDisplayScales(logZCheck->isChecked(), logThetaCheck->isChecked());
}

void TForm1::Edit12Exit() {
    const ymt::AveragingReading reading = ymt::ReadAveraging(averagingEdit->text());
    if (!reading.value) {
        dialogs().showMessage(ymt::MessageKind::Error, reading.error, ymt::ButtonSet::OK);
        averagingEdit->setText(ymt::IntText(Averaging));
        return;
    }
    if (reading.warnHighValue)
        dialogs().showMessage(ymt::MessageKind::Warning,
                              ymt::Message(ymt::Msg::HighAveragingWarning), ymt::ButtonSet::OK);
    Averaging = *reading.value;
    averagingEdit->setText(ymt::IntText(Averaging));
}

void TForm1::Edit14Exit() {
    const ymt::FloatConversion typed = ymt::StrictFloat(oscLevelEdit->text());
    if (!typed.value)
        dialogs().showMessage(ymt::MessageKind::Error, typed.error, ymt::ButtonSet::OK);
    else
        OscLevel = ymt::ClampOscLevel(*typed.value);
    oscLevelEdit->setText(ymt::FixedText(OscLevel, 1, 3));
}

void TForm1::Edit15Exit() {
    const ymt::FloatConversion typed = ymt::StrictFloat(biasLevelEdit->text());
    if (!typed.value)
        dialogs().showMessage(ymt::MessageKind::Error, typed.error, ymt::ButtonSet::OK);
    else
        BiasLevel = ymt::ClampBiasLevel(*typed.value);
    biasLevelEdit->setText(ymt::FixedText(BiasLevel, 1, 3));
}

void TForm1::Edit35Exit() {
    const ymt::TimeoutReading reading = ymt::ReadTimeout(timeoutEdit->text());
    if (!reading.seconds) {
        dialogs().showMessage(ymt::MessageKind::Error, reading.error, ymt::ButtonSet::OK);
        timeoutEdit->setText(ymt::IntText(CompletionTimeout / 1000));
        return;
    }
    CompletionTimeout = reading.completionTimeoutMs;
    timeoutEdit->setText(ymt::IntText(*reading.seconds));
    if (reading.limited)
        dialogs().showMessage(ymt::MessageKind::Warning,
                              ymt::Text(ymt::Txt::TimeoutLimited).arg(*reading.seconds),
                              ymt::ButtonSet::OK);
}

void TForm1::closeInstrumentSessions() {
    connection().closeSessions(ThermometerHandle);
    setCaption(captionBase_);
}
