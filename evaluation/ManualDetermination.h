// The manual coupling-factor determination ("Coupling Factor Manual" and the two left clicks
// on the measurement plot), as state transitions the window applies to its own fields.
// Converting the click's pixel to a frequency and ruecksetzen stay with the plot.
#pragma once

#include "evaluation/EvaluationMessage.h"
#include "evaluation/EvaluationResults.h"
#include "evaluation/ResonanceEvaluation.h"
#include "plot/curves/CurveStore.h"

#include <QString>

#include <optional>

namespace ymt {

// The window's pick and overlay fields (all false/0/empty at start-up).
struct ManualPickState {
    bool AwaitMinClick = false;
    bool AwaitMaxClick = false;
    double MinMarker = 0; // kHz
    double MaxMarker = 0; // kHz
    bool ShowMarkers = false;
    QString PlotPrompt; // empty when nothing is awaited
};

// Index of the point of curve 3 whose frequency is nearest to f; the first of equally near
// points wins. -1 when the curve is empty (or every point is 1e10 kHz or more away).
int NearestPointIndex(const CurveStore& store, double f);

struct ManualStartOutcome {
    // "No measurement data!" (error, OK) with an empty curve 3; State is then unchanged.
    std::optional<EvaluationMessage> Error;
    ManualPickState State;
    // Otherwise: select the display pair "|Z| - theta" (list position 0), recompute the
    // display curves, apply State and draw the overlay at once.
    bool SelectImpedancePair = false;
};
// "Coupling Factor Manual" (Button9Click); restarts from any state.
ManualStartOutcome StartManualDetermination(const CurveStore& store,
                                            const ManualPickState& current);

struct MinClickOutcome {
    ManualPickState State;
    ResultValue FMin; // the clicked frequency, 3 decimals, for the "f(min)" value label
};
// The f(min) click (while AwaitMinClick): frequency f of the released mouse position.
MinClickOutcome ManualMinClick(const ManualPickState& current, double f);

struct MaxClickOutcome {
    ManualPickState State; // AwaitMaxClick cleared, MaxMarker set, prompt cleared
    PassOutcome Pass;      // the evaluation pass; then the window runs ruecksetzen
};
// The f(max) click (while AwaitMaxClick). Both clicks snap to their nearest points of curve 3:
// the lower-frequency one gives FMin, ZMin and IndexMin (Rs), the higher one FMax, ZMax and
// IndexMax, which the pass uses for its point-count check and for D. The coupling factors
// use the two clicked frequencies: koppelfaktor(MaxMarker, MinMarker). Mode, thresholds and
// the other switches come from `inputs`; its FA and FB are ignored.
MaxClickOutcome ManualMaxClick(const CurveStore& store, const ManualPickState& current,
                               const EvaluationResults& results, double f, PassInputs inputs);

} // namespace ymt
