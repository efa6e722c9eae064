// The repeat measurement: start and stop, one cycle per timer event, the fields of its tab and
// the script step "tick". The rules, names and texts live in measurement/RepeatMeasurement.h.
#include "app/MainWindow.h"
#include "app/OperatorStop.h"

#include "core/Clock.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "core/TextFile.h"
#include "evaluation/Capacitance.h"
#include "instrument/thermometer/Thermometer.h"
#include "localisation/TextTables.h"
#include "measurement/FrequencyRanges.h"
#include "measurement/SpectrumAcquisition.h"
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

namespace {

int wholeNumberOr(const QString& text, int fallback) {
    bool whole = false;
    const int value = text.trimmed().toInt(&whole);
    return whole && value >= 1 ? std::min(value, 401) : fallback;
}

} // namespace

std::optional<double> TForm1::readSeriesTemperature() {
    if (!repeat_.withThermometer())
        return std::nullopt;
    const ymt::TemperatureReading reading =
        ymt::ReadTemp(ThermometerHandle, repeat_.thermometerKind);
    // One line when the thermometer stops answering and one when it is back, not one a cycle.
    if (reading.obtained == repeat_.thermometerSilent) {
        repeat_.thermometerSilent = !reading.obtained;
        logLine(reading.obtained ? QStringLiteral("Thermometer: readings again.")
                                 : QStringLiteral("Thermometer: no reading; the series shows "
                                                  "\"---\" until it answers again."));
    }
    return reading.obtained ? std::optional<double>(reading.celsius) : std::nullopt;
}

void TForm1::Button27Click() {
    if (repeat_.schedule.isRunning()) {
        stopRepeatSeries(ymt::Message(57), ymt::Message(58));
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
        dialogs().showMessage(ymt::MessageKind::Error,
                              QStringLiteral("Please enter the name of the series file."),
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
    run.capPoints = wholeNumberOr(capPointsEdit->text(), 10);
    run.capFrequency = ymt::ParseNumber(capFrequencyEdit->text());
    run.tandPerMille = lossTangentUnit() == 0;
    run.fileLanguage = printLanguageGroup->itemIndex();
    if (run.fileLanguage > 1)
        run.fileLanguage = dialogs().showMessage(ymt::MessageKind::Confirmation, ymt::Message(69),
                                                 ymt::ButtonSet::YesNo) == ymt::DialogButton::Yes
                               ? 1
                               : 0;

    // Files of an earlier series in the same folder would be overwritten cycle by cycle.
    if (run.saveEachSpectrum || run.saveEachDiagram) {
        const QStringList earlier =
            QDir(run.folder).entryList(ymt::CycleFilePatterns(), QDir::Files);
        if (!earlier.isEmpty() &&
            dialogs().showMessage(ymt::MessageKind::Confirmation, ymt::Message(8),
                                  ymt::ButtonSet::YesNo) != ymt::DialogButton::Yes)
            return;
        if (!QDir().mkpath(run.folder)) {
            dialogs().showMessage(ymt::MessageKind::Error,
                                  QStringLiteral("Cannot create the folder ") + run.folder,
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
    repeat_.previousValue = readSeriesTemperature();
    repeat_.schedule.start(ymt::clock::nowMs(), ymt::ParseNumber(intervalEdit->text()),
                           ymt::ParseNumber(durationEdit->text()));
    dauergraph->XAxis.setTitle(repeat_.withThermometer() ? QStringLiteral("Temperature [°C]")
                                                         : QStringLiteral("Measurements"));
    dauergraph->setTitle(ymt::Message(55));
    dauergraph->update();
    repeatButton->setText(ymt::Message(56));
    logLine(QStringLiteral("Repeat measurement: %1 cycles every %2 min into %3")
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
                              path + QStringLiteral(" is not a series file; a series is not "
                                                    "appended to it. Choose another file name."),
                              ymt::ButtonSet::OK);
        return false;
    }
    return dialogs().showMessage(ymt::MessageKind::Confirmation,
                                 path + QStringLiteral(" holds a series already. Append the new "
                                                       "series to it?"),
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
        logLine(QStringLiteral("Repeat measurement: timer event skipped while busy (%1 so far).")
                    .arg(repeat_.schedule.skippedEvents()));
        return;
    }
    runRepeatCycle();
}

// One sweep of low..high (kHz) into curves 3 and 4 (and 1 and 2 when wanted), evaluated over
// exactly the swept band; false, with f(min) and f(max) 0, when the search found no resonance
// or the operator stopped the sweep.
bool TForm1::sweepAndSearch(double low, double high, bool displayCurves,
                            ymt::SweepOutcome& outcome) {
    outcome = acquisition().sweep(low, high, true, true);
    ymt::CurveStore& store = fastgraph1->store();
    SpectrumSimulated = AnalyzerSimulated && outcome.points > 0;
    if (displayCurves)
        for (int i = 0; i < store.pointCount(3); ++i) {
            store.AddPoint(1, store.x(3, i), store.y(3, i));
            store.AddPoint(2, store.x(4, i), store.y(4, i));
        }
    // The search looks strictly inside the window: half a grid step beyond each end.
    const double margin = (high - low) / std::max(1, PointsPerRange) / 2;
    fastgraph1->XAxis.setMin(low - margin);
    fastgraph1->XAxis.setMax(high + margin);
    Results.FMin = Results.FMax = 0;
    // No step from the minimum up to a maximum (a band without a resonance, where both fall on
    // the same end point) is no result either.
    const bool found =
        !outcome.stopped && getminmax() > 0 && Results.FMin != 0 && Results.FMax != 0;
    if (!found)
        Results.FMin = Results.FMax = 0;
    MaxMarker = Results.FMax;
    MinMarker = Results.FMin;
    return found;
}

void TForm1::runRepeatCycle() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int cycle = repeat_.schedule.cyclesBegun();
    const std::optional<double> before = readSeriesTemperature();
    const qint64 cycleStartMs = ymt::clock::nowMs();
    dauergraph->setTitle(ymt::CycleTitle(cycle - 1, repeat_.schedule.totalCycles(), before,
                                         repeat_.withThermometer(),
                                         repeat_.schedule.msLeft(cycleStartMs)));
    dauergraph->update();
    statusBar()->showMessage(QStringLiteral("Repeat measurement: cycle %1 of %2")
                                 .arg(cycle)
                                 .arg(repeat_.schedule.totalCycles()));
    std::optional<double> seriesValue =
        repeat_.withThermometer() ? before : std::optional<double>(repeat_.cycleNumber);
    // What went wrong in this cycle, for one log line: the series runs unattended and shows
    // no boxes, and its rows alone cannot tell a failed reading from a missing resonance.
    QStringList problems;
    // A stopped wait ends the measuring of the cycle, as it ends Read New Spectrum: the
    // operator wants the analyzer free. The row is still written, with what was measured.
    bool stopped = false;
    const auto noteSweep = [&](double low, double high, const ymt::SweepOutcome& sweep) {
        if (sweep.stopped) {
            stopped = true;
            problems << QStringLiteral("stopped by the operator; the rest of the cycle is not "
                                       "measured");
            return;
        }
        if (AnalyzerHandle == 0)
            return;
        const QString band =
            ymt::FixedText(low, 1, 3) + QStringLiteral("-") + ymt::FixedText(high, 1, 3);
        if (sweep.points == 0)
            problems << QStringLiteral("no trace came back for the sweep of %1 kHz").arg(band);
        else if (sweep.points < sweep.expected)
            problems << QStringLiteral("the trace of the sweep of %1 kHz ended after %2 of %3 "
                                       "points")
                            .arg(band)
                            .arg(sweep.points)
                            .arg(sweep.expected);
    };

    // Capacitance at its frequency; no label and no quality control.
    // Every result of this cycle is measured afresh: what is not found stays 0 ("---").
    Results = ymt::EvaluationResults();
    const ymt::SpotOutcome spot =
        acquisition().measureSpot(repeat_.capFrequency, repeat_.capPoints, Sample.ElectrodeDistance,
                                  Sample.ElectrodeArea, false);
    Results.ZAvg = spot.zAvg;
    Results.ThetaAvg = spot.thetaAvg;
    Results.CapNF = spot.capNF;
    Results.TanD = spot.tanD;
    Results.EpsRel = spot.epsRel;
    if (spot.stopped) {
        stopped = true;
        problems << QStringLiteral("stopped by the operator; the rest of the cycle is not "
                                   "measured");
    } else if (AnalyzerHandle != 0 && Results.ZAvg == 0) {
        problems << QStringLiteral("no capacitance reading came back at %1 kHz")
                        .arg(ymt::FixedText(repeat_.capFrequency, 1, 3));
    }

    // The series sweeps what its own tab shows: a zoom or a reset of the measurement plot
    // between cycles moves only the measurement's range.
    const double tabStart =
        std::clamp(ymt::ParseNumber(repeatStartEdit->text()), AnalyzerMin, AnalyzerMax);
    const double tabStop =
        std::clamp(ymt::ParseNumber(repeatStopEdit->text()), AnalyzerMin, AnalyzerMax);
    const double low = std::min(tabStart, tabStop);
    const double high = std::max(tabStart, tabStop);
    bool found = false;
    ymt::SweepOutcome sweep;
    if (!stopped) {
        found = sweepAndSearch(low, high, true, sweep);
        noteSweep(low, high, sweep);
    }
    // The per-cycle files are extras: one that cannot be written is noted, and the row is
    // still written.
    if (repeat_.saveEachSpectrum && !stopped) {
        QString fileError;
        if (!writeCycleSpectrum(repeat_.folder +
                                    ymt::CycleSpectrumFileName(
                                        cycle, repeat_.withThermometer() ? before : std::nullopt),
                                &fileError))
            problems << fileError;
    }
    if (found && refineCheck->isChecked()) {
        if (const auto band = ymt::RefinedBand(MinMarker, MaxMarker, AnalyzerMin, AnalyzerMax)) {
            found = sweepAndSearch(band->low, band->high, false, sweep);
            noteSweep(band->low, band->high, sweep);
        }
    }
    Analyzer.SetSweepMode(true);
    // The analyzer goes back to the range the measurement tab shows, so that a later
    // "Read More Points" measures where its points are put.
    Analyzer.SetSweepRange(std::min(RangeStart, RangeStop), std::max(RangeStart, RangeStop));
    repaintPlotNow();
    if (found)
        koppelfaktor(Results.FMax, Results.FMin);

    const std::optional<double> after = readSeriesTemperature();
    const qint64 nowMs = ymt::clock::nowMs();
    if (repeat_.withThermometer()) {
        seriesValue = ymt::MeanReading(before, after);
    } else {
        repeat_.cycleNumber += 1;
        seriesValue = repeat_.cycleNumber;
    }
    ymt::SeriesRow row;
    row.temperature = seriesValue;
    row.minutes = double(nowMs - repeat_.schedule.startMs()) / 60000.0;
    row.rate = ymt::TemperatureRate(seriesValue, repeat_.previousValue,
                                    double(nowMs - repeat_.previousMs) / 60000.0);
    if (seriesValue) {
        repeat_.previousValue = seriesValue;
        repeat_.previousMs = nowMs;
    }
    const auto determined = [](double value) {
        return value != 0 ? std::optional<double>(value) : std::nullopt;
    };
    row.fMin = determined(Results.FMin);
    row.fMax = determined(Results.FMax);
    row.capNF = determined(Results.CapNF);
    row.tand = determined(repeat_.tandPerMille ? Results.TanD / 10 : Results.TanD);
    row.epsRel = determined(Results.EpsRel);
    row.kEff = determined(Results.KEff);
    row.kMode = determined(Results.KMode);
    row.q3dB = determined(Results.Q3dB);
    row.b3dB = determined(Results.B3dB);

    if (seriesValue) {
        ymt::CurveStore& series = dauergraph->store();
        series.AddPoint(1, *seriesValue, Results.CapNF);
        series.AddPoint(2, *seriesValue, Results.FMin);
        series.AddPoint(3, *seriesValue, Results.FMax);
    }
    dauergraph->update();
    // The series plot as it stands after this cycle, one graph file per cycle.
    if (repeat_.saveEachDiagram) {
        QString fileError;
        if (!ymt::SaveGraphFile(*dauergraph,
                                repeat_.folder +
                                    ymt::CycleDiagramFileName(
                                        repeat_.seriesFile, cycle,
                                        repeat_.withThermometer() ? seriesValue : std::nullopt),
                                &fileError))
            problems << fileError;
    }

    QString error;
    const bool written = ymt::AppendTextFile(repeat_.seriesFile, {ymt::SeriesRowLine(row)}, &error);
    const bool last = repeat_.schedule.endCycle(ymt::clock::nowMs());
    QApplication::restoreOverrideCursor();
    const QString problemText = problems.isEmpty()
                                    ? QString()
                                    : QStringLiteral("Repeat measurement, cycle %1: %2.")
                                          .arg(cycle)
                                          .arg(problems.join(QStringLiteral("; ")));
    if (!problemText.isEmpty())
        logLine(problemText);
    if (!written) {
        // Reported once: without its rows the series has no purpose, so it stops instead of
        // failing again every interval.
        stopRepeatSeries(ymt::Message(57), ymt::Message(58));
        dialogs().showMessage(ymt::MessageKind::Error,
                              repeat_.seriesFile + QStringLiteral(": ") + error,
                              ymt::ButtonSet::OK);
        return;
    }
    if (last)
        stopRepeatSeries(ymt::Message(60), ymt::Message(60) + QStringLiteral(" Start"));
    if (problemText.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(problemText);
}

// The per-cycle spectrum file, written like every spectrum file, in the series' file language.
bool TForm1::writeCycleSpectrum(const QString& path, QString* error) {
    return savetotext(path, error);
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
