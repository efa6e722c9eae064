// The resonance method's relations, checked against a material whose fs and fp are found here by
// searching the roots of each shape's lossless impedance, not by inverting the relations.
#include "evaluation/MaterialConstants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace ymt {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kEps0 = 8.8541878128e-12;

// A soft PZT: compliances m^2/N, charge constants C/N, relative permittivities.
constexpr double kRho = 7750, kSE11 = 16.4e-12, kSE12 = -5.74e-12, kSE33 = 18.8e-12,
                 kSE55 = 47.5e-12, kD31 = -171e-12, kD33 = 374e-12, kD15 = 584e-12, kEps33T = 1700,
                 kEps11T = 1730;

// The sign change of f between a and b.
double root(const std::function<double(double)>& f, double a, double b) {
    const bool low = f(a) > 0;
    for (int i = 0; i < 200; ++i) {
        const double m = (a + b) / 2;
        ((f(m) > 0) == low ? a : b) = m;
    }
    return (a + b) / 2;
}

double value(const MaterialConstantsResult& result, const char* name) {
    const MaterialConstant* c = FindMaterialConstant(result, QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    EXPECT_TRUE(c && c->Value) << name;
    return c && c->Value ? *c->Value : std::nan("");
}

std::vector<MaterialInput> missing(const MaterialConstantsResult& result, const char* name) {
    const MaterialConstant* c = FindMaterialConstant(result, QString::fromLatin1(name));
    EXPECT_NE(c, nullptr) << name;
    EXPECT_TRUE(c && !c->Value) << name;
    return c ? c->Missing : std::vector<MaterialInput>{};
}

#define EXPECT_REL(actual, expected, rel) EXPECT_NEAR(actual, expected, std::fabs(expected) * (rel))

TEST(MaterialConstants, BarGivesBackTheMaterialsTransversalConstants) {
    const double l = 15e-3, w = 3e-3, t = 1e-3;
    const double k31 = -kD31 / std::sqrt(kEps33T * kEps0 * kSE11);
    const double fs = 1 / (2 * l * std::sqrt(kRho * kSE11));
    // Parallel resonance: the admittance (1 - k^2) + k^2 tan(X)/X vanishes, X = (pi/2) f/fs.
    const double xp = root([&](double x) { return (1 - k31 * k31) + k31 * k31 * std::tan(x) / x; },
                           kPi / 2 + 1e-9, kPi - 1e-9);
    MaterialInputs in;
    in.Mode = ModeK31;
    in.FsHz = fs;
    in.FpHz = fs * xp / (kPi / 2);
    in.DensityKgM3 = kRho;
    in.LengthM = l;
    in.WidthM = w;
    in.ThicknessM = t;
    in.FreeCapacitanceF = kEps33T * kEps0 * l * w / t;
    const MaterialConstantsResult r = ComputeMaterialConstants(in);
    EXPECT_REL(value(r, "k31"), k31, 1e-9);
    EXPECT_REL(value(r, "sE11"), kSE11, 1e-12);
    EXPECT_REL(value(r, "sD11"), kSE11 - kD31 * kD31 / (kEps33T * kEps0), 1e-9);
    EXPECT_REL(value(r, "eps33T"), kEps33T, 1e-12);
    EXPECT_REL(value(r, "d31"), kD31, 1e-9);
    EXPECT_REL(value(r, "g31"), -11.36e-3, 1e-3); // hand value: d31 / (1700 eps0)
    EXPECT_REL(value(r, "N"), 1 / (2 * std::sqrt(kRho * kSE11)), 1e-12);
    EXPECT_TRUE(r.Warnings.empty());
}

TEST(MaterialConstants, RodGivesBackTheLongitudinalConstants) {
    const double l = 15e-3, dia = 5e-3, area = kPi * dia * dia / 4;
    const double k33 = kD33 / std::sqrt(kEps33T * kEps0 * kSE33);
    const double sD33 = kSE33 * (1 - k33 * k33);
    const double fp = 1 / (2 * l * std::sqrt(kRho * sD33));
    // Series resonance: 1 - k^2 tan(X)/X = 0 below X = pi/2 (X = (pi/2) f/fp).
    const double xs =
        root([&](double x) { return 1 - k33 * k33 * std::tan(x) / x; }, 1e-6, kPi / 2 - 1e-12);
    MaterialInputs in;
    in.Mode = ModeK33;
    in.FsHz = fp * xs / (kPi / 2);
    in.FpHz = fp;
    in.DensityKgM3 = kRho;
    in.LengthM = l;
    in.DiameterM = dia;
    in.FreeCapacitanceF = kEps33T * kEps0 * area / l;
    const MaterialConstantsResult r = ComputeMaterialConstants(in);
    EXPECT_REL(value(r, "k33"), k33, 1e-9);
    EXPECT_REL(value(r, "sD33"), sD33, 1e-12);
    EXPECT_REL(value(r, "sE33"), kSE33, 1e-9);
    EXPECT_REL(value(r, "eps33T"), kEps33T, 1e-12);
    EXPECT_REL(value(r, "d33"), kD33, 1e-9);
    EXPECT_REL(value(r, "g33"), kD33 / (kEps33T * kEps0), 1e-9);
    EXPECT_TRUE(r.Warnings.empty());

    // A typed end area serves when the diameter is not given.
    in.DiameterM.reset();
    in.AreaM2 = area;
    EXPECT_REL(value(ComputeMaterialConstants(in), "eps33T"), kEps33T, 1e-12);
}

TEST(MaterialConstants, ThicknessAndShearPlatesGiveBackStiffnessesAndPermittivities) {
    const double t = 1e-3, area = 400e-6;
    struct Case {
        int mode;
        double cD, k, eps; // stiffness, coupling, permittivity (clamped for kt, free for k15)
        const char *kName, *cDName, *cEName, *epsName;
    };
    // k15 from the shear constants; kt of a made-up plate (its constants are independent).
    const double k15 = kD15 / std::sqrt(kEps11T * kEps0 * kSE55);
    const Case cases[] = {
        {ModeKt, 15.9e10, 0.49, 830, "kt", "cD33", "cE33", "eps33S"},
        {ModeK15, 1 / kSE55 / (1 - k15 * k15), k15, kEps11T, "k15", "cD55", "cE55", "eps11T"},
    };
    for (const Case& c : cases) {
        const double fp = std::sqrt(c.cD / kRho) / (2 * t);
        const double xs =
            root([&](double x) { return 1 - c.k * c.k * std::tan(x) / x; }, 1e-6, kPi / 2 - 1e-12);
        MaterialInputs in;
        in.Mode = c.mode;
        in.FsHz = fp * xs / (kPi / 2);
        in.FpHz = fp;
        in.DensityKgM3 = kRho;
        in.ThicknessM = t;
        in.AreaM2 = area;
        // The thickness plate's permittivity is the clamped one, from C^S; the shear plate's
        // the free one, from C^T.
        (c.mode == ModeKt ? in.ClampedCapacitanceF : in.FreeCapacitanceF) =
            c.eps * kEps0 * area / t;
        const MaterialConstantsResult r = ComputeMaterialConstants(in);
        EXPECT_REL(value(r, c.kName), c.k, 1e-9);
        EXPECT_REL(value(r, c.cDName), c.cD, 1e-12);
        EXPECT_REL(value(r, c.cEName), c.cD * (1 - c.k * c.k), 1e-9);
        EXPECT_REL(value(r, c.epsName), c.eps, 1e-12);
        EXPECT_REL(value(r, "N"), in.FsHz.value() * t, 1e-12);
        EXPECT_TRUE(r.Warnings.empty());
        if (c.mode == ModeK15) {
            EXPECT_REL(value(r, "sE55"), kSE55, 1e-9);
            EXPECT_REL(value(r, "d15"), kD15, 1e-9);
            EXPECT_REL(value(r, "g15"), kD15 / (kEps11T * kEps0), 1e-9);
        }
    }
}

// The disc's lossless admittance over j w C^T, at x = w a sqrt(rho sE11 (1 - sigma^2)).
double discAdmittance(double x, double kp, double sigma) {
    const double j0 = std::cyl_bessel_j(0.0, x), j1 = std::cyl_bessel_j(1.0, x);
    return (1 - kp * kp) + kp * kp * (1 + sigma) * j1 / (x * j0 - (1 - sigma) * j1);
}

TEST(MaterialConstants, DiscGivesBackPlanarConstantsWithPoissonsRatioFromItsOvertone) {
    const double a = 10e-3, t = 1e-3, sigma = -kSE12 / kSE11;
    const double k31 = -kD31 / std::sqrt(kEps33T * kEps0 * kSE11);
    const double kp = k31 * std::sqrt(2 / (1 - sigma));
    const double scale = a * std::sqrt(kRho * kSE11 * (1 - sigma * sigma)); // x / w
    // Series resonances: the admittance's poles; parallel: its zero above the first pole.
    auto pole = [&](double x) {
        return x * std::cyl_bessel_j(0.0, x) - (1 - sigma) * std::cyl_bessel_j(1.0, x);
    };
    const double x1 = root(pole, 1.5, 3), x2 = root(pole, 4.5, 6);
    const double xp = root([&](double x) { return discAdmittance(x, kp, sigma); }, x1 + 1e-9, 3.8);
    MaterialInputs in;
    in.Mode = ModeKp;
    in.FsHz = x1 / scale / (2 * kPi);
    in.FpHz = xp / scale / (2 * kPi);
    in.SecondRadialFsHz = x2 / scale / (2 * kPi);
    in.DensityKgM3 = kRho;
    in.DiameterM = 2 * a;
    in.ThicknessM = t;
    in.FreeCapacitanceF = kEps33T * kEps0 * kPi * a * a / t;
    const MaterialConstantsResult r = ComputeMaterialConstants(in);
    EXPECT_EQ(r.SigmaSource, PoissonSource::Overtone);
    EXPECT_NEAR(value(r, "sigma"), sigma, 1e-9);
    EXPECT_REL(value(r, "kp"), kp, 1e-8);
    EXPECT_REL(value(r, "sE11"), kSE11, 1e-8);
    EXPECT_REL(value(r, "sE12"), kSE12, 1e-8);
    EXPECT_REL(value(r, "eps33T"), kEps33T, 1e-12);
    EXPECT_REL(value(r, "k31"), k31, 1e-8);
    EXPECT_REL(value(r, "d31"), kD31, 1e-8);
    EXPECT_REL(value(r, "N"), in.FsHz.value() * 2 * a, 1e-12);

    // Without the overtone a typed ratio is used, else 0.31; the elastic constant follows it.
    in.SecondRadialFsHz.reset();
    in.TypedPoissonRatio = sigma;
    const MaterialConstantsResult typed = ComputeMaterialConstants(in);
    EXPECT_EQ(typed.SigmaSource, PoissonSource::Typed);
    EXPECT_REL(value(typed, "sE11"), kSE11, 1e-8);
    in.TypedPoissonRatio.reset();
    const MaterialConstantsResult byDefault = ComputeMaterialConstants(in);
    EXPECT_EQ(byDefault.SigmaSource, PoissonSource::Default);
    EXPECT_DOUBLE_EQ(value(byDefault, "sigma"), 0.31);
    EXPECT_GT(std::fabs(value(byDefault, "sE11") / kSE11 - 1), 1e-3);
    in.TypedPoissonRatio = 0.7;
    EXPECT_EQ(missing(ComputeMaterialConstants(in), "sE11"),
              std::vector<MaterialInput>{MaterialInput::PoissonRatio});
}

TEST(MaterialConstants, DiscRootsMatchTheStandardsTableForPoissonsRatio031) {
    EXPECT_NEAR(*DiscFrequencyRoot(0.31, 1), 2.0551, 1e-4);
    EXPECT_NEAR(*DiscFrequencyRoot(0.31, 2) / *DiscFrequencyRoot(0.31, 1), 2.6234, 1e-4);
    EXPECT_NEAR(*PoissonRatioFromOvertone(2.6234), 0.31, 1e-3);
    // The ratio falls as sigma rises; ratios beyond the physical range give nothing.
    EXPECT_GT(*PoissonRatioFromOvertone(2.70), *PoissonRatioFromOvertone(2.75));
    EXPECT_FALSE(PoissonRatioFromOvertone(2.0));
    EXPECT_FALSE(PoissonRatioFromOvertone(1000.0));
    EXPECT_FALSE(DiscFrequencyRoot(0.5, 1));
    EXPECT_FALSE(DiscFrequencyRoot(0.31, 0));
}

TEST(MaterialConstants, MissingInputsAreNamedPerConstantNeverZero) {
    MaterialInputs in;
    in.Mode = ModeK31;
    in.FsHz = 93e3;
    in.FpHz = 0; // a zero counts as not given
    in.LengthM = 15e-3;
    in.WidthM = 3e-3;
    const MaterialConstantsResult r = ComputeMaterialConstants(in);
    using I = MaterialInput;
    EXPECT_EQ(missing(r, "k31"), std::vector<I>{I::ParallelResonance});
    EXPECT_EQ(missing(r, "sE11"), std::vector<I>{I::Density});
    EXPECT_EQ(missing(r, "eps33T"), (std::vector<I>{I::FreeCapacitance, I::Thickness}));
    EXPECT_EQ(missing(r, "d31"),
              (std::vector<I>{I::ParallelResonance, I::FreeCapacitance, I::Thickness, I::Density}));
    EXPECT_EQ(missing(r, "Qm"), std::vector<I>{I::MotionalBranch});
    EXPECT_REL(value(r, "N"), 93e3 * 15e-3, 1e-12);
    EXPECT_EQ(MaterialInputName(I::FreeCapacitance), QStringLiteral("C^T"));

    // Every mode lists all its constants even with nothing given, each named missing.
    for (int mode = 0; mode < kCouplingModeCount; ++mode) {
        MaterialInputs empty;
        empty.Mode = mode;
        const MaterialConstantsResult none = ComputeMaterialConstants(empty);
        EXPECT_GE(none.Constants.size(), 6u) << mode;
        for (const MaterialConstant& c : none.Constants) {
            if (c.Name == QLatin1String("sigma")) // 0.31 when none is typed
                continue;
            EXPECT_TRUE(!c.Value && !c.Missing.empty()) << mode << " " << c.Name.toStdString();
        }
    }
    MaterialInputs noMode;
    noMode.Mode = -1;
    EXPECT_TRUE(ComputeMaterialConstants(noMode).Constants.empty());
}

TEST(MaterialConstants, PairsOutsideTheModesBranchAreNamedAsSuch) {
    for (int mode = 0; mode < kCouplingModeCount; ++mode) {
        for (double fp : {100e3, 90e3}) {
            MaterialInputs in;
            in.Mode = mode;
            in.FsHz = 100e3;
            in.FpHz = fp;
            EXPECT_EQ(missing(ComputeMaterialConstants(in), ModeName(mode).trimmed().toLatin1()),
                      std::vector<MaterialInput>{MaterialInput::ResonancePair})
                << mode << " " << fp;
        }
    }
    MaterialInputs bar;
    bar.Mode = ModeK31;
    bar.FsHz = 100e3;
    bar.FpHz = 200e3; // beyond the tangent's first branch
    EXPECT_FALSE(FindMaterialConstant(ComputeMaterialConstants(bar), u"k31")->Value);
}

TEST(MaterialConstants, QmFromTheFitsBranchElseFromQ3dB) {
    MaterialInputs in;
    in.Mode = ModeKt;
    in.FsHz = 200e3;
    in.R1Ohm = 5;
    in.C1F = 0.3e-9;
    in.Q3dB = 80;
    // Hand value: 1 / (2 pi 200e3 5 0.3e-9) = 530.5
    EXPECT_NEAR(value(ComputeMaterialConstants(in), "Qm"), 530.5, 0.1);
    in.C1F.reset();
    EXPECT_DOUBLE_EQ(value(ComputeMaterialConstants(in), "Qm"), 80);
}

TEST(MaterialConstants, SizeConditionsAreWarnings) {
    MaterialInputs bar;
    bar.Mode = ModeK31;
    bar.LengthM = 8e-3;
    bar.WidthM = 3e-3;
    bar.ThicknessM = 1.5e-3;
    const MaterialConstantsResult r = ComputeMaterialConstants(bar);
    ASSERT_EQ(r.Warnings.size(), 2u);
    EXPECT_EQ(r.Warnings[0].Condition, SizeCondition::BarShorterThan3_5Widths);
    EXPECT_EQ(SizeWarningText(r.Warnings[0]),
              QStringLiteral("bar shorter than 3.5 widths (l/w = 2.67)"));
    EXPECT_EQ(r.Warnings[1].Condition, SizeCondition::BarNarrowerThan3Thicknesses);

    struct Case {
        int mode;
        std::optional<double> MaterialInputs::*size;
        double below, fulfilled;
        SizeCondition condition;
    };
    for (const Case& c : {Case{ModeK33, &MaterialInputs::DiameterM, 7e-3, 5.9e-3,
                               SizeCondition::RodShorterThan2_5Diameters},
                          Case{ModeKt, &MaterialInputs::AreaM2, 81e-6, 101e-6,
                               SizeCondition::PlateNarrowerThan10Thicknesses},
                          Case{ModeKp, &MaterialInputs::DiameterM, 9e-3, 10.1e-3,
                               SizeCondition::DiscNarrowerThan10Thicknesses}}) {
        MaterialInputs in;
        in.Mode = c.mode;
        in.LengthM = 15e-3;
        in.ThicknessM = 1e-3;
        in.*c.size = c.below;
        const MaterialConstantsResult w = ComputeMaterialConstants(in);
        ASSERT_EQ(w.Warnings.size(), 1u) << c.mode;
        EXPECT_EQ(w.Warnings[0].Condition, c.condition);
        in.*c.size = c.fulfilled; // just inside the condition
        EXPECT_TRUE(ComputeMaterialConstants(in).Warnings.empty()) << c.mode;
    }
}

} // namespace
} // namespace ymt
