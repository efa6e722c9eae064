// One cycle of a running repeat measurement without widgets: the thermometer before and after,
// the spot capacitance, the sweep of the tab's band and its resonance search, the refining
// sweep, the evaluation pass, the series row and the per-cycle files, and the one log line of
// what went wrong. What needs the window (labels, the plot's axis and markers, the pictures of
// the plots, the spectrum file with the window's header) comes in through the hooks.
//
//   RepeatCycle cycle(analyzer, spectrumCurves, seriesCurves, dialogs);
//   cycle.settings = ...;  // read from the controls when the cycle begins
//   cycle.hooks.log = ...;
//   const RepeatCycleOutcome outcome = cycle.run(series);
#pragma once

#include "evaluation/EvaluationResults.h"
#include "evaluation/ResonanceEvaluation.h"
#include "instrument/analyzer/HP4x94A.h"
#include "measurement/RepeatMeasurement.h"
#include "measurement/RepeatSeriesRun.h"
#include "measurement/SpectrumAcquisition.h"
#include "plot/curves/CurveStore.h"
#include "plot/curves/Dialogs.h"

#include <QString>

#include <functional>
#include <optional>

namespace ymt {

// The window's values when a cycle begins.
struct RepeatCycleSettings {
    // The band of the tab "Repeat" (kHz, either order, limited to the span by the cycle).
    double bandStart = 0;
    double bandStop = 0;
    bool refine = false; // the refining sweep around the resonance
    int pointsPerRange = 401;
    double analyzerMin = 0.04; // kHz
    double analyzerMax = 110000;
    bool analyzerSimulated = false;
    // The measurement tab's range, which the analyzer is set back to after the cycle.
    double rangeStart = 0;
    double rangeStop = 0;
    double electrodeDistanceMm = 0;
    double electrodeAreaMm2 = 0;
    int thermometerHandle = 0;
    PassInputs pass; // FA and FB are set by the cycle
};

// Where a sweep was searched: the measurement plot's x range and what the search found.
struct SearchedBand {
    double windowMin = 0; // kHz, half a grid step beyond the swept band
    double windowMax = 0;
    double minMarker = 0;           // f(min), 0 when no resonance was found
    double maxMarker = 0;           // f(max)
    bool simulatedSpectrum = false; // a simulated analyzer gave the spectrum's points
};

struct RepeatCycleHooks {
    // A line for the log, when it happens (thermometer falls silent or answers again).
    std::function<void(const QString& line)> log;
    // The cycle begins: the repeat plot's title and the status text.
    std::function<void(const QString& title, const QString& status)> begun;
    // A sweep was searched: the measurement plot shows windowMin..windowMax and the markers.
    std::function<void(const SearchedBand& band)> searched;
    // The sweeps are done: the measurement plot is drawn now.
    std::function<void()> swept;
    // The evaluation pass ran: its labels, protocol line and quality control.
    std::function<void(const PassOutcome& pass)> evaluated;
    // The per-cycle files; false with *error when one cannot be written.
    std::function<bool(const QString& path, QString* error)> writeSpectrum;
    std::function<bool(const QString& path, QString* error)> writeDiagram;
};

struct RepeatCycleOutcome {
    int cycle = 0; // 1 for the first cycle of the series
    SeriesRow row;
    EvaluationResults results; // as measured and evaluated in this cycle
    bool rowWritten = false;
    QString writeError;  // why the row could not be appended to the series file
    bool last = false;   // the series has run its course
    QString problemLine; // "Repeat measurement, cycle N: ..." or empty
};

class RepeatCycle {
public:
    // spectrumCurves are the measurement plot's curves, seriesCurves the repeat plot's.
    RepeatCycle(HP4x94A& analyzer, CurveStore& spectrumCurves, CurveStore& seriesCurves,
                DialogInterface& dialogs);

    RepeatCycleSettings settings;
    RepeatCycleHooks hooks;

    // The series' temperature (empty without a thermometer or without a reading); a
    // thermometer that falls silent or answers again gets one log line, not one a reading.
    std::optional<double> readTemperature(RepeatSeriesRun& series);

    // The cycle the schedule has just begun; ends it on the schedule.
    RepeatCycleOutcome run(RepeatSeriesRun& series);

private:
    // One sweep of low..high into curves 3 and 4 (and 1 and 2 with displayCurves) searched
    // over exactly that band; false, with f(min) and f(max) 0, without a resonance or when
    // the operator stopped the sweep.
    bool sweepAndSearch(double low, double high, bool displayCurves, SweepOutcome& outcome);

    HP4x94A& analyzer_;
    CurveStore& spectrum_;
    CurveStore& series_;
    SpectrumAcquisition acquisition_;
    EvaluationResults results_;
};

} // namespace ymt
