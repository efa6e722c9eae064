#include "measurement/SpectrumAcquisition.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"

#include <algorithm>
#include <utility>

namespace ymt {

namespace {

QString progressText(int sweep, int sweeps) {
    return Text(Txt::SweepProgress).arg(sweep).arg(sweeps);
}

} // namespace

double SpotFrequencyOf(const QString& fieldText, double analyzerMin, double analyzerMax) {
    double frequency = ParseNumber(fieldText);
    if (!(frequency > 0))
        frequency = 1.0;
    frequency = std::clamp(frequency, analyzerMin, analyzerMax);
    return std::clamp(ParseNumber(FixedText(frequency, 1, 3)), analyzerMin, analyzerMax);
}

SpectrumAcquisition::SpectrumAcquisition(HP4x94A& analyzer, CurveStore& store,
                                         DialogInterface& dialogs)
    : analyzer_(analyzer), store_(store), dialogs_(dialogs) {}

SweepOutcome SpectrumAcquisition::sweep(double start, double stop, bool setRange, bool replace) {
    // The analyzer sweeps upwards whichever way the limits were typed; the grid must follow.
    const double low = std::min(start, stop);
    const double high = std::max(start, stop);
    if (setRange)
        analyzer_.SetSweepRange(low, high);
    analyzer_.MeasureSweep();
    // A replaced spectrum is gone even when the sweep was stopped: what it showed belongs to
    // another band.
    if (replace)
        store_.ClearAll();
    SweepOutcome outcome;
    outcome.expected = pointsPerRange;
    if (analyzer_.WaitStopped) {
        outcome.stopped = true;
        return outcome;
    }
    // Only values that came back are points: the rest of the trace arrays is left over from
    // earlier sweeps and carries frequencies this sweep did not measure.
    outcome.points = std::min(pointsPerRange, analyzer_.SweepPointsRead);
    AppendSweep(store_, low, high, analyzer_.TraceA.data(), analyzer_.TraceB.data(), outcome.points,
                HP4x94A::kTracePoints);
    return outcome;
}

SweepOutcome SpectrumAcquisition::sweepNoted(const QString& prompt, const QString& progress,
                                             double start, double stop, bool setRange,
                                             const QString& what) {
    if (sweepStarting)
        sweepStarting(prompt, progress);
    const SweepOutcome outcome = sweep(start, stop, setRange);
    if (outcome.stopped || !connected())
        return outcome;
    if (outcome.points == 0)
        noteFailure(Text(Txt::LogNoTrace).arg(what));
    else if (outcome.points < outcome.expected)
        noteFailure(Text(Txt::LogTraceShort).arg(what).arg(outcome.points).arg(outcome.expected));
    return outcome;
}

AcquisitionRun SpectrumAcquisition::readNewSpectrum(const QList<SweepRange>& ranges) {
    AcquisitionRun run;
    for (int i = 0; i < ranges.size() && !run.stopped; ++i) {
        // The analyzer measures only inside its span; a range outside it has no points.
        const std::optional<SweepRange> range =
            ClampedSweepRange(ranges.at(i), analyzerMin, analyzerMax);
        if (!range) {
            notes_.log << Text(Txt::LogRangeOutsideSpan)
                              .arg(ranges.at(i).number)
                              .arg(FixedText(ranges.at(i).start, 1, 3),
                                   FixedText(ranges.at(i).stop, 1, 3), FixedText(analyzerMin, 1, 3),
                                   FixedText(analyzerMax, 1, 3));
            continue;
        }
        const SweepOutcome outcome =
            sweepNoted(Message(Msg::LoadingRange) + QStringLiteral("%1...").arg(range->number),
                       progressText(i + 1, static_cast<int>(ranges.size())), range->start,
                       range->stop, true, Text(Txt::SweepRange).arg(range->number));
        run.stopped = outcome.stopped;
        run.pointsStored += outcome.points;
    }
    if (ranges.isEmpty() &&
        dialogs_.showMessage(MessageKind::Confirmation, Message(Msg::NoRangeLoadOverview),
                             ButtonSet::OKCancel) == DialogButton::OK) {
        const SweepOutcome outcome =
            sweepNoted(Message(Msg::LoadingSpectrumOverview), progressText(1, 1), analyzerMin,
                       analyzerMax, true, Text(Txt::SweepOverview));
        run.stopped = outcome.stopped;
        run.pointsStored += outcome.points;
    }
    return run;
}

AcquisitionRun SpectrumAcquisition::readMorePoints(double rangeStart, double rangeStop) {
    const SweepOutcome outcome =
        sweepNoted(Message(Msg::LoadingRange), progressText(1, 1), rangeStart, rangeStop, false,
                   Text(Txt::SweepCurrentRange));
    return {outcome.stopped, outcome.points};
}

SpotOutcome SpectrumAcquisition::measureSpot(double frequency, int readings, double distanceMm,
                                             double areaMm2, bool noteFailures) {
    SpotOutcome spot;
    analyzer_.MeasureSpot(readings, spot.zAvg, spot.thetaAvg, frequency);
    spot.stopped = connected() && analyzer_.WaitStopped;
    spot.read = analyzer_.SpotReadingsRead;
    spot.requested = std::clamp(readings, 1, HP4x94A::kTracePoints);
    if (noteFailures && connected() && !spot.stopped) {
        if (spot.read == 0)
            noteFailure(Text(Txt::LogNoSpotReading));
        else if (spot.read < spot.requested)
            noteFailure(Text(Txt::LogSpotShort).arg(spot.read).arg(spot.requested));
    }
    // Without a reading the results are 0 ("---"), not the previous sample's values.
    const CapacitanceValues values = CapacitanceFromReading(frequency, spot.zAvg, spot.thetaAvg);
    spot.capNF = values.CapNF;
    spot.tanD = values.TanD;
    spot.epsRel = RelativePermittivity(spot.capNF, distanceMm, areaMm2);
    return spot;
}

AcquisitionNotes SpectrumAcquisition::takeNotes() {
    return std::exchange(notes_, {});
}

void SpectrumAcquisition::noteFailure(const QString& text) {
    notes_.log << text;
    notes_.failures << text;
}

} // namespace ymt
