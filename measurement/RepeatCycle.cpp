#include "measurement/RepeatCycle.h"

#include "core/Clock.h"
#include "core/Misc.h"
#include "core/TextFile.h"
#include "instrument/thermometer/Thermometer.h"
#include "localisation/ProgramTexts.h"

#include <QStringList>

#include <algorithm>

namespace ymt {

namespace {

std::optional<double> determined(double value) {
    return value != 0 ? std::optional<double>(value) : std::nullopt;
}

} // namespace

RepeatCycle::RepeatCycle(HP4x94A& analyzer, CurveStore& spectrumCurves, CurveStore& seriesCurves,
                         DialogInterface& dialogs)
    : analyzer_(analyzer), spectrum_(spectrumCurves), series_(seriesCurves),
      acquisition_(analyzer, spectrumCurves, dialogs) {}

std::optional<double> RepeatCycle::readTemperature(RepeatSeriesRun& series) {
    if (!series.withThermometer())
        return std::nullopt;
    const TemperatureReading reading = ReadTemp(settings.thermometerHandle, series.thermometerKind);
    // One line when the thermometer stops answering and one when it is back, not one a cycle.
    if (reading.obtained == series.thermometerSilent) {
        series.thermometerSilent = !reading.obtained;
        if (hooks.log)
            hooks.log(reading.obtained ? Text(Txt::LogThermometerBack)
                                       : Text(Txt::LogThermometerSilent));
    }
    return reading.obtained ? std::optional<double>(reading.celsius) : std::nullopt;
}

bool RepeatCycle::sweepAndSearch(double low, double high, bool displayCurves,
                                 SweepOutcome& outcome) {
    outcome = acquisition_.sweep(low, high, true, true);
    if (displayCurves)
        for (int i = 0; i < spectrum_.pointCount(3); ++i) {
            spectrum_.AddPoint(1, spectrum_.x(3, i), spectrum_.y(3, i));
            spectrum_.AddPoint(2, spectrum_.x(4, i), spectrum_.y(4, i));
        }
    // The search looks strictly inside the window: half a grid step beyond each end.
    const double margin = (high - low) / std::max(1, settings.pointsPerRange) / 2;
    SearchedBand band;
    band.windowMin = low - margin;
    band.windowMax = high + margin;
    band.simulatedSpectrum = settings.analyzerSimulated && outcome.points > 0;
    results_.FMin = results_.FMax = 0;
    // No step from the minimum up to a maximum (a band without a resonance, where both fall on
    // the same end point) is no result either.
    const bool found = !outcome.stopped &&
                       getminmax(spectrum_, band.windowMin, band.windowMax, results_) > 0 &&
                       results_.FMin != 0 && results_.FMax != 0;
    if (!found)
        results_.FMin = results_.FMax = 0;
    band.maxMarker = results_.FMax;
    band.minMarker = results_.FMin;
    if (hooks.searched)
        hooks.searched(band);
    return found;
}

RepeatCycleOutcome RepeatCycle::run(RepeatSeriesRun& series) {
    RepeatCycleOutcome outcome;
    acquisition_.pointsPerRange = settings.pointsPerRange;
    acquisition_.analyzerMin = settings.analyzerMin;
    acquisition_.analyzerMax = settings.analyzerMax;
    const bool withThermometer = series.withThermometer();
    const int cycle = series.schedule.cyclesBegun();
    outcome.cycle = cycle;
    const std::optional<double> before = readTemperature(series);
    const qint64 cycleStartMs = clock::nowMs();
    if (hooks.begun)
        hooks.begun(CycleTitle(cycle - 1, series.schedule.totalCycles(), before, withThermometer,
                               series.schedule.msLeft(cycleStartMs)),
                    Text(Txt::LogRepeatCycle).arg(cycle).arg(series.schedule.totalCycles()));
    // What went wrong in this cycle, for one log line: the series runs unattended and shows
    // no boxes, and its rows alone cannot tell a failed reading from a missing resonance.
    QStringList problems;
    // A stopped wait ends the measuring of the cycle, as it ends Read New Spectrum: the
    // operator wants the analyzer free. The row is still written, with what was measured.
    bool stopped = false;
    const auto noteSweep = [&](double low, double high, const SweepOutcome& sweep) {
        if (sweep.stopped) {
            stopped = true;
            problems << Text(Txt::CycleStopped);
            return;
        }
        if (analyzer_.AnalyzerHandle == 0)
            return;
        const QString band = FixedText(low, 1, 3) + QStringLiteral("-") + FixedText(high, 1, 3);
        if (sweep.points == 0)
            problems << Text(Txt::CycleNoTrace).arg(band);
        else if (sweep.points < sweep.expected)
            problems << Text(Txt::CycleTraceShort).arg(band).arg(sweep.points).arg(sweep.expected);
    };

    // Capacitance at its frequency; no label and no quality control.
    // Every result of this cycle is measured afresh: what is not found stays 0 ("---").
    results_ = EvaluationResults();
    const SpotOutcome spot =
        acquisition_.measureSpot(series.capFrequency, series.capPoints,
                                 settings.electrodeDistanceMm, settings.electrodeAreaMm2, false);
    results_.ZAvg = spot.zAvg;
    results_.ThetaAvg = spot.thetaAvg;
    results_.CapNF = spot.capNF;
    results_.TanD = spot.tanD;
    results_.EpsRel = spot.epsRel;
    if (spot.stopped) {
        stopped = true;
        problems << Text(Txt::CycleStopped);
    } else if (analyzer_.AnalyzerHandle != 0 && results_.ZAvg == 0) {
        problems << Text(Txt::CycleNoCapacitance).arg(FixedText(series.capFrequency, 1, 3));
    }

    // The series sweeps what its own tab shows: a zoom or a reset of the measurement plot
    // between cycles moves only the measurement's range.
    const double tabStart =
        std::clamp(settings.bandStart, settings.analyzerMin, settings.analyzerMax);
    const double tabStop =
        std::clamp(settings.bandStop, settings.analyzerMin, settings.analyzerMax);
    const double low = std::min(tabStart, tabStop);
    const double high = std::max(tabStart, tabStop);
    bool found = false;
    SweepOutcome sweep;
    if (!stopped) {
        found = sweepAndSearch(low, high, true, sweep);
        noteSweep(low, high, sweep);
    }
    // The per-cycle files are extras: one that cannot be written is noted, and the row is
    // still written.
    if (series.saveEachSpectrum && !stopped && hooks.writeSpectrum) {
        QString fileError;
        const QString name = CycleSpectrumFileName(cycle, withThermometer ? before : std::nullopt);
        if (!hooks.writeSpectrum(series.folder + name, &fileError))
            problems << fileError;
    }
    if (found && settings.refine) {
        if (const auto band = RefinedBand(results_.FMin, results_.FMax, settings.analyzerMin,
                                          settings.analyzerMax)) {
            found = sweepAndSearch(band->low, band->high, false, sweep);
            noteSweep(band->low, band->high, sweep);
        }
    }
    analyzer_.SetSweepMode(true);
    // The analyzer goes back to the range the measurement tab shows, so that a later
    // "Read More Points" measures where its points are put.
    analyzer_.SetSweepRange(std::min(settings.rangeStart, settings.rangeStop),
                            std::max(settings.rangeStart, settings.rangeStop));
    if (hooks.swept)
        hooks.swept();
    if (found) {
        PassInputs inputs = settings.pass;
        inputs.FA = results_.FMax;
        inputs.FB = results_.FMin;
        const PassOutcome pass = koppelfaktor(spectrum_, results_, inputs);
        results_ = pass.Results;
        if (hooks.evaluated)
            hooks.evaluated(pass);
    }

    const std::optional<double> after = readTemperature(series);
    const qint64 nowMs = clock::nowMs();
    std::optional<double> seriesValue;
    if (withThermometer) {
        seriesValue = MeanReading(before, after);
    } else {
        series.cycleNumber += 1;
        seriesValue = series.cycleNumber;
    }
    SeriesRow& row = outcome.row;
    row.temperature = seriesValue;
    row.minutes = double(nowMs - series.schedule.startMs()) / 60000.0;
    row.rate = TemperatureRate(seriesValue, series.previousValue,
                               double(nowMs - series.previousMs) / 60000.0);
    if (seriesValue) {
        series.previousValue = seriesValue;
        series.previousMs = nowMs;
    }
    row.fMin = determined(results_.FMin);
    row.fMax = determined(results_.FMax);
    row.capNF = determined(results_.CapNF);
    row.tand = determined(series.tandPerMille ? results_.TanD / 10 : results_.TanD);
    row.epsRel = determined(results_.EpsRel);
    row.kEff = determined(results_.KEff);
    row.kMode = determined(results_.KMode);
    row.q3dB = determined(results_.Q3dB);
    row.b3dB = determined(results_.B3dB);

    if (seriesValue) {
        series_.AddPoint(1, *seriesValue, results_.CapNF);
        series_.AddPoint(2, *seriesValue, results_.FMin);
        series_.AddPoint(3, *seriesValue, results_.FMax);
    }
    // The series plot as it stands after this cycle, one graph file per cycle.
    if (series.saveEachDiagram && hooks.writeDiagram) {
        QString fileError;
        if (!hooks.writeDiagram(
                series.folder + CycleDiagramFileName(series.seriesFile, cycle,
                                                     withThermometer ? seriesValue : std::nullopt),
                &fileError))
            problems << fileError;
    }

    outcome.rowWritten =
        AppendTextFile(series.seriesFile, {SeriesRowLine(row)}, &outcome.writeError);
    outcome.last = series.schedule.endCycle(clock::nowMs());
    outcome.results = results_;
    if (!problems.isEmpty())
        outcome.problemLine =
            Text(Txt::LogRepeatCycleProblems).arg(cycle).arg(problems.join(QStringLiteral("; ")));
    return outcome;
}

} // namespace ymt
