// Shared by the tests of the samples made of a material: the soft PZT of the sicl.conf example,
// and the independent readings a test takes of a sample's impedance (its extremes, its
// capacitance).
#pragma once

#include "instrument/simulated/MaterialSample.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ymt::test {

inline constexpr double kEps0 = 8.8541878128e-12;

// Nearly lossless by default, so that the extremes of |Z| sit at fs and fp.
inline PiezoMaterial SoftPzt(double qm = 1e7, double tand = 0) {
    PiezoMaterial m;
    m.densityKgM3 = 7750;
    m.sE11 = 16.4e-12;
    m.sE12 = -5.74e-12;
    m.sE13 = -7.22e-12;
    m.sE33 = 18.8e-12;
    m.sE55 = 47.5e-12;
    m.d31 = -171e-12;
    m.d33 = 374e-12;
    m.d15 = 584e-12;
    m.eps11T = 1730;
    m.eps33T = 1700;
    m.qm = qm;
    m.lossTangent = tand;
    return m;
}

// The dimensions the material tests use: bar 15 x 3 x 1 mm, rod 15 x 5 mm, plates 1 mm x 400 mm^2,
// disc 20 x 1 mm.
inline MaterialSample SampleOf(SampleShape shape, const PiezoMaterial& m = SoftPzt()) {
    MaterialSample s;
    s.shape = shape;
    s.lengthM = 15e-3;
    s.widthM = 3e-3;
    s.thicknessM = 1e-3;
    s.diameterM = shape == SampleShape::Disc ? 20e-3 : 5e-3;
    s.areaM2 = 400e-6;
    s.material = m;
    return s;
}

// The frequency of the smallest (sign -1) or largest (+1) |Z| within lo..hi: a grid of N steps,
// then a golden-section refinement.
inline double ImpedanceExtremum(const MaterialSample& s, double lo, double hi, int sign,
                                int n = 4000) {
    auto f = [&](double hz) { return -sign * std::abs(MaterialSampleImpedance(s, hz)); };
    int best = 0;
    for (int i = 1; i <= n; ++i)
        if (f(lo + (hi - lo) * i / n) < f(lo + (hi - lo) * best / n))
            best = i;
    double a = lo + (hi - lo) * std::max(best - 1, 0) / n;
    double b = lo + (hi - lo) * std::min(best + 1, n) / n;
    const double g = (std::sqrt(5.0) - 1) / 2;
    for (int i = 0; i < 200; ++i) {
        const double c = b - g * (b - a), d = a + g * (b - a);
        if (f(c) < f(d))
            b = d;
        else
            a = c;
    }
    return (a + b) / 2;
}

// The capacitance the sample shows at HZ: Im(Y) / omega.
inline double CapacitanceAt(const MaterialSample& s, double hz) {
    return (1.0 / MaterialSampleImpedance(s, hz)).imag() / (2 * std::numbers::pi * hz);
}

} // namespace ymt::test
