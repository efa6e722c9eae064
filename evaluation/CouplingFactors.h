// Coupling factors from the resonance pair: k(eff) and the five vibration-mode formulas, the
// mode names and the captions that follow the mode selector (ComboBox4).
#pragma once

#include "evaluation/EvaluationResults.h"

#include <QString>

namespace ymt {

// Positions of the mode selector; -1 (or anything outside 0..4) means nothing is selected.
enum CouplingMode : int { ModeK31 = 0, ModeK33 = 1, ModeKt = 2, ModeK15 = 3, ModeKp = 4 };
inline constexpr int kCouplingModeCount = 5;
inline constexpr int kDefaultCouplingMode = ModeKt;

// "k31", "k33", "kt ", "k15", "kp " (note the trailing blanks); empty outside 0..4.
QString ModeName(int position);
// The selector's items: "k31 - Transversal Mode" ... "kp  - Planar Mode".
QString ModeListItem(int position);

struct CouplingFactorValues {
    double KEff = 0;  // %
    double KMode = 0; // %
};

// The coupling-factor step of the evaluation pass, for a valid pair with fA >= fB (kHz; fA the
// antiresonance f(max), fB the resonance f(min)). Computed in long double. A result that is not
// a finite number strictly between 0 and 100 % is left 0 (shown as "---"); so is every result
// when fB is not above 0 (no resonance at a non-positive frequency). k31 is 0 for fA/fB >= 2,
// where its formula reaches 100 %, has no real root, or wraps round the tangent's period.
CouplingFactorValues ComputeCouplingFactors(double fA, double fB, int modePosition);

// What ComboBox4Change writes and triggers for a newly selected position.
struct ModeChangeOutcome {
    QString ModeName;
    QString ModeValueCaption;     // caption beside the mode value on "Measurement": "k31       [%]"
    QString SampleQcCaption;      // quality-control caption on "Sample": "k31[%]"
    QString MeasurementQcCaption; // quality-control caption on "Measurement": "k31"
    // Run koppelfaktor(results.FMax, results.FMin) when FMax != FMin.
    bool RunPass = false;
    // Hooks of the protocol: mark its header changed and forget the value remembered for
    // "On C measurement" protocolling (set it to 0). Always set.
    bool MarkProtocolHeaderChanged = true;
    bool ResetCProtocolValue = true;
};
ModeChangeOutcome ModeChange(int position, const EvaluationResults& results);

} // namespace ymt
