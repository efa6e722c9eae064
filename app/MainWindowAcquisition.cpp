// Spectrum acquisition: "Read New Spectrum", "Read More Points", "Delete all points", the range
// fields of tabs "Measurement" and "Options" and the range check boxes.
#include "app/MainWindow.h"

#include "core/Misc.h"
#include "localisation/TextTables.h"
#include "measurement/Conversions.h"
#include "measurement/FrequencyRanges.h"
#include "plot/FastGraph.h"

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

QString progressText(int sweep, int sweeps) {
    return QStringLiteral("range %1 of %2").arg(sweep).arg(sweeps);
}

} // namespace

bool TForm1::backUpSpectrumBeforeChange(bool morePoints) {
    const auto option = static_cast<ymt::BackupOption>(autoBackupGroup->itemIndex());
    const auto change = morePoints ? ymt::SpectrumChange::MorePoints : ymt::SpectrumChange::Major;
    if (!ymt::ShouldBackUp(option, change, fastgraph1->store().pointCount(3)))
        return true;
    return backUpOrAsk(
        ymt::SpectrumBackupName(BackupDir, ymt::TimestampText(), sampleNameEdit->text()));
}

bool TForm1::sweepAndAppend(const QString& prompt, const QString& progress, double start,
                            double stop, bool setRange, const QString& what) {
    PlotPrompt = prompt;
    statusBar()->showMessage(progress);
    repaintPlotNow();
    // The analyzer sweeps upwards whichever way the limits were typed; the grid must follow.
    const double low = std::min(start, stop);
    const double high = std::max(start, stop);
    if (setRange)
        Analyzer.SetSweepRange(low, high);
    Analyzer.MeasureSweep();
    if (Analyzer.WaitStopped)
        return false;
    // Only values that came back are points: the rest of the trace arrays is left over from
    // earlier sweeps and carries frequencies this sweep did not measure.
    const int points = std::min(PointsPerRange, Analyzer.SweepPointsRead);
    if (AnalyzerHandle != 0 && points == 0)
        noteAnalyzerFailure(
            QStringLiteral("Error: no trace came back from the analyzer for %1; no points stored.")
                .arg(what));
    else if (AnalyzerHandle != 0 && points < PointsPerRange)
        noteAnalyzerFailure(QStringLiteral("Error: the trace of %1 ended after %2 of %3 points; "
                                           "only these are stored.")
                                .arg(what)
                                .arg(points)
                                .arg(PointsPerRange));
    ymt::AppendSweep(fastgraph1->store(), low, high, Analyzer.TraceA.data(), Analyzer.TraceB.data(),
                     points, ymt::HP4x94A::kTracePoints);
    if (points > 0 && AnalyzerSimulated)
        SpectrumSimulated = true;
    return true;
}

void TForm1::noteAnalyzerFailure(const QString& text) {
    logLine(text);
    analyzerFailures_ << text;
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
        const QList<ymt::SweepRange> ranges = ymt::CheckedSweepRanges(checked, starts, stops);
        for (int i = 0; i < ranges.size() && !stopped; ++i) {
            // The analyzer measures only inside its span; a range outside it has no points.
            const std::optional<ymt::SweepRange> range =
                ymt::ClampedSweepRange(ranges.at(i), AnalyzerMin, AnalyzerMax);
            if (!range) {
                logLine(QStringLiteral("Range %1 (%2 ... %3 kHz) lies outside the analyzer's "
                                       "span (%4 ... %5 kHz) and is skipped.")
                            .arg(ranges.at(i).number)
                            .arg(ymt::FixedText(ranges.at(i).start, 1, 3),
                                 ymt::FixedText(ranges.at(i).stop, 1, 3),
                                 ymt::FixedText(AnalyzerMin, 1, 3),
                                 ymt::FixedText(AnalyzerMax, 1, 3)));
                continue;
            }
            stopped =
                !sweepAndAppend(ymt::Message(4) + QStringLiteral("%1...").arg(range->number),
                                progressText(i + 1, static_cast<int>(ranges.size())), range->start,
                                range->stop, true, QStringLiteral("range %1").arg(range->number));
        }
        if (ranges.isEmpty() &&
            dialogs().showMessage(ymt::MessageKind::Confirmation, ymt::Message(6),
                                  ymt::ButtonSet::OKCancel) == ymt::DialogButton::OK)
            stopped = !sweepAndAppend(ymt::Message(5), progressText(1, 1), AnalyzerMin, AnalyzerMax,
                                      true, QStringLiteral("the spectrum overview"));

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
        sweepAndAppend(ymt::Message(4), progressText(1, 1), RangeStart, RangeStop, false,
                       QStringLiteral("the current range"));
        fastgraph1->store().SortCurve(3);
        fastgraph1->store().SortCurve(4);
        ComboBox1Change();
        PlotPrompt.clear();
    }
    ruecksetzen();
    reportAnalyzerFailures();
}

void TForm1::DeletePoints1Click() {
    if (dialogs().showMessage(ymt::MessageKind::Warning, ymt::Message(63), ymt::ButtonSet::YesNo) !=
        ymt::DialogButton::Yes)
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
    dialogs().showMessage(ymt::MessageKind::Information, ymt::Message(68), ymt::ButtonSet::OK);
}
