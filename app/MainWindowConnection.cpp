// Tab "Hardware": Connect, the analyzer settings and their fields, the sample-holder
// compensation, preset and autoscale of the analyzer, and closing the sessions at shut-down.
#include "app/MainWindow.h"

#include "app/OperatorStop.h"
#include "core/Misc.h"
#include "instrument/OpenProblem.h"
#include "instrument/SerialTransport.h"
#include "instrument/Sicl.h"
#include "instrument/Thermometer.h"
#include "instrument/SiclConfig.h"
#include "localisation/TextTables.h"
#include "measurement/AnalyzerSettingsRules.h"
#include "measurement/Conversions.h"
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

namespace {

constexpr int kOpenTimeoutMs = 2000;
constexpr int kSettleAfterOpenMs = 3000;

} // namespace

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
    const QString notes = notesEdit->text();
    if (!SpectrumSimulated || notes.contains(kSimulatedNote))
        return notes;
    return notes.isEmpty() ? kSimulatedNote : notes + QLatin1Char(' ') + kSimulatedNote;
}

void TForm1::setCaption(const QString& caption) {
    captionBase_ = caption;
    setWindowTitle(AnalyzerHandle != 0 && AnalyzerSimulated
                       ? caption + QStringLiteral(" - simulated analyzer")
                       : caption);
}

void TForm1::Button12Click() {
    AnalyzerModel = analyzerList->currentIndex();
    connectStops_ = operatorStop_ ? operatorStop_->stoppedWaits() : 0;
    logLine(ymt::Message(24));
    const ymt::sicl::SiclConfig config = ymt::sicl::currentConfig();
    // Where the interfaces came from, so that nobody takes the simulated bus for an adapter.
    const QString configFile = ymt::sicl::configFilePath();
    logLine(QStringLiteral("sicl.conf looked for in: ") +
            ymt::sicl::configSearchPaths().join(QStringLiteral(", ")));
    logLine(configFile.isEmpty() ? QStringLiteral("sicl.conf: none found")
                                 : QStringLiteral("sicl.conf read: ") + configFile);
    // A line of sicl.conf that was not taken would otherwise go unnoticed.
    for (const QString& problem : config.problems)
        logLine(QStringLiteral("sicl.conf: ") + problem);
    const QString interfaceName = hpibControllerEdit->text();
    const QString transport = config.transportFor(interfaceName).trimmed();
    const bool simulated = ymt::sicl::transportName(transport) == QLatin1String("sim");
    logLine(QStringLiteral("Transport of %1: %2")
                .arg(interfaceName, transport.isEmpty() ? QStringLiteral("none configured")
                                    : simulated
                                        ? transport + QStringLiteral(" (simulated analyzer)")
                                        : transport));
    const int address = addressSpin->value();
    if (!AnalyzerSession)
        AnalyzerSession = std::make_unique<ymt::TSicl>(interfaceName, kOpenTimeoutMs);
    else
        AnalyzerSession->InterfaceName = interfaceName;
    Analyzer.AnalyzerSession = AnalyzerSession.get();
    if (!Analyzer.AnalyzerSession) {
        logLine(ymt::Message(25));
        return;
    }
    logLine(ymt::Message(26) + interfaceName);

    // A session of an earlier Connect would otherwise stay open until the program ends.
    if (AnalyzerHandle != 0) {
        AnalyzerSession->Close(AnalyzerHandle);
        AnalyzerHandle = 0;
        setMeasurementButtonsEnabled(false);
    }
    AnalyzerSimulated = simulated;
    setCaption(captionBase_);
    AnalyzerSession->Open(address, AnalyzerHandle);
    ymt::DelayMs(kSettleAfterOpenMs);
    if (AnalyzerHandle == 0) {
        logLine(ymt::Message(27));
        // A real adapter names what went wrong (library missing, connection refused ...).
        if (const QString problem = ymt::sicl::lastOpenProblem(); !problem.isEmpty())
            logLine(problem);
        return;
    }
    setCaption(captionBase_);

    logLine(ymt::Message(28));
    Analyzer.PresetAnalyzer();
    if (connectAbandoned())
        return abandonConnect();
    logLine(ymt::Message(29) + ymt::IntText(address));
    Button17Click();
    if (connectAbandoned())
        return abandonConnect();

    Analyzer.GetSweepRange(AnalyzerMin, AnalyzerMax);
    if (!Analyzer.SpanReported) {
        const QString text =
            QStringLiteral("Warning: the analyzer did not report its frequency "
                           "span; using %1 ... %2 kHz of the model.")
                .arg(ymt::FixedText(AnalyzerMin, 1, 3), ymt::FixedText(AnalyzerMax, 1, 3));
        logLine(text);
        statusBar()->showMessage(text);
    }
    Analyzer.SetDisplayScales(logZCheck->isChecked(), logThetaCheck->isChecked());
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
    openThermometerSession();
    PageControl1->setCurrentWidget(TabSheet2);
}

// A stopped Connect leaves no half set-up analyzer behind: the session is closed.
void TForm1::abandonConnect() {
    logLine(QStringLiteral("Connect stopped; the analyzer is not connected."));
    if (AnalyzerSession)
        AnalyzerSession->Close(AnalyzerHandle);
    AnalyzerHandle = 0;
    setMeasurementButtonsEnabled(false);
    setCaption(captionBase_);
}

// The serial session of the thermometer, its line settings and start-up commands. "Thermal
// sensor OK." only when the port opened; otherwise the log says which port failed and why.
void TForm1::openThermometerSession() {
    const int kind = thermometerList->currentIndex();
    if (kind <= 0) {
        logLine(ymt::Message(31));
        return;
    }
    // Like the analyzer session, a session of an earlier Connect is not left open.
    if (ThermometerHandle != 0)
        ymt::sicl::iclose(ThermometerHandle);
    const QString port = QStringLiteral("COM%1").arg(comPortList->currentIndex() + 1);
    ThermometerHandle = ymt::sicl::iopen(port.toLatin1().constData());
    if (ThermometerHandle == 0) {
        logLine(ymt::ThermometerNotFoundText(port, ymt::sicl::lastSerialOpenProblem()));
        return;
    }
    ymt::configureThermometerLine(ThermometerHandle, kind);
    ymt::DelayMs(1000);
    ymt::sendThermometerStartup(ThermometerHandle, kind);
    logLine(ymt::Message(30));
}

void TForm1::Button17Click() {
    Analyzer.ApplyAnalyzerSettings(Averaging, BiasLevel, OscLevel);
    for (const QString& line : ymt::AppliedSettingsLines(Averaging, OscLevel, BiasLevel))
        logLine(line);
}

void TForm1::Button11Click() {
    logLine(ymt::Message(39));
    const ymt::DialogButton open =
        dialogs().showMessage(ymt::MessageKind::None, ymt::Message(40), ymt::ButtonSet::OKCancel);
    if (open == ymt::DialogButton::OK) {
        const int stops = operatorStop_ ? operatorStop_->stoppedWaits() : 0;
        Analyzer.MeasureOpen();
        // A stop during the open measurement ends the compensation: no short box follows.
        if (sessionEndPending_ || (operatorStop_ && operatorStop_->stoppedWaits() != stops))
            return;
        const bool openRanOut = Analyzer.WaitRanOut;
        dialogs().showMessage(ymt::MessageKind::None, ymt::Message(41), ymt::ButtonSet::OK);
        Analyzer.MeasureShort();
        // The compensation is switched on as always, but the log must not read as if the
        // analyzer had confirmed both measurements.
        if (openRanOut)
            logLine(ymt::CompletionWaitRanOutText(QStringLiteral("open"), CompletionTimeout));
        if (Analyzer.WaitRanOut)
            logLine(ymt::CompletionWaitRanOutText(QStringLiteral("short"), CompletionTimeout));
        logLine(ymt::Message(42));
        Analyzer.SetCompensation(true);
        clearResultLabels();
    } else {
        logLine(ymt::Message(43));
        // The operator's notes stay; the sentence is added once, however often it is cancelled.
        const QString note = ymt::Message(44);
        const QString notes = notesEdit->text();
        if (!notes.contains(note))
            notesEdit->setText(notes.isEmpty() || notes.endsWith(QLatin1Char(' '))
                                   ? notes + note
                                   : notes + QLatin1Char(' ') + note);
        Sample.Notes = notesEdit->text();
    }
    Analyzer.SetSweepMode(true);
}

void TForm1::Button13Click() {
    if (displayPairList->currentIndex() != 0)
        displayPairList->setCurrentIndex(0);
    Analyzer.PresetAnalyzer();
    logLine(ymt::Message(45));
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
        dialogs().showMessage(ymt::MessageKind::Warning, ymt::Message(22), ymt::ButtonSet::OK);
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
        dialogs().showMessage(
            ymt::MessageKind::Warning,
            QStringLiteral("Timeout [s] is limited to %1 s (about 24 days).").arg(*reading.seconds),
            ymt::ButtonSet::OK);
}

void TForm1::closeInstrumentSessions() {
    ymt::sicl::iclose(ThermometerHandle);
    ThermometerHandle = 0;
    if (AnalyzerSession)
        AnalyzerSession->Close(AnalyzerHandle);
    AnalyzerHandle = 0;
    setCaption(captionBase_);
}
