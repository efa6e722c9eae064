// The repeat measurement: start and stop, one cycle per timer event, the fields of its tab and
// the script step "tick". The rules, names and texts live in measurement/RepeatMeasurement.h,
// the cycle itself in measurement/RepeatCycle.h; here the window gives it its values and hooks.
#include "app/MainWindow.h"
#include "app/OperatorStop.h"

#include "core/Clock.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "core/TextFile.h"
#include "instrument/thermometer/Thermometer.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "measurement/RepeatCycle.h"
#include "plot/FastGraph.h"
#include "plot/GraphExport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

ymt::RepeatCycle& TForm1::repeatCycle() {
    if (!repeatCycle_) {
        repeatCycle_ = std::make_unique<ymt::RepeatCycle>(Analyzer, fastgraph1->store(),
                                                          dauergraph->store(), dialogs());
        ymt::RepeatCycleHooks& hooks = repeatCycle_->hooks;
        hooks.log = [this](const QString& line) { logLine(line); };
        hooks.begun = [this](const QString& title, const QString& status) {
            dauergraph->setTitle(title);
            dauergraph->update();
            statusBar()->showMessage(status);
        };
        hooks.searched = [this](const ymt::SearchedBand& band) {
            SpectrumSimulated = band.simulatedSpectrum;
            fastgraph1->XAxis.setMin(band.windowMin);
            fastgraph1->XAxis.setMax(band.windowMax);
            MaxMarker = band.maxMarker;
            MinMarker = band.minMarker;
        };
        hooks.swept = [this] { repaintPlotNow(); };
        hooks.evaluated = [this](const ymt::PassOutcome& pass) { applyPassOutcome(pass); };
        // The per-cycle spectrum file, written like every spectrum file, in the series' file
        // language.
        hooks.writeSpectrum = [this](const QString& path, QString* error) {
            return savetotext(path, error);
        };
        hooks.writeDiagram = [this](const QString& path, QString* error) {
            return ymt::SaveGraphFile(*dauergraph, path, error);
        };
    }
    ymt::RepeatCycleSettings& settings = repeatCycle_->settings;
    settings.bandStart = ymt::ParseNumber(repeatStartEdit->text());
    settings.bandStop = ymt::ParseNumber(repeatStopEdit->text());
    settings.refine = refineCheck->isChecked();
    settings.pointsPerRange = PointsPerRange;
    settings.analyzerMin = AnalyzerMin;
    settings.analyzerMax = AnalyzerMax;
    settings.analyzerSimulated = AnalyzerSimulated;
    settings.rangeStart = RangeStart;
    settings.rangeStop = RangeStop;
    settings.electrodeDistanceMm = Sample.ElectrodeDistance;
    settings.electrodeAreaMm2 = Sample.ElectrodeArea;
    settings.thermometerHandle = ThermometerHandle;
    settings.pass = passInputs();
    return *repeatCycle_;
}

void TForm1::Button27Click() {
    if (repeat_.schedule.isRunning()) {
        stopRepeatSeries(ymt::Message(ymt::Msg::RepeatFinished),
                         ymt::Message(ymt::Msg::StartRepeat));
        return;
    }
    startRepeatSeries();
}

void TForm1::stopRepeatSeries(const QString& title, const QString& caption) {
    repeat_.schedule.stop();
    Timer1->stop();
    // A kind chosen during the series gets its line now.
    const int kind = thermometerList->currentIndex();
    if (kind > 0 && ThermometerHandle != 0 && kind != repeat_.thermometerKind)
        ymt::configureThermometerLine(ThermometerHandle, kind);
    dauergraph->setTitle(title);
    dauergraph->update();
    repeatButton->setText(caption);
    statusBar()->clearMessage();
}

// Interval, duration and points are clamped, and the file, its language and the thermometer
// fixed, once for the whole series.
void TForm1::startRepeatSeries() {
    Edit28Exit();
    Edit29Exit();
    if (displayPairList->currentIndex() != 0) {
        const QSignalBlocker quiet(displayPairList);
        displayPairList->setCurrentIndex(0);
    }
    ymt::RepeatSeriesRun run;
    run.seriesFile = ymt::ResolveSeriesFile(WorkDir, seriesFileEdit->text().trimmed());
    if (run.seriesFile.isEmpty() || QFileInfo(run.seriesFile).isDir()) {
        dialogs().showMessage(ymt::MessageKind::Error, ymt::Text(ymt::Txt::SeriesFileNameMissing),
                              ymt::ButtonSet::OK);
        return;
    }
    if (!seriesFileMayTakeTheSeries(run.seriesFile))
        return;
    const QString baseName = ymt::SeriesBaseName(run.seriesFile);
    run.folder = ymt::SeriesFolder(WorkDir, baseName);
    run.saveEachSpectrum = saveEachSpectrumCheck->isChecked();
    run.saveEachDiagram = saveEachDiagramCheck->isChecked();
    // A selected thermometer whose port did not open still makes a temperature series: its
    // missing readings show as "---" instead of turning silently into cycle numbers.
    run.thermometerKind = thermometerList->currentIndex();
    run.capPoints = ymt::SeriesCapacitancePoints(capPointsEdit->text());
    run.capFrequency = ymt::ParseNumber(capFrequencyEdit->text());
    run.tandPerMille = lossTangentUnit() == 0;
    run.fileLanguage = printLanguageGroup->itemIndex();
    if (run.fileLanguage > 1)
        run.fileLanguage = dialogs().showMessage(ymt::MessageKind::Confirmation,
                                                 ymt::Message(ymt::Msg::GermanPrintout),
                                                 ymt::ButtonSet::YesNo) == ymt::DialogButton::Yes
                               ? 1
                               : 0;

    // Files of an earlier series in the same folder would be overwritten cycle by cycle.
    if (run.saveEachSpectrum || run.saveEachDiagram) {
        const QStringList earlier =
            QDir(run.folder).entryList(ymt::CycleFilePatterns(), QDir::Files);
        if (!earlier.isEmpty() &&
            dialogs().showMessage(ymt::MessageKind::Confirmation,
                                  ymt::Message(ymt::Msg::FileExistsOverwrite),
                                  ymt::ButtonSet::YesNo) != ymt::DialogButton::Yes)
            return;
        if (!QDir().mkpath(run.folder)) {
            dialogs().showMessage(ymt::MessageKind::Error,
                                  ymt::Text(ymt::Txt::CannotCreateFolder).arg(run.folder),
                                  ymt::ButtonSet::OK);
            return;
        }
    }

    const QDateTime now = ymt::clock::currentDateTime();
    const QLocale locale = QLocale::system();
    ymt::SeriesHeaderInputs header;
    header.title = ymt::Label(run.fileLanguage, 0);
    header.dateText = locale.toString(now.date(), QLocale::ShortFormat);
    header.timeText = locale.toString(now.time(), QLocale::LongFormat);
    header.measuredBy = measuredByEdit->text();
    header.material = materialEdit->text();
    header.notesLabel = ymt::Label(run.fileLanguage, 3);
    header.notes = notesEdit->text();
    header.geometryLabel = ymt::Label(run.fileLanguage, 24);
    header.geometryName = (run.fileLanguage == 0 ? geometryList : geometryListGerman)
                              ->itemText(geometryList->currentIndex());
    header.distanceLabel = ymt::Label(run.fileLanguage, 7);
    header.distance = distanceEdit->text();
    header.areaLabel = ymt::Label(run.fileLanguage, 8);
    header.area = areaEdit->text();
    header.frequencyLabel = ymt::Label(run.fileLanguage, 14);
    header.capFrequency = capFrequencyEdit->text();
    header.tandUnit = tandUnitList->currentText();
    header.modeCaption = modeCaption->text();
    QString error;
    if (!ymt::AppendTextFile(run.seriesFile, ymt::SeriesHeaderLines(header), &error)) {
        dialogs().showMessage(ymt::MessageKind::Error,
                              run.seriesFile + QStringLiteral(": ") + error, ymt::ButtonSet::OK);
        return;
    }

    // The first cycle clears the measurement plot: the spectrum there is kept first.
    backUpSpectrumBeforeChange(false);
    dauergraph->store().ClearAll();
    repeat_ = run;
    repeat_.previousMs = ymt::clock::nowMs();
    repeat_.previousValue = repeatCycle().readTemperature(repeat_);
    repeat_.schedule.start(ymt::clock::nowMs(), ymt::ParseNumber(intervalEdit->text()),
                           ymt::ParseNumber(durationEdit->text()));
    dauergraph->XAxis.setTitle(ymt::Text(repeat_.withThermometer()
                                             ? ymt::Txt::RepeatAxisTemperature
                                             : ymt::Txt::RepeatAxisMeasurements));
    dauergraph->setTitle(ymt::Message(ymt::Msg::RepeatStarted));
    dauergraph->update();
    repeatButton->setText(ymt::Message(ymt::Msg::StopRepeat));
    logLine(ymt::Text(ymt::Txt::LogRepeatStarted)
                .arg(repeat_.schedule.totalCycles())
                .arg(ymt::FixedText(repeat_.schedule.intervalMs() / 60000.0, 1, 1),
                     repeat_.seriesFile));
    // On the virtual clock cycles run from the script step "tick", not on real time.
    if (!ymt::clock::isVirtual())
        Timer1->start(repeat_.schedule.intervalMs());
}

// A series is appended only to a series file, and only when the operator wants it there: a
// spectrum or protocol of the same name would be spoilt by rows it cannot read.
bool TForm1::seriesFileMayTakeTheSeries(const QString& path) {
    if (!QFileInfo::exists(path))
        return true;
    QStringList lines;
    QString error;
    if (!ymt::ReadTextFile(path, lines, &error)) {
        dialogs().showMessage(ymt::MessageKind::Error, path + QStringLiteral(": ") + error,
                              ymt::ButtonSet::OK);
        return false;
    }
    if (!ymt::IsSeriesFileLayout(lines)) {
        dialogs().showMessage(ymt::MessageKind::Error,
                              ymt::Text(ymt::Txt::SeriesFileNotASeries).arg(path),
                              ymt::ButtonSet::OK);
        return false;
    }
    return dialogs().showMessage(ymt::MessageKind::Confirmation,
                                 ymt::Text(ymt::Txt::SeriesFileAppend).arg(path),
                                 ymt::ButtonSet::YesNo) == ymt::DialogButton::Yes;
}

bool TForm1::seriesRunning() const {
    return Timer1->isActive() || repeat_.schedule.isRunning();
}

void TForm1::Timer1Timer() {
    if (!repeat_.schedule.isRunning())
        return;
    // A box, a wait for the analyzer or an operation that lets the window repaint (a cycle
    // too) must not be interrupted by a cycle; the event is dropped, and the log says so.
    const bool busy = dialogs_.anyOpen() || QApplication::activeModalWidget() != nullptr ||
                      QApplication::overrideCursor() != nullptr ||
                      (operatorStop_ && operatorStop_->waiting());
    if (!repeat_.schedule.beginCycle(busy)) {
        logLine(ymt::Text(ymt::Txt::LogTimerSkipped).arg(repeat_.schedule.skippedEvents()));
        return;
    }
    runRepeatCycle();
}

void TForm1::runRepeatCycle() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ymt::RepeatCycleOutcome outcome = repeatCycle().run(repeat_);
    Results = outcome.results;
    dauergraph->update();
    QApplication::restoreOverrideCursor();
    if (!outcome.problemLine.isEmpty())
        logLine(outcome.problemLine);
    if (!outcome.rowWritten) {
        // Reported once: without its rows the series has no purpose, so it stops instead of
        // failing again every interval.
        stopRepeatSeries(ymt::Message(ymt::Msg::RepeatFinished),
                         ymt::Message(ymt::Msg::StartRepeat));
        dialogs().showMessage(ymt::MessageKind::Error,
                              repeat_.seriesFile + QStringLiteral(": ") + outcome.writeError,
                              ymt::ButtonSet::OK);
        return;
    }
    if (outcome.last)
        stopRepeatSeries(ymt::Message(ymt::Msg::RepeatMeasurement),
                         ymt::Message(ymt::Msg::RepeatMeasurement) + QStringLiteral(" Start"));
    if (outcome.problemLine.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(outcome.problemLine);
}

QString TForm1::runTimerTick() {
    if (!repeat_.schedule.isRunning())
        return QStringLiteral("tick: no repeat measurement running");
    const qint64 wait = repeat_.schedule.nextDueMs() - ymt::clock::nowMs();
    if (ymt::clock::isVirtual())
        ymt::clock::sleepMs(wait);
    const int begunBefore = repeat_.schedule.cyclesBegun();
    Timer1Timer();
    if (repeat_.schedule.cyclesBegun() == begunBefore)
        return QStringLiteral("tick: skipped while busy (%1 so far)")
            .arg(repeat_.schedule.skippedEvents());
    return QStringLiteral("tick: cycle %1 of %2%3")
        .arg(repeat_.schedule.cyclesBegun())
        .arg(repeat_.schedule.totalCycles())
        .arg(repeat_.schedule.isRunning() ? QString() : QStringLiteral(", series finished"));
}

void TForm1::Edit28Exit() {
    intervalEdit->setText(
        ymt::FixedText(ymt::ClampIntervalMinutes(ymt::ParseNumber(intervalEdit->text())), 1, 1));
}

void TForm1::Edit29Exit() {
    durationEdit->setText(
        ymt::FixedText(ymt::ClampDurationMinutes(ymt::ParseNumber(durationEdit->text())), 1, 0));
}

// Nothing is sent to the analyzer: the next cycle sets the range.
void TForm1::Edit33Exit() {
    RangeStart = std::clamp(ymt::ParseNumber(repeatStartEdit->text()), AnalyzerMin, AnalyzerMax);
    repeatStartEdit->setText(ymt::FixedText(RangeStart, 1, 3));
    rangeStartEdit->setText(repeatStartEdit->text());
}

void TForm1::Edit34Exit() {
    RangeStop = std::clamp(ymt::ParseNumber(repeatStopEdit->text()), AnalyzerMin, AnalyzerMax);
    repeatStopEdit->setText(ymt::FixedText(RangeStop, 1, 3));
    rangeStopEdit->setText(repeatStopEdit->text());
}
