// Constants -> simulated spectrum -> resonance method -> constants: for each of the five shapes
// made of one soft PZT, fs and fp are taken from the extremes of |Z| (a fine search), C^T from the
// capacitance far below the resonance, and the relations must give the material back.
#include "evaluation/MaterialConstants.h"
#include "instrument/simulated/MaterialSample.h"
#include "tests/support/MaterialSamples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace ymt {
namespace {

constexpr double kPi = std::numbers::pi;
using test::kEps0;

struct Shape {
    SampleShape shape;
    int mode;
    double lo, hi; // Hz: holds the fundamental's minimum and maximum, and no overtone
};
const Shape kShapes[] = {
    {SampleShape::Bar, ModeK31, 50e3, 150e3},
    {SampleShape::Rod, ModeK33, 60e3, 200e3},
    {SampleShape::ThicknessPlate, ModeKt, 1e6, 3e6},
    {SampleShape::ShearPlate, ModeK15, 0.5e6, 1.5e6},
    {SampleShape::Disc, ModeKp, 50e3, 160e3},
};

// What a lab would measure on the simulated sample.
MaterialInputs measure(const Shape& shape, const MaterialSample& s) {
    MaterialInputs in;
    in.Mode = shape.mode;
    in.FsHz = test::ImpedanceExtremum(s, shape.lo, shape.hi, -1);
    in.FpHz = test::ImpedanceExtremum(s, shape.lo, shape.hi, +1);
    in.DensityKgM3 = s.material.densityKgM3;
    in.LengthM = s.lengthM;
    in.WidthM = s.widthM;
    in.ThicknessM = s.thicknessM;
    in.DiameterM = s.diameterM;
    in.AreaM2 = s.areaM2;
    in.FreeCapacitanceF = test::CapacitanceAt(s, 100);
    // The thickness plate's clamped capacitance: at twice fp its wave spans one wavelength, and
    // the plate is a plain capacitor of C^S there.
    if (shape.shape == SampleShape::ThicknessPlate)
        in.ClampedCapacitanceF = test::CapacitanceAt(s, 2 * *in.FpHz);
    if (shape.shape == SampleShape::Disc)
        in.SecondRadialFsHz = test::ImpedanceExtremum(s, 2.2 * *in.FsHz, 3.0 * *in.FsHz, -1);
    return in;
}

// The constants each shape gives, as the material holds them (the thickness plate's from the
// 6mm relations of its laterally clamped wave).
std::vector<std::pair<const char*, double>> expected(const MaterialSample& s) {
    const PiezoMaterial& m = s.material;
    const ShapeConstants c = DeriveShapeConstants(s);
    switch (s.shape) {
    case SampleShape::Bar:
        return {{"sE11", m.sE11},
                {"k31", c.coupling},
                {"d31", m.d31},
                {"eps33T", m.eps33T},
                {"g31", m.d31 / (m.eps33T * kEps0)}};
    case SampleShape::Rod:
        return {{"sE33", m.sE33},
                {"sD33", c.elastic},
                {"k33", c.coupling},
                {"d33", m.d33},
                {"eps33T", m.eps33T}};
    case SampleShape::ThicknessPlate:
        return {{"cD33", c.elastic}, {"kt", c.coupling}, {"eps33S", c.permittivity}};
    case SampleShape::ShearPlate:
        return {{"sE55", m.sE55}, {"k15", c.coupling}, {"d15", m.d15}, {"eps11T", m.eps11T}};
    case SampleShape::Disc:
        return {{"sE11", m.sE11},   {"sE12", m.sE12}, {"sigma", -m.sE12 / m.sE11},
                {"kp", c.coupling}, {"d31", m.d31},   {"eps33T", m.eps33T}};
    }
    return {};
}

enum class Kind { Elastic, Piezoelectric, Dielectric }; // sE.. cD..; k.. d.. g.. sigma; eps..

Kind kindOf(const char* name) {
    return name[0] == 'e'                                         ? Kind::Dielectric
           : (name[0] == 's' && name[1] != 'i') || name[0] == 'c' ? Kind::Elastic
                                                                  : Kind::Piezoelectric;
}

// Largest relative deviation of the constants of that kind the relations give back.
double worstDeviation(const Shape& shape, const PiezoMaterial& m, Kind kind) {
    const MaterialSample s = test::SampleOf(shape.shape, m);
    const MaterialConstantsResult r = ComputeMaterialConstants(measure(shape, s));
    double worst = 0;
    for (const auto& [name, value] : expected(s)) {
        if (kindOf(name) != kind)
            continue;
        const MaterialConstant* c = FindMaterialConstant(r, QString::fromLatin1(name));
        EXPECT_TRUE(c && c->Value) << name;
        if (c && c->Value)
            worst = std::max(worst, std::fabs(*c->Value / value - 1));
    }
    return worst;
}

TEST(MaterialRoundTrip, NearlyLosslessSamplesGiveTheirConstantsBack) {
    const PiezoMaterial m = test::SoftPzt(1e6, 0);
    for (const Shape& shape : kShapes)
        for (Kind kind : {Kind::Elastic, Kind::Piezoelectric, Kind::Dielectric})
            EXPECT_LT(worstDeviation(shape, m, kind), 1e-6) << int(shape.shape) << int(kind);
}

TEST(MaterialRoundTrip, SoftPztWithItsLossesFromTheExtremesOfZ) {
    // With Qm = 80 and tand = 0.02, f(min) and f(max) lie off fs and fp; these are the
    // tolerances README states for constants from the extremes of |Z| (not from a fit). The
    // disc's sE12 and sigma come from its overtone, whose extremes move the most.
    const PiezoMaterial m = test::SoftPzt(80, 0.02);
    const double elastic[] = {2e-3, 1e-3, 1e-3, 1e-3, 2.5e-2}; // the disc: sE11 7e-3, sE12 2e-2
    const double piezoelectric[] = {2e-2, 1e-3, 3e-3, 1e-3, 2e-2};
    for (const Shape& shape : kShapes) {
        const int i = int(&shape - kShapes);
        EXPECT_LT(worstDeviation(shape, m, Kind::Elastic), elastic[i]) << i;
        EXPECT_LT(worstDeviation(shape, m, Kind::Piezoelectric), piezoelectric[i]) << i;
        EXPECT_LT(worstDeviation(shape, m, Kind::Dielectric), 1e-4) << i;
    }
}

} // namespace
} // namespace ymt
