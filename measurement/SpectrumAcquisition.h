// Spectrum acquisition without widgets: the sweeps of "Read New Spectrum" and "Read More
// Points" into the spectrum's curves, the spot measurement of C, tand and eps(rel), and the one
// sweep routine the repeat series shares with them. What went wrong is returned as log lines
// and failures; the window shows them, the plot prompt and the progress.
//
//   SpectrumAcquisition acquisition(analyzer, store, dialogs);
//   acquisition.pointsPerRange = 401;
//   const AcquisitionRun run = acquisition.readNewSpectrum(ranges);
//   for (const QString& line : acquisition.takeNotes().log) ...
#pragma once

#include "evaluation/Capacitance.h"
#include "instrument/analyzer/HP4x94A.h"
#include "measurement/FrequencyRanges.h"
#include "plot/curves/CurveStore.h"
#include "plot/curves/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace ymt {

// What one sweep brought back.
struct SweepOutcome {
    bool stopped = false; // the operator ended the wait: nothing was stored
    int points = 0;       // stored: those that came back, at most the points per range
    int expected = 0;     // the points per range
};

// What a sequence of sweeps did: stopped by the operator, and the points it stored.
struct AcquisitionRun {
    bool stopped = false;
    int pointsStored = 0;
};

// The spot measurement at one frequency. Without a reading every value is 0 ("---").
struct SpotOutcome {
    bool stopped = false;
    int read = 0;      // readings that came back
    int requested = 0; // readings asked for (at most a trace)
    double zAvg = 0;
    double thetaAvg = 0;
    double capNF = 0;
    double tanD = 0;
    double epsRel = 0;
};

// The lines for the log, in order, and the analyzer failures among them, which the window
// shows together once the operation ends.
struct AcquisitionNotes {
    QStringList log;
    QStringList failures;
};

// The spot frequency as "Frequency [kHz]" gives it: not above 0 is 1 kHz, limited to the
// analyzer's span and taken as the field shows it (whole Hz, as both analyzers are sent it).
double SpotFrequencyOf(const QString& fieldText, double analyzerMin, double analyzerMax);

class SpectrumAcquisition {
public:
    SpectrumAcquisition(HP4x94A& analyzer, CurveStore& store, DialogInterface& dialogs);

    // Plain values of the window, current when an operation starts.
    int pointsPerRange = 401;
    double analyzerMin = 0.04; // kHz
    double analyzerMax = 110000;
    // Called before each sweep with the plot prompt and the progress text.
    std::function<void(const QString& prompt, const QString& progress)> sweepStarting;

    // One sweep of start..stop (kHz, either order) on the grid, the points that came back
    // appended to curves 3 and 4; with replace, the curves are emptied first (once the
    // analyzer has measured). Without setRange the analyzer sweeps the range it holds.
    SweepOutcome sweep(double start, double stop, bool setRange, bool replace = false);

    // "Read New Spectrum": the checked ranges, each limited to the span (one outside it is
    // skipped with a log line). Without a checked range the operator is asked whether the
    // whole span is to be swept. Ends at the first stopped sweep.
    AcquisitionRun readNewSpectrum(const QList<SweepRange>& ranges);
    // "Read More Points": one sweep of the range the analyzer holds, given the frequencies of
    // rangeStart..rangeStop.
    AcquisitionRun readMorePoints(double rangeStart, double rangeStop);
    // The spot measurement of n readings at frequency (kHz) for a sample of the given
    // electrode distance (mm) and area (mm²); with noteFailures, missing readings are noted.
    SpotOutcome measureSpot(double frequency, int readings, double distanceMm, double areaMm2,
                            bool noteFailures = true);

    AcquisitionNotes takeNotes();

private:
    bool connected() const { return analyzer_.AnalyzerHandle != 0; }
    // A sweep of the window: its prompt and progress shown, a short or lost trace noted.
    SweepOutcome sweepNoted(const QString& prompt, const QString& progress, double start,
                            double stop, bool setRange, const QString& what);
    void noteFailure(const QString& text);

    HP4x94A& analyzer_;
    CurveStore& store_;
    DialogInterface& dialogs_;
    AcquisitionNotes notes_;
};

} // namespace ymt
