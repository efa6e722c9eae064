#include "instrument/simulated/SampleModel.h"

#include <cmath>
#include <numbers>

namespace ymt {

SampleModel DefaultSampleModel() {
    return SampleModel();
}

double BranchInductanceH(const MotionalBranch& branch) {
    const double omega = 2 * std::numbers::pi * branch.seriesResonanceKHz * 1e3;
    return 1.0 / (omega * omega * branch.capacitanceNF * 1e-9);
}

double BranchResistanceOhm(const MotionalBranch& branch) {
    const double omega = 2 * std::numbers::pi * branch.seriesResonanceKHz * 1e3;
    return 1.0 / (omega * branch.capacitanceNF * 1e-9 * branch.qualityFactor);
}

std::complex<double> SampleImpedance(const SampleModel& sample, double frequencyKHz) {
    if (sample.material)
        return MaterialSampleImpedance(*sample.material, frequencyKHz * 1e3);
    const double omega = 2 * std::numbers::pi * frequencyKHz * 1e3;
    const double c0 = sample.clampedCapacitanceNF * 1e-9;
    // A lossy capacitor: Y = omega C0 (tan delta + j).
    std::complex<double> admittance(omega * c0 * sample.lossTangent, omega * c0);
    for (const MotionalBranch& branch : sample.branches) {
        if (branch.seriesResonanceKHz <= 0 || branch.capacitanceNF <= 0 ||
            branch.qualityFactor <= 0)
            continue;
        const double c1 = branch.capacitanceNF * 1e-9;
        const std::complex<double> z(BranchResistanceOhm(branch),
                                     omega * BranchInductanceH(branch) - 1.0 / (omega * c1));
        admittance += 1.0 / z;
    }
    return 1.0 / admittance;
}

ImpedancePolar SampleZTheta(const SampleModel& sample, double frequencyKHz) {
    const std::complex<double> z = SampleImpedance(sample, frequencyKHz);
    return {std::abs(z), std::arg(z) * 180.0 / std::numbers::pi};
}

} // namespace ymt
