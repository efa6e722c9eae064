// The Butterworth-Van Dyke circuit (C0 in parallel with R1-L1-C1) fitted to the complex
// impedance of the displayed window by Levenberg-Marquardt: fs, fp, Qm and k(eff) to a precision
// far below one grid step. Pure functions over the measured points; the window shows the result.
#pragma once

#include "plot/curves/CurveStore.h"

#include <QString>

#include <complex>
#include <optional>
#include <vector>

namespace ymt {

// One measured point: frequency in kHz, |Z| in ohm, theta in degrees.
struct ImpedancePoint {
    double FrequencyKHz = 0;
    double MagnitudeOhm = 0;
    double ThetaDeg = 0;
};

// The circuit in SI units: farad, ohm, henry. C0 carries a frequency-independent loss tangent:
// every ceramic has one, and left out of the fit its loss would be charged to R1 (Qm of the
// default sample 8 % low).
struct ButterworthVanDyke {
    double C0 = 0;
    double R1 = 0;
    double L1 = 0;
    double C1 = 0;
    double LossTangent = 0; // of C0: Y0 = w C0 (tan delta + j)
};

std::complex<double> CircuitImpedance(const ButterworthVanDyke& circuit, double frequencyKHz);

struct EquivalentCircuit {
    ButterworthVanDyke Circuit;
    double SeriesResonanceKHz = 0;   // fs = 1/(2 pi sqrt(L1 C1))
    double ParallelResonanceKHz = 0; // fp = fs sqrt(1 + C1/C0)
    double QualityFactor = 0;        // Qm = 1/(2 pi fs R1 C1)
    double CouplingFactor = 0;       // k(eff) = sqrt(1 - (fs/fp)^2), a fraction
    double RelativeRms = 0;          // RMS of |Z_fit - Z| / |Z| over the points, a fraction
    int Points = 0;
};

// The derived quantities of a circuit; RelativeRms and Points stay 0.
EquivalentCircuit DescribeCircuit(const ButterworthVanDyke& circuit);

enum class FitRefusal { TooFewPoints, NoResonance, NotConverged, PoorFit };

struct FitOutcome {
    std::optional<EquivalentCircuit> Fit;
    FitRefusal Refusal = FitRefusal::NotConverged; // meaningful only without Fit
    QString Message;                               // the operator's text of the refusal
};

inline constexpr int kMinimumFitPoints = 8;
// A fit that leaves more than this relative RMS residual does not describe one resonance.
inline constexpr double kMaximumFitRms = 0.05;

// The points of curves 3 and 4 strictly inside the window (windowMin < f < windowMax), in the
// curves' order; points with a |Z| that is not positive and finite are left out.
std::vector<ImpedancePoint> PointsInWindow(const CurveStore& store, double windowMin,
                                           double windowMax);

// Fits the circuit to the points (ascending frequency). Refuses, with a message, fewer than
// kMinimumFitPoints points, a window whose |Z| minimum or maximum above it lies on its edge (no
// resonance), a fit that does not converge, and one whose residual exceeds kMaximumFitRms.
FitOutcome FitEquivalentCircuit(const std::vector<ImpedancePoint>& points);

// Starting values taken from the spectrum itself: fs and fp at the |Z| extremes, C0 from the
// capacitance far from the resonance, R1 from |Z| at f(min). Empty without a resonance.
std::optional<ButterworthVanDyke> StartingCircuit(const std::vector<ImpedancePoint>& points);

} // namespace ymt
