// The resonance search (getminmax) and the evaluation pass (koppelfaktor) over curve 3 of the
// measurement plot: f(min), f(max), Rs, the 3 dB band, Q, D [delta lgR] and the coupling
// factors, with the results as the labels show them. Pure functions: the window reads its controls,
// calls these and writes labels, markers and message boxes back.
#pragma once

#include "evaluation/EvaluationMessage.h"
#include "evaluation/EvaluationResults.h"
#include "evaluation/ResultsSnapshot.h"
#include "plot/curves/CurveStore.h"

#include <QString>

#include <optional>

namespace ymt {

inline constexpr int kImpedanceCurve = 3; // |Z| in ohm over f in kHz
inline constexpr int kPhaseCurve = 4;     // theta in degrees over the same frequencies

// Searches curve 3 for the smallest |Z| and then, at and above it, the largest |Z|, taking
// only points strictly inside the displayed window (windowMin < f < windowMax, the XAxis
// bounds). Among equal extremes the last (highest index) wins. Sets FMin, FMax, ZMin, ZMax,
// IndexMin, IndexMax and returns |IndexMax - IndexMin|, the point steps between them.
// When no point lies strictly inside the window (empty curve included) the record is left
// exactly as it was and -1 is returned: callers report "No Data!" or skip the pass.
int getminmax(const CurveStore& store, double windowMin, double windowMax,
              EvaluationResults& results);

// The 3 dB band around IndexMin on all points of curve 3 at level ZMin * sqrt(2).
// B3dB = fU - fL and Q3dB = FMin / B3dB when the lower edge lies above index 0 and more than
// qThreshold steps separate the edges; otherwise both 0. Never non-finite.
struct ThreeDbBand {
    double B3dB = 0;
    double Q3dB = 0;
};
ThreeDbBand EvaluateThreeDbBand(const CurveStore& store, const EvaluationResults& results,
                                int qThreshold);

// What the window reads from its controls for one pass.
struct PassInputs {
    double FA = 0;         // taken as f(max), kHz
    double FB = 0;         // taken as f(min), kHz
    int ModePosition = -1; // mode selector position (0..4), -1 when none is selected
    QString CouplingThresholdText = QStringLiteral("20"); // "Coupling Factors" (Edit48)
    QString QThresholdText = QStringLiteral("20");        // "Figure of Merit Q(3dB)" (Edit49)
    bool RepeatTimerRunning = false;                      // suppresses the message box
    bool AutomaticProtocolling = false;                   // check box on tab "Protocol"
};

struct PassOutcome {
    EvaluationResults Results; // the record after the pass (KEff, KMode, B3dB, Q3dB updated)
    // The eight results the pass shows: FMin, FMax, Rs, Q3dB, B3dB, DeltaLgR, KEff, KMode.
    ShownResults Shown;
    // Error box (OK) for an invalid pair; never set while the repeat timer runs.
    std::optional<EvaluationMessage> Message;
    bool ShowMarkers = true;         // the pass always turns the markers on
    bool RunAddMeasuredData = false; // hook: "Add Measured Data" (automatic protocolling)
    bool RunQControl = true;         // hook: quality control, after the protocol line
};

// The evaluation pass. Reads ZMin, ZMax, FMin, IndexMin, IndexMax of `results` as the search
// (or the manual determination) left them. The pair is valid when FA != FB and the coupling
// threshold is below IndexMax - IndexMin; only then are FA and FB put in order (which also
// swaps the two frequency labels) and the coupling factors computed. Band, Rs and D are
// evaluated for every pass. Both thresholds are read with ThresholdValue (Thresholds.h). No
// label ever holds a non-finite number. Does not set MinMarker or MaxMarker.
// The window then: shows Message (if any), stores Results, shows the eight results, sets
// ShowMarkers, runs "Add Measured Data" if RunAddMeasuredData, then qcontrol.
PassOutcome koppelfaktor(const CurveStore& store, const EvaluationResults& results,
                         const PassInputs& inputs);

} // namespace ymt
