// Spectrum acquisition: "Read New Spectrum", "Read More Points", "Delete all points", the range
// fields of tabs "Measurement" and "Options" and the range check boxes.
#include "app/MainWindow.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "localisation/TextTables.h"
#include "measurement/FrequencyRanges.h"
#include "measurement/SpectrumAcquisition.h"
#include "plot/FastGraph.h"
#include "records/SpectrumBackup.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// The hourglass for as long as the sweeps block the window, and the status line cleared after.
class BusyIndicator {
public:
    explicit BusyIndicator(QStatusBar* status) : status_(status) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyIndicator() {
        status_->clearMessage();
        QApplication::restoreOverrideCursor();
    }
    BusyIndicator(const BusyIndicator&) = delete;
    BusyIndicator& operator=(const BusyIndicator&) = delete;

private:
    QStatusBar* status_;
};

} // namespace

bool TForm1::backUpSpectrumBeforeChange(bool morePoints) {
    const auto option = static_cast<ymt::BackupOption>(autoBackupGroup->itemIndex());
    const auto change = morePoints ? ymt::SpectrumChange::MorePoints : ymt::SpectrumChange::Major;
    if (!ymt::ShouldBackUp(option, change, fastgraph1->store().pointCount(3)))
        return true;
    return backUpOrAsk(
        ymt::SpectrumBackupName(BackupDir, ymt::TimestampText(), sampleNameEdit->text()));
}

ymt::SpectrumAcquisition& TForm1::acquisition() {
    if (!acquisition_) {
        acquisition_ =
            std::make_unique<ymt::SpectrumAcquisition>(Analyzer, fastgraph1->store(), dialogs());
        // What the operation noted so far reaches the log before the next wait begins, so that
        // it comes before anything the wait logs.
        acquisition_->sweepStarting = [this](const QString& prompt, const QString& progress) {
            takeAcquisitionNotes();
            PlotPrompt = prompt;
            statusBar()->showMessage(progress);
            repaintPlotNow();
        };
    }
    acquisition_->pointsPerRange = PointsPerRange;
    acquisition_->analyzerMin = AnalyzerMin;
    acquisition_->analyzerMax = AnalyzerMax;
    return *acquisition_;
}

void TForm1::takeAcquisitionNotes() {
    if (!acquisition_)
        return;
    const ymt::AcquisitionNotes notes = acquisition_->takeNotes();
    for (const QString& line : notes.log)
        logLine(line);
    analyzerFailures_ << notes.failures;
}

void TForm1::reportAnalyzerFailures() {
    if (analyzerFailures_.isEmpty())
        return;
    const QStringList failures = std::exchange(analyzerFailures_, {});
    statusBar()->showMessage(failures.last());
    if (!seriesRunning())
        dialogs().showMessage(ymt::MessageKind::Error, failures.join(QLatin1Char('\n')),
                              ymt::ButtonSet::OK);
}

void TForm1::Button6Click() {
    analyzerFailures_.clear();
    if (!backUpSpectrumBeforeChange(false))
        return;
    clearResultLabels();
    repaintPlotNow();
    bool stopped = false;
    {
        BusyIndicator busy(statusBar());
        fastgraph1->store().ClearAll();
        SpectrumSimulated = false;

        bool checked[3];
        QString starts[3], stops[3];
        for (int range = 0; range < 3; ++range) {
            checked[range] = rangeChecks[range]->isChecked();
            starts[range] = rangeEdits[2 * range]->text();
            stops[range] = rangeEdits[2 * range + 1]->text();
        }
        const ymt::AcquisitionRun run =
            acquisition().readNewSpectrum(ymt::CheckedSweepRanges(checked, starts, stops));
        takeAcquisitionNotes();
        stopped = run.stopped;
        if (run.pointsStored > 0 && AnalyzerSimulated)
            SpectrumSimulated = true;

        // The capacitance measurement runs before its point is added, so that the point carries
        // the values just measured; without a measurement a |Z| of 0 would pose as f(min).
        // After a stop the operator wants the analyzer free, not another measurement. With the
        // coupling factor to follow, the check and the protocol line wait for its results.
        const bool evaluate = autoCouplingCheck->isChecked();
        if (!stopped)
            measureCapacitance(!evaluate);
        if (!stopped && Results.ZAvg != 0) {
            fastgraph1->store().AddPoint(3, SpotFrequency, Results.ZAvg);
            fastgraph1->store().AddPoint(4, SpotFrequency, Results.ThetaAvg);
        }
        fastgraph1->store().SortCurve(3);
        fastgraph1->store().SortCurve(4);
        if (!stopped && evaluate && !runCouplingFactor()) {
            qcontrol();
            if (autoProtocolCheck->isChecked())
                Button2Click();
        }
        ComboBox1Change();
        ShowMarkers = false;
        PlotPrompt.clear();
    }
    ruecksetzen();
    reportAnalyzerFailures();
}

void TForm1::Button7Click() {
    analyzerFailures_.clear();
    if (!backUpSpectrumBeforeChange(true))
        return;
    {
        BusyIndicator busy(statusBar());
        if (!mergePointsCheck->isChecked()) {
            fastgraph1->store().DeleteRange(3, RangeStart, RangeStop);
            fastgraph1->store().DeleteRange(4, RangeStart, RangeStop);
        }
        // The analyzer sweeps the range it holds, which zoom keeps at RangeStart..RangeStop.
        const ymt::AcquisitionRun run = acquisition().readMorePoints(RangeStart, RangeStop);
        takeAcquisitionNotes();
        if (run.pointsStored > 0 && AnalyzerSimulated)
            SpectrumSimulated = true;
        fastgraph1->store().SortCurve(3);
        fastgraph1->store().SortCurve(4);
        ComboBox1Change();
        PlotPrompt.clear();
    }
    ruecksetzen();
    reportAnalyzerFailures();
}

void TForm1::DeletePoints1Click() {
    if (dialogs().showMessage(ymt::MessageKind::Warning, ymt::Message(ymt::Msg::DeleteAllPoints),
                              ymt::ButtonSet::YesNo) != ymt::DialogButton::Yes)
        return;
    if (!backUpSpectrumBeforeChange(false))
        return;
    ShowMarkers = false;
    Results.FMax = 0;
    Results.FMin = 0;
    fastgraph1->store().ClearAll();
    SpectrumSimulated = false;
    repaintPlotNow();
    clearResultLabels();
}

void TForm1::applyTypedRangeLimit(bool isStart) {
    QLineEdit* field = isStart ? rangeStartEdit : rangeStopEdit;
    QLineEdit* repeatField = isStart ? repeatStartEdit : repeatStopEdit;
    double& current = isStart ? RangeStart : RangeStop;
    double& other = isStart ? RangeStop : RangeStart;
    QLineEdit* otherField = isStart ? rangeStopEdit : rangeStartEdit;

    const ymt::FloatConversion typed = ymt::StrictFloat(field->text());
    if (!typed.value) {
        dialogs().showMessage(ymt::MessageKind::Error, typed.error, ymt::ButtonSet::OK);
        field->setText(ymt::FixedText(current, 1, 3));
        return;
    }
    const std::optional<double> limit =
        ymt::TypedRangeLimit(*typed.value, current, other, AnalyzerMin, AnalyzerMax);
    if (!limit)
        return;
    current = *limit;
    field->setText(ymt::FixedText(current, 1, 3));
    repeatField->setText(ymt::FixedText(current, 1, 3));
    other = ymt::ParseNumber(otherField->text());
    const double low = std::min(RangeStart, RangeStop);
    const double high = std::max(RangeStart, RangeStop);
    ZoomHistory.push(high, low);
    zoom(RangeStart, RangeStop);
    repaintPlotNow();
}

void TForm1::Edit1Exit() {
    applyTypedRangeLimit(true);
}

void TForm1::Edit2Exit() {
    applyTypedRangeLimit(false);
}

void TForm1::Edit36Exit(QLineEdit* field) {
    const double typed = ymt::ParseNumber(field->text());
    field->setText(ymt::FixedText(ymt::ClampToAnalyzer(typed, AnalyzerMin, AnalyzerMax), 1, 3));
}

void TForm1::Edit42Exit() {
    const ymt::PointsReading reading = ymt::ReadPointsPerRange(pointsPerRangeEdit->text());
    if (!reading.value)
        dialogs().showMessage(ymt::MessageKind::Error, reading.error, ymt::ButtonSet::OK);
    else
        PointsPerRange = *reading.value;
    pointsPerRangeEdit->setText(ymt::IntText(PointsPerRange));
}

void TForm1::CheckBox23Click() {
    for (QCheckBox* range : rangeChecks) {
        if (range->isChecked())
            return;
    }
    dialogs().showMessage(ymt::MessageKind::Information,
                          ymt::Message(ymt::Msg::NoRangeReadsFullRange), ymt::ButtonSet::OK);
}
