// The 21 display pairs of the measurement plot: the quantities derived from |Z| and theta,
// their names, units, axis titles and log-box captions, and the rebuilding of curves 1 and 2
// from curves 3 and 4 (ComboBox1Change).
#pragma once

#include "evaluation/SampleDescription.h"
#include "plot/curves/CurveStore.h"

#include <QString>
#include <QStringList>

namespace ymt {

// DisplayCode = list position + 1; 1 ("|Z| - theta") at start-up.
inline constexpr int kDisplayPairCount = 21;
inline constexpr int kImpedanceThetaPair = 1;
inline constexpr int kPermittivityPair = 21;

// Vacuum permittivity in F/mm, as the permittivity pair uses it.
inline constexpr double kEpsilon0PerMm = 8.85e-15;

enum class DisplayQuantity {
    AbsZ,          // |Z|, Ohm
    Theta,         // theta as stored, °
    NegativeTheta, // -theta, °
    Rs,            // Z C, Ohm
    X,             // Z S, Ohm
    Ls,            // Z S / w * 1000, mH
    Cs,            // -1 / (w Z S) * 1e9, nF
    AbsY,          // 1 / Z, S
    G,             // |C / Z|, S
    B,             // -S / Z, S
    Lp,            // Z / S / w * 1000, mH
    Cp,            // -S / (w Z) * 1e9, nF
    Rp,            // Z / C, Ohm
    Q,             // |S / C|
    D,             // |C / S|
    EpsReal,       // -S d / (w e0 A Z)
    EpsImag        // C d / (w e0 A Z)
};

// The inputs of one point: every one of Z, w, S and C that is exactly 0 has become 1e-300.
// S and C come from the measured theta, so theta = 0 gives S = 1e-300 (and D = 1e300).
struct PointTerms {
    double Z = 0;     // |Z|, ohm
    double Theta = 0; // degrees, as stored in curve 4 (after its own zero replacement)
    double W = 0;     // angular frequency, 1/s
    double S = 0;     // sin(theta)
    double C = 0;     // cos(theta)
};
PointTerms TermsOfPoint(double fKHz, double z, double thetaDegrees);
// d in mm and A in mm² are used only by the permittivity quantities.
double QuantityValue(DisplayQuantity quantity, const PointTerms& terms, double d, double area);

struct DisplayPairInfo {
    QString ListText; // the list entry, e.g. "|Z| - theta"
    DisplayQuantity First;
    DisplayQuantity Second;
    QString FirstName; // at most 5 characters each
    QString FirstUnit;
    QString SecondName;
    QString SecondUnit;
};
// Codes outside 1..21 are read as 1.
DisplayPairInfo DisplayPair(int displayCode);
QStringList DisplayPairListItems();

// Texts that follow the selection: YAxis title "name [unit]", Y2Axis title likewise, and the
// captions of "|Z| logarithmic" (CheckBox1) and "theta logarithmic" (CheckBox2), "name log".
struct DisplayPairTexts {
    QString YAxisTitle;
    QString Y2AxisTitle;
    QString LeftLogCaption;
    QString RightLogCaption;
};
DisplayPairTexts DisplayPairCaptions(int displayCode);

// The code SelectFunction of the analyzer layer receives is DisplayCode itself; the analyzer
// shows the same function for 21 as for 1. This is that function's pair, for reference.
int AnalyzerFunctionPair(int displayCode);

// Steps 1 and 4 of ComboBox1Change: empties curves 1 and 2 and refills them point by point
// from curves 3 and 4 (curve 1: first quantity, curve 2: second, at the point's frequency).
// An |Z| or theta that is exactly 0 is overwritten with 1e-300 in curves 3 and 4 (bounds left
// as they are). The permittivity pair adds points only when ElectrodeArea > 0. A code outside
// 1..21 changes nothing and returns false. The window then applies the titles and captions,
// sends SelectFunction(displayCode) and re-applies the zoom before and after (repaint once).
bool RebuildDisplayCurves(CurveStore& store, int displayCode, const SampleDescription& sample);

} // namespace ymt
