// The relations of the resonance method for the five modes of the coupling factors.
#include "evaluation/MaterialConstants.h"

#include "core/TextCatalogue.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ymt {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kFirstZeroOfJ1 = 3.8317059702075123;

// A value on its way through the relations, or the inputs that keep it from being known.
struct Term {
    double v = 0;
    std::vector<MaterialInput> missing;
    bool known() const { return missing.empty(); }
};

void merge(std::vector<MaterialInput>& into, const std::vector<MaterialInput>& from) {
    for (MaterialInput input : from)
        if (std::find(into.begin(), into.end(), input) == into.end())
            into.push_back(input);
}

Term given(const std::optional<double>& value, MaterialInput input) {
    if (value && std::isfinite(*value) && *value > 0)
        return {*value, {}};
    return {0, {input}};
}

Term invalid(MaterialInput input) {
    return {0, {input}};
}

template <class F, class... T> Term apply(F f, const T&... terms) {
    Term out;
    (merge(out.missing, terms.missing), ...);
    if (out.known())
        out.v = f(terms.v...);
    return out;
}

// The resonance pair; fp must lie above fs.
Term pairOf(const Term& fs, const Term& fp, double (*root)(double, double)) {
    Term out = apply([](double, double) { return 0.0; }, fs, fp);
    if (!out.known())
        return out;
    const double k = fp.v > fs.v ? root(fs.v, fp.v) : std::nan("");
    if (!(std::isfinite(k) && k > 0 && k < 1))
        return invalid(MaterialInput::ResonancePair);
    out.v = k;
    return out;
}

// k31 of the bar: k^2/(1-k^2) = (pi/2)(fp/fs) tan((pi/2)(fp-fs)/fs), on the tangent's first
// branch only (fp < 2 fs).
double barCoupling(double fs, double fp) {
    if (!(fp < 2 * fs))
        return std::nan("");
    const double q = kPi / 2 * fp / fs * std::tan(kPi / 2 * (fp - fs) / fs);
    return std::sqrt(q / (1 + q));
}

// k33, kt and k15: k^2 = (pi/2)(fs/fp) tan((pi/2)(fp-fs)/fp).
double thicknessCoupling(double fs, double fp) {
    return std::sqrt(kPi / 2 * fs / fp * std::tan(kPi / 2 * (fp - fs) / fp));
}

double discRootFunction(double eta, double sigma) {
    return eta * std::cyl_bessel_j(0.0, eta) - (1 - sigma) * std::cyl_bessel_j(1.0, eta);
}

bool poissonInRange(double sigma) {
    return std::isfinite(sigma) && sigma > -1 && sigma < 0.5;
}

// kp from fp/fs at the disc's eta1: kp^2/(1-kp^2) = [(1-s) J1(x) - x J0(x)] / [(1+s) J1(x)].
double discCoupling(double ratio, double sigma, double eta1) {
    const double x = eta1 * ratio;
    if (!(x < kFirstZeroOfJ1))
        return std::nan("");
    const double j0 = std::cyl_bessel_j(0.0, x), j1 = std::cyl_bessel_j(1.0, x);
    const double q = ((1 - sigma) * j1 - x * j0) / ((1 + sigma) * j1);
    return std::sqrt(q / (1 + q));
}

MaterialConstant constant(const char* name, MaterialUnit unit, const Term& term) {
    MaterialConstant c;
    c.Name = QString::fromLatin1(name);
    c.Unit = unit;
    if (term.known() && std::isfinite(term.v))
        c.Value = term.v;
    else
        c.Missing = term.missing;
    return c;
}

void warnBelow(std::vector<SizeWarning>& warnings, SizeCondition condition, const Term& ratio,
               double limit) {
    if (ratio.known() && ratio.v < limit)
        warnings.push_back({condition, ratio.v, limit});
}

Term qualityFactor(const MaterialInputs& in, const Term& fs) {
    const Term r1 = given(in.R1Ohm, MaterialInput::MotionalBranch);
    const Term c1 = given(in.C1F, MaterialInput::MotionalBranch);
    const Term fromFit =
        apply([](double f, double r, double c) { return 1 / (2 * kPi * f * r * c); }, fs, r1, c1);
    if (fromFit.known())
        return fromFit;
    return given(in.Q3dB, MaterialInput::MotionalBranch);
}

} // namespace

QString MaterialInputName(MaterialInput input) {
    switch (input) {
    case MaterialInput::SeriesResonance:
        return QStringLiteral("fs");
    case MaterialInput::ParallelResonance:
        return QStringLiteral("fp");
    case MaterialInput::ResonancePair:
        return Text(Txt::MaterialInputFpAboveFs);
    case MaterialInput::Density:
        return Text(Txt::MaterialInputDensity);
    case MaterialInput::Length:
        return Text(Txt::MaterialInputLength);
    case MaterialInput::Width:
        return Text(Txt::MaterialInputWidth);
    case MaterialInput::Thickness:
        return Text(Txt::MaterialInputThickness);
    case MaterialInput::Diameter:
        return Text(Txt::MaterialInputDiameter);
    case MaterialInput::Area:
        return Text(Txt::MaterialInputArea);
    case MaterialInput::FreeCapacitance:
        return QStringLiteral("C^T");
    case MaterialInput::ClampedCapacitance:
        return QStringLiteral("C^S");
    case MaterialInput::PoissonRatio:
        return Text(Txt::MaterialInputPoissonRatio);
    case MaterialInput::MotionalBranch:
        return Text(Txt::MaterialInputMotionalBranch);
    }
    return QString();
}

double CustomaryFactor(MaterialUnit unit) {
    switch (unit) {
    case MaterialUnit::Coupling:
        return 100;
    case MaterialUnit::Compliance:
    case MaterialUnit::ChargeConstant:
        return 1e12;
    case MaterialUnit::Stiffness:
        return 1e-10;
    case MaterialUnit::VoltageConstant:
        return 1e3;
    case MaterialUnit::RelativePermittivity:
    case MaterialUnit::FrequencyConstant:
    case MaterialUnit::Ratio:
        return 1;
    }
    return 1;
}

double SiFactor(MaterialUnit unit) {
    return unit == MaterialUnit::RelativePermittivity ? kVacuumPermittivityFm : 1.0;
}

QString SiUnitText(MaterialUnit unit) {
    switch (unit) {
    case MaterialUnit::Compliance:
        return QStringLiteral("m^2/N");
    case MaterialUnit::Stiffness:
        return QStringLiteral("N/m^2");
    case MaterialUnit::ChargeConstant:
        return QStringLiteral("C/N");
    case MaterialUnit::VoltageConstant:
        return QStringLiteral("V m/N");
    case MaterialUnit::RelativePermittivity:
        return QStringLiteral("F/m");
    case MaterialUnit::FrequencyConstant:
        return QStringLiteral("Hz m");
    case MaterialUnit::Coupling:
    case MaterialUnit::Ratio:
        return QString();
    }
    return QString();
}

QString CustomaryUnitText(MaterialUnit unit) {
    switch (unit) {
    case MaterialUnit::Coupling:
        return QStringLiteral("%");
    case MaterialUnit::Compliance:
        return QStringLiteral("1e-12 m^2/N");
    case MaterialUnit::Stiffness:
        return QStringLiteral("1e10 N/m^2");
    case MaterialUnit::ChargeConstant:
        return QStringLiteral("pC/N");
    case MaterialUnit::VoltageConstant:
        return QStringLiteral("1e-3 V m/N");
    case MaterialUnit::RelativePermittivity:
        return QStringLiteral("eps0");
    case MaterialUnit::FrequencyConstant:
        return QStringLiteral("Hz m");
    case MaterialUnit::Ratio:
        return QString();
    }
    return QString();
}

QString SizeWarningText(const SizeWarning& warning) {
    QString text, ratio;
    switch (warning.Condition) {
    case SizeCondition::BarShorterThan3_5Widths:
        text = Text(Txt::MaterialBarShort);
        ratio = QStringLiteral("l/w");
        break;
    case SizeCondition::BarNarrowerThan3Thicknesses:
        text = Text(Txt::MaterialBarNarrow);
        ratio = QStringLiteral("w/t");
        break;
    case SizeCondition::RodShorterThan2_5Diameters:
        text = Text(Txt::MaterialRodShort);
        ratio = QStringLiteral("l/d");
        break;
    case SizeCondition::PlateNarrowerThan10Thicknesses:
        text = Text(Txt::MaterialPlateNarrow);
        ratio = QStringLiteral("sqrt(A)/t");
        break;
    case SizeCondition::DiscNarrowerThan10Thicknesses:
        text = Text(Txt::MaterialDiscNarrow);
        ratio = QStringLiteral("D/t");
        break;
    }
    return QStringLiteral("%1 (%2 = %3)").arg(text, ratio, QString::number(warning.Ratio, 'f', 2));
}

std::optional<double> DiscFrequencyRoot(double sigma, int n) {
    if (n < 1 || !poissonInRange(sigma))
        return std::nullopt;
    // The function is positive just above 0; the roots lie about pi apart, so a step of 0.05
    // cannot pass over two of them.
    constexpr double step = 0.05;
    double low = step, fLow = discRootFunction(low, sigma);
    int found = 0;
    for (int i = 2; i < 100000; ++i) {
        const double high = i * step, fHigh = discRootFunction(high, sigma);
        if ((fLow > 0) != (fHigh > 0) && ++found == n) {
            double a = low, b = high, fa = fLow;
            for (int j = 0; j < 200 && b - a > 1e-15 * b; ++j) {
                const double m = (a + b) / 2, fm = discRootFunction(m, sigma);
                if ((fm > 0) == (fa > 0)) {
                    a = m;
                    fa = fm;
                } else {
                    b = m;
                }
            }
            return (a + b) / 2;
        }
        low = high;
        fLow = fHigh;
    }
    return std::nullopt;
}

std::optional<double> PoissonRatioFromOvertone(double overtoneRatio) {
    // eta2/eta1 falls as sigma rises: bisect between the ends of the physical range.
    auto ratioAt = [](double sigma) {
        return *DiscFrequencyRoot(sigma, 2) / *DiscFrequencyRoot(sigma, 1);
    };
    double low = -0.999, high = 0.4999;
    if (!std::isfinite(overtoneRatio) || overtoneRatio > ratioAt(low) ||
        overtoneRatio < ratioAt(high))
        return std::nullopt;
    for (int i = 0; i < 60; ++i) {
        const double m = (low + high) / 2;
        (ratioAt(m) > overtoneRatio ? low : high) = m;
    }
    return (low + high) / 2;
}

MaterialConstantsResult ComputeMaterialConstants(const MaterialInputs& in) {
    MaterialConstantsResult result;
    if (in.Mode < 0 || in.Mode >= kCouplingModeCount)
        return result;
    result.Mode = in.Mode;
    const Term fs = given(in.FsHz, MaterialInput::SeriesResonance);
    const Term fp = given(in.FpHz, MaterialInput::ParallelResonance);
    const Term rho = given(in.DensityKgM3, MaterialInput::Density);
    const Term length = given(in.LengthM, MaterialInput::Length);
    const Term width = given(in.WidthM, MaterialInput::Width);
    const Term thickness = given(in.ThicknessM, MaterialInput::Thickness);
    const Term diameter = given(in.DiameterM, MaterialInput::Diameter);
    const Term area = given(in.AreaM2, MaterialInput::Area);
    const Term cT = given(in.FreeCapacitanceF, MaterialInput::FreeCapacitance);
    const Term qm = qualityFactor(in, fs);
    const auto ratio = [](double a, double b) { return a / b; };
    const auto product = [](double a, double b) { return a * b; };
    const auto relative = [](double permittivity) { return permittivity / kVacuumPermittivityFm; };
    // d = k sqrt(eps sE) with eps relative; g = d / eps.
    const auto dConstant = [](double k, double eps, double s) {
        return k * std::sqrt(eps * kVacuumPermittivityFm * s);
    };
    const auto gConstant = [](double d, double eps) { return d / (eps * kVacuumPermittivityFm); };
    auto& out = result.Constants;
    using U = MaterialUnit;

    switch (in.Mode) {
    case ModeK31: {
        const Term k = pairOf(fs, fp, barCoupling);
        const Term sE =
            apply([](double r, double l, double f) { return 1 / (4 * r * l * l * f * f); }, rho,
                  length, fs);
        const Term eps =
            apply([&](double c, double t, double l, double w) { return relative(c * t / (l * w)); },
                  cT, thickness, length, width);
        const Term d =
            apply([&](double kk, double e, double s) { return -dConstant(kk, e, s); }, k, eps, sE);
        out.push_back(constant("k31", U::Coupling, k));
        out.push_back(constant("sE11", U::Compliance, sE));
        out.push_back(
            constant("sD11", U::Compliance,
                     apply([](double s, double kk) { return s * (1 - kk * kk); }, sE, k)));
        out.push_back(constant("eps33T", U::RelativePermittivity, eps));
        out.push_back(constant("d31", U::ChargeConstant, d));
        out.push_back(constant("g31", U::VoltageConstant, apply(gConstant, d, eps)));
        out.push_back(constant("N", U::FrequencyConstant, apply(product, fs, length)));
        warnBelow(result.Warnings, SizeCondition::BarShorterThan3_5Widths,
                  apply(ratio, length, width), 3.5);
        warnBelow(result.Warnings, SizeCondition::BarNarrowerThan3Thicknesses,
                  apply(ratio, width, thickness), 3);
        break;
    }
    case ModeK33: {
        // The end area from the diameter; a typed area stands in when no diameter is given.
        const Term d = diameter.known() || !area.known()
                           ? diameter
                           : apply([](double a) { return std::sqrt(4 * a / kPi); }, area);
        const Term a = diameter.known() || !area.known()
                           ? apply([](double dd) { return kPi * dd * dd / 4; }, diameter)
                           : area;
        const Term k = pairOf(fs, fp, thicknessCoupling);
        const Term sD =
            apply([](double r, double l, double f) { return 1 / (4 * r * l * l * f * f); }, rho,
                  length, fp);
        const Term sE = apply([](double s, double kk) { return s / (1 - kk * kk); }, sD, k);
        const Term eps = apply([&](double c, double l, double aa) { return relative(c * l / aa); },
                               cT, length, a);
        const Term d33 = apply(dConstant, k, eps, sE);
        out.push_back(constant("k33", U::Coupling, k));
        out.push_back(constant("sD33", U::Compliance, sD));
        out.push_back(constant("sE33", U::Compliance, sE));
        out.push_back(constant("eps33T", U::RelativePermittivity, eps));
        out.push_back(constant("d33", U::ChargeConstant, d33));
        out.push_back(constant("g33", U::VoltageConstant, apply(gConstant, d33, eps)));
        out.push_back(constant("N", U::FrequencyConstant, apply(product, fs, length)));
        warnBelow(result.Warnings, SizeCondition::RodShorterThan2_5Diameters,
                  apply(ratio, length, d), 2.5);
        break;
    }
    case ModeKt: {
        const Term k = pairOf(fs, fp, thicknessCoupling);
        const Term cD = apply([](double r, double t, double f) { return 4 * r * t * t * f * f; },
                              rho, thickness, fp);
        const Term cS = given(in.ClampedCapacitanceF, MaterialInput::ClampedCapacitance);
        out.push_back(constant("kt", U::Coupling, k));
        out.push_back(constant("cD33", U::Stiffness, cD));
        out.push_back(
            constant("cE33", U::Stiffness,
                     apply([](double c, double kk) { return c * (1 - kk * kk); }, cD, k)));
        out.push_back(
            constant("eps33S", U::RelativePermittivity,
                     apply([&](double c, double t, double a) { return relative(c * t / a); }, cS,
                           thickness, area)));
        out.push_back(constant("N", U::FrequencyConstant, apply(product, fs, thickness)));
        warnBelow(result.Warnings, SizeCondition::PlateNarrowerThan10Thicknesses,
                  apply([](double a, double t) { return std::sqrt(a) / t; }, area, thickness), 10);
        break;
    }
    case ModeK15: {
        const Term k = pairOf(fs, fp, thicknessCoupling);
        const Term cD = apply([](double r, double t, double f) { return 4 * r * t * t * f * f; },
                              rho, thickness, fp);
        const Term cE = apply([](double c, double kk) { return c * (1 - kk * kk); }, cD, k);
        const Term sE = apply([](double c) { return 1 / c; }, cE);
        const Term eps = apply([&](double c, double t, double a) { return relative(c * t / a); },
                               cT, thickness, area);
        const Term d15 = apply(dConstant, k, eps, sE);
        out.push_back(constant("k15", U::Coupling, k));
        out.push_back(constant("cD55", U::Stiffness, cD));
        out.push_back(constant("cE55", U::Stiffness, cE));
        out.push_back(constant("sE55", U::Compliance, sE));
        out.push_back(constant("eps11T", U::RelativePermittivity, eps));
        out.push_back(constant("d15", U::ChargeConstant, d15));
        out.push_back(constant("g15", U::VoltageConstant, apply(gConstant, d15, eps)));
        out.push_back(constant("N", U::FrequencyConstant, apply(product, fs, thickness)));
        break;
    }
    case ModeKp: {
        // Poisson's ratio from the overtone when there is one, else as typed, else 0.31.
        Term sigma;
        const Term fs2 = given(in.SecondRadialFsHz, MaterialInput::SeriesResonance);
        if (fs2.known() && fs.known()) {
            result.SigmaSource = PoissonSource::Overtone;
            const std::optional<double> s = PoissonRatioFromOvertone(fs2.v / fs.v);
            sigma = s ? Term{*s, {}} : invalid(MaterialInput::PoissonRatio);
        } else if (in.TypedPoissonRatio) {
            result.SigmaSource = PoissonSource::Typed;
            sigma = poissonInRange(*in.TypedPoissonRatio) ? Term{*in.TypedPoissonRatio, {}}
                                                          : invalid(MaterialInput::PoissonRatio);
        } else {
            result.SigmaSource = PoissonSource::Default;
            sigma = Term{kDefaultPoissonRatio, {}};
        }
        Term eta1 = sigma;
        if (sigma.known()) {
            eta1.v = *DiscFrequencyRoot(sigma.v, 1);
            result.Eta1 = eta1.v;
        }
        Term k = pairOf(fs, fp, [](double, double) { return 0.5; });
        if (k.known()) {
            k = apply([&](double s, double e) { return discCoupling(fp.v / fs.v, s, e); }, sigma,
                      eta1);
            if (k.known() && !(std::isfinite(k.v) && k.v > 0 && k.v < 1))
                k = invalid(MaterialInput::ResonancePair);
        } else {
            merge(k.missing, sigma.missing);
        }
        const Term sE = apply(
            [](double e, double dd, double f, double r, double s) {
                const double a = dd / 2;
                return e * e / (4 * kPi * kPi * a * a * f * f * r * (1 - s * s));
            },
            eta1, diameter, fs, rho, sigma);
        const Term eps = apply(
            [&](double c, double t, double dd) { return relative(c * t / (kPi * dd * dd / 4)); },
            cT, thickness, diameter);
        const Term k31 =
            apply([](double kk, double s) { return kk * std::sqrt((1 - s) / 2); }, k, sigma);
        const Term d31 = apply([&](double kk, double e, double s) { return -dConstant(kk, e, s); },
                               k31, eps, sE);
        out.push_back(constant("kp", U::Coupling, k));
        out.push_back(constant("sigma", U::Ratio, sigma));
        out.push_back(constant("sE11", U::Compliance, sE));
        out.push_back(constant("sE12", U::Compliance,
                               apply([](double s, double p) { return -p * s; }, sE, sigma)));
        out.push_back(constant("eps33T", U::RelativePermittivity, eps));
        out.push_back(constant("k31", U::Coupling, k31));
        out.push_back(constant("d31", U::ChargeConstant, d31));
        out.push_back(constant("g31", U::VoltageConstant, apply(gConstant, d31, eps)));
        out.push_back(constant("N", U::FrequencyConstant, apply(product, fs, diameter)));
        warnBelow(result.Warnings, SizeCondition::DiscNarrowerThan10Thicknesses,
                  apply(ratio, diameter, thickness), 10);
        break;
    }
    default:
        break;
    }
    out.push_back(constant("Qm", U::Ratio, qm));
    return result;
}

const MaterialConstant* FindMaterialConstant(const MaterialConstantsResult& result,
                                             QStringView name) {
    for (const MaterialConstant& c : result.Constants)
        if (c.Name == name)
            return &c;
    return nullptr;
}

} // namespace ymt
