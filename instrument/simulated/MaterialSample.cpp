// Closed-form impedances of the five resonance-method samples and their sicl.conf keys.
#include "instrument/simulated/MaterialSample.h"

#include "core/NumberParsing.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace ymt {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kEps0 = 8.8541878128e-12;
using Complex = std::complex<double>;
constexpr Complex kJ(0, 1);
constexpr double kLargeBesselArgument = 2000;

// The stiffness and the e constant along 3 of a 6mm material, from its compliances (the
// thickness plate is clamped laterally, so its wave sees c33, not 1/s33).
struct ThicknessConstants {
    double cE33, e33, eps33S; // N/m^2, C/m^2, F/m
};
ThicknessConstants thicknessConstants(const PiezoMaterial& m) {
    const double s = m.sE11 + m.sE12;
    const double det = m.sE33 * s - 2 * m.sE13 * m.sE13;
    const double c11PlusC12 = m.sE33 / det, c13 = -m.sE13 / det, c33 = s / det;
    const double e31 = m.d31 * c11PlusC12 + m.d33 * c13;
    const double e33 = 2 * m.d31 * c13 + m.d33 * c33;
    const double eps33S = m.eps33T * kEps0 - (2 * m.d31 * e31 + m.d33 * e33);
    return {c33, e33, eps33S};
}

// tan(X)/X, which tends to 1 for small X.
Complex tanOver(Complex x) {
    return std::abs(x) < 1e-6 ? 1.0 + x * x / 3.0 : std::tan(x) / x;
}

} // namespace

ShapeConstants DeriveShapeConstants(const MaterialSample& sample) {
    const PiezoMaterial& m = sample.material;
    ShapeConstants c;
    switch (sample.shape) {
    case SampleShape::Bar:
        c.coupling = std::fabs(m.d31) / std::sqrt(m.eps33T * kEps0 * m.sE11);
        c.elastic = m.sE11;
        c.permittivity = m.eps33T;
        break;
    case SampleShape::Rod:
        c.coupling = m.d33 / std::sqrt(m.eps33T * kEps0 * m.sE33);
        c.elastic = m.sE33 * (1 - c.coupling * c.coupling);
        c.permittivity = m.eps33T;
        break;
    case SampleShape::ThicknessPlate: {
        const ThicknessConstants t = thicknessConstants(m);
        c.elastic = t.cE33 + t.e33 * t.e33 / t.eps33S;
        c.coupling = std::fabs(t.e33) / std::sqrt(c.elastic * t.eps33S);
        c.permittivity = t.eps33S / kEps0;
        break;
    }
    case SampleShape::ShearPlate:
        c.coupling = m.d15 / std::sqrt(m.eps11T * kEps0 * m.sE55);
        c.elastic = 1 / (m.sE55 * (1 - c.coupling * c.coupling));
        c.permittivity = m.eps11T;
        break;
    case SampleShape::Disc: {
        c.poissonRatio = -m.sE12 / m.sE11;
        const double k31 = std::fabs(m.d31) / std::sqrt(m.eps33T * kEps0 * m.sE11);
        c.coupling = k31 * std::sqrt(2 / (1 - c.poissonRatio));
        c.elastic = m.sE11;
        c.permittivity = m.eps33T;
        break;
    }
    }
    return c;
}

std::complex<double> BesselJ(int order, std::complex<double> z) {
    const double size = std::abs(z);
    if (!std::isfinite(size))
        return {std::nan(""), std::nan("")};
    if (size > kLargeBesselArgument) {
        // Hankel's expansion, its terms beyond these below 1e-12 here.
        const double mu = 4.0 * order * order;
        const Complex e = 8.0 * z;
        const Complex p = 1.0 - (mu - 1) * (mu - 9) / (2.0 * e * e);
        const Complex q = (mu - 1) / e - (mu - 1) * (mu - 9) * (mu - 25) / (6.0 * e * e * e);
        const Complex w = z - (2 * order + 1) * kPi / 4;
        return std::sqrt(2.0 / (kPi * z)) * (p * std::cos(w) - q * std::sin(w));
    }
    // J_n(z) = (1/pi) int_0^pi cos(n t - z sin t) dt: a periodic analytic integrand, so the
    // trapezoid rule converges geometrically once the steps outnumber |z|.
    const int steps = static_cast<int>(std::ceil(size)) + 32;
    Complex sum = order % 2 == 0 ? 1.0 : 0.0; // the ends: (cos 0 + cos(n pi)) / 2
    for (int i = 1; i < steps; ++i) {
        const double t = kPi * i / steps;
        sum += std::cos(order * t - z * std::sin(t));
    }
    return sum / double(steps);
}

std::complex<double> MaterialSampleImpedance(const MaterialSample& sample, double frequencyHz) {
    const PiezoMaterial& m = sample.material;
    const ShapeConstants c = DeriveShapeConstants(sample);
    const double omega = 2 * kPi * frequencyHz;
    const double k2 = c.coupling * c.coupling;
    const Complex dielectric(1, -m.lossTangent);
    const Complex softer(1, -1 / m.qm); // compliance
    const Complex stiffer(1, 1 / m.qm); // stiffness
    const double rho = m.densityKgM3;
    switch (sample.shape) {
    case SampleShape::Bar: {
        const double l = sample.lengthM;
        const Complex cT =
            c.permittivity * kEps0 * dielectric * l * sample.widthM / sample.thicknessM;
        const Complex x = omega * l * std::sqrt(rho * c.elastic * softer) / 2.0;
        return 1.0 / (kJ * omega * cT * ((1 - k2) + k2 * tanOver(x)));
    }
    case SampleShape::Rod: {
        const double l = sample.lengthM, a = kPi * sample.diameterM * sample.diameterM / 4;
        const Complex cS = c.permittivity * kEps0 * dielectric * (1 - k2) * a / l;
        const Complex x = omega * l * std::sqrt(rho * c.elastic * softer) / 2.0;
        return (1.0 - k2 * tanOver(x)) / (kJ * omega * cS);
    }
    case SampleShape::ThicknessPlate:
    case SampleShape::ShearPlate: {
        // eps33S of the thickness plate; eps11T (1 - k15^2) = eps11S of the shear plate.
        const double clamped =
            sample.shape == SampleShape::ShearPlate ? c.permittivity * (1 - k2) : c.permittivity;
        const double t = sample.thicknessM;
        const Complex cS = clamped * kEps0 * dielectric * sample.areaM2 / t;
        const Complex x = omega * t * std::sqrt(rho / (c.elastic * stiffer)) / 2.0;
        return (1.0 - k2 * tanOver(x)) / (kJ * omega * cS);
    }
    case SampleShape::Disc: {
        const double a = sample.diameterM / 2, sigma = c.poissonRatio;
        const Complex cT = c.permittivity * kEps0 * dielectric * kPi * a * a / sample.thicknessM;
        const Complex x = omega * a * std::sqrt(rho * c.elastic * softer * (1 - sigma * sigma));
        const Complex j0 = BesselJ(0, x), j1 = BesselJ(1, x);
        const Complex radial = (1 + sigma) * j1 / (x * j0 - (1 - sigma) * j1);
        return 1.0 / (kJ * omega * cT * ((1 - k2) + k2 * radial));
    }
    }
    return 0;
}

bool ReadMaterialSampleKey(const QString& key, const QString& value, MaterialSampleKeys& keys) {
    if (key == QLatin1String("shape")) {
        keys.shape = value.trimmed().toLower();
        return true;
    }
    // Keys of sicl.conf arrive in lower case; the factor brings each to SI units.
    struct NumberKey {
        const char* name;
        std::optional<double> MaterialSampleKeys::*field;
        double factor;
    };
    static const NumberKey numberKeys[] = {
        {"length", &MaterialSampleKeys::length, 1e-3},
        {"width", &MaterialSampleKeys::width, 1e-3},
        {"thickness", &MaterialSampleKeys::thickness, 1e-3},
        {"diameter", &MaterialSampleKeys::diameter, 1e-3},
        {"area", &MaterialSampleKeys::area, 1e-6},
        {"density", &MaterialSampleKeys::density, 1},
        {"qm", &MaterialSampleKeys::qm, 1},
        {"se11", &MaterialSampleKeys::sE11, 1e-12},
        {"se12", &MaterialSampleKeys::sE12, 1e-12},
        {"se13", &MaterialSampleKeys::sE13, 1e-12},
        {"se33", &MaterialSampleKeys::sE33, 1e-12},
        {"se55", &MaterialSampleKeys::sE55, 1e-12},
        {"d31", &MaterialSampleKeys::d31, 1e-12},
        {"d33", &MaterialSampleKeys::d33, 1e-12},
        {"d15", &MaterialSampleKeys::d15, 1e-12},
        {"eps11t", &MaterialSampleKeys::eps11T, 1},
        {"eps33t", &MaterialSampleKeys::eps33T, 1},
    };
    for (const NumberKey& number : numberKeys) {
        if (key == QLatin1String(number.name)) {
            keys.*number.field = ParseNumber(value) * number.factor;
            return true;
        }
    }
    return false;
}

std::optional<MaterialSample> MaterialSampleFromKeys(const MaterialSampleKeys& keys,
                                                     double lossTangent, QStringList* problems) {
    if (keys.shape.isEmpty())
        return std::nullopt;
    static const QList<QPair<QString, SampleShape>> shapes = {
        {QStringLiteral("bar"), SampleShape::Bar},
        {QStringLiteral("rod"), SampleShape::Rod},
        {QStringLiteral("plate"), SampleShape::ThicknessPlate},
        {QStringLiteral("shear"), SampleShape::ShearPlate},
        {QStringLiteral("disc"), SampleShape::Disc},
    };
    QStringList found;
    auto complain = [&found, &keys](const QString& what) {
        found << QStringLiteral("shape = %1: %2").arg(keys.shape, what);
    };
    MaterialSample sample;
    bool known = false;
    for (const auto& [name, shape] : shapes)
        if (keys.shape == name) {
            sample.shape = shape;
            known = true;
        }
    if (!known) {
        if (problems)
            *problems << QStringLiteral("shape = ") + keys.shape;
        return std::nullopt;
    }
    // A needed key: positive (or, for sE12, sE13 and d31, any finite value but 0).
    auto take = [&complain](const std::optional<double>& value, const char* name, double& into,
                            bool signedValue = false) {
        if (!value)
            complain(QStringLiteral("%1 missing").arg(QLatin1String(name)));
        else if (!std::isfinite(*value) || *value == 0 || (!signedValue && *value < 0))
            complain(QStringLiteral("%1 not usable").arg(QLatin1String(name)));
        else
            into = *value;
    };
    PiezoMaterial& m = sample.material;
    take(keys.density, "density", m.densityKgM3);
    take(keys.qm, "Qm", m.qm);
    m.lossTangent = std::isfinite(lossTangent) && lossTangent >= 0 ? lossTangent : 0;
    switch (sample.shape) {
    case SampleShape::Bar:
        take(keys.length, "length", sample.lengthM);
        take(keys.width, "width", sample.widthM);
        take(keys.thickness, "thickness", sample.thicknessM);
        take(keys.sE11, "sE11", m.sE11);
        take(keys.d31, "d31", m.d31, true);
        take(keys.eps33T, "eps33T", m.eps33T);
        break;
    case SampleShape::Rod:
        take(keys.length, "length", sample.lengthM);
        take(keys.diameter, "diameter", sample.diameterM);
        take(keys.sE33, "sE33", m.sE33);
        take(keys.d33, "d33", m.d33);
        take(keys.eps33T, "eps33T", m.eps33T);
        break;
    case SampleShape::ThicknessPlate:
        take(keys.thickness, "thickness", sample.thicknessM);
        take(keys.area, "area", sample.areaM2);
        take(keys.sE11, "sE11", m.sE11);
        take(keys.sE12, "sE12", m.sE12, true);
        take(keys.sE13, "sE13", m.sE13, true);
        take(keys.sE33, "sE33", m.sE33);
        take(keys.d31, "d31", m.d31, true);
        take(keys.d33, "d33", m.d33);
        take(keys.eps33T, "eps33T", m.eps33T);
        break;
    case SampleShape::ShearPlate:
        take(keys.thickness, "thickness", sample.thicknessM);
        take(keys.area, "area", sample.areaM2);
        take(keys.sE55, "sE55", m.sE55);
        take(keys.d15, "d15", m.d15);
        take(keys.eps11T, "eps11T", m.eps11T);
        break;
    case SampleShape::Disc:
        take(keys.diameter, "diameter", sample.diameterM);
        take(keys.thickness, "thickness", sample.thicknessM);
        take(keys.sE11, "sE11", m.sE11);
        take(keys.sE12, "sE12", m.sE12, true);
        take(keys.d31, "d31", m.d31, true);
        take(keys.eps33T, "eps33T", m.eps33T);
        break;
    }
    if (found.isEmpty()) {
        // Constants no material can have (a coupling of 1 or more, a Poisson's ratio outside
        // -1..0.5, a negative clamped permittivity) would give a sample without a resonance.
        const ShapeConstants c = DeriveShapeConstants(sample);
        if (!(c.coupling > 0 && c.coupling < 1 && c.elastic > 0 && c.permittivity > 0))
            complain(QStringLiteral("the constants give no coupling factor between 0 and 1"));
        else if (sample.shape == SampleShape::Disc &&
                 !(c.poissonRatio > -1 && c.poissonRatio < 0.5))
            complain(QStringLiteral("Poisson's ratio -sE12/sE11 outside -1..0.5"));
    }
    if (!found.isEmpty()) {
        if (problems)
            *problems << found;
        return std::nullopt;
    }
    return sample;
}

} // namespace ymt
