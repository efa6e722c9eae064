// The piezoelectric sample of the simulated analyzers (Butterworth-Van Dyke model): a clamped
// capacitance C0 with a frequency-independent loss tangent, in parallel with motional branches
// R1-L1-C1. Plain functions, so that tests can compute expected readings on their own.
#pragma once

#include "instrument/simulated/MaterialSample.h"

#include <complex>
#include <optional>
#include <vector>

namespace ymt {

struct MotionalBranch {
    double seriesResonanceKHz = 0; // fs
    double capacitanceNF = 0;      // C1
    double qualityFactor = 0;      // Qm
};

struct SampleModel {
    double clampedCapacitanceNF = 1.50; // C0
    double lossTangent = 0.002;         // tan delta of C0
    std::vector<MotionalBranch> branches{{200.0, 0.30, 500.0}, {2000.0, 0.10, 300.0}};
    // A sample made of a material answers in place of C0 and the branches.
    std::optional<MaterialSample> material;
};

// The default sample: C0 = 1.50 nF, tan delta = 0.002, branches at 200 kHz and 2000 kHz.
SampleModel DefaultSampleModel();

// L1 = 1/((2 pi fs)^2 C1) in henry, R1 = 1/(2 pi fs C1 Qm) in ohm.
double BranchInductanceH(const MotionalBranch& branch);
double BranchResistanceOhm(const MotionalBranch& branch);

// Complex impedance in ohm at f (kHz). Defined for f > 0.
std::complex<double> SampleImpedance(const SampleModel& sample, double frequencyKHz);

struct ImpedancePolar {
    double magnitudeOhm = 0; // |Z|
    double thetaDeg = 0;     // phase of Z in degrees
};

ImpedancePolar SampleZTheta(const SampleModel& sample, double frequencyKHz);

} // namespace ymt
