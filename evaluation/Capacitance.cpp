// The capacitance formulas, computed in extended precision as the analyzer's reading allows.
#include "evaluation/Capacitance.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"

#include <cmath>

namespace ymt {
namespace {

constexpr long double kPi = 3.1415926535897932385L;
constexpr long double kQuarterPi = 0.78539816339744830963L;

bool positiveFinite(long double value) {
    return std::isfinite(value) && value > 0;
}

ResultValue resultOf(double value, int decimals) {
    return value == 0 ? ResultValue() : ResultValue(value, decimals);
}

} // namespace

CapacitanceValues CapacitanceFromReading(double frequencyKHz, double zAvg, double thetaAvgDeg) {
    if (!positiveFinite(frequencyKHz) || !positiveFinite(zAvg) || !std::isfinite(thetaAvgDeg))
        return {};
    const long double theta = thetaAvgDeg * kPi / 180;
    const long double sinTheta = std::sin(theta);
    const long double wZ = frequencyKHz * 2 * 1000 * kPi * zAvg;
    if (sinTheta == 0 || !std::isfinite(wZ))
        return {};
    CapacitanceValues values;
    const long double cap = -1 / (sinTheta * wZ) * 1e9L;
    const long double tanD = std::fabs(std::cos(theta) / sinTheta) * 10000;
    if (!std::isfinite(cap) || !std::isfinite(tanD))
        return {};
    values.CapNF = static_cast<double>(cap);
    values.TanD = static_cast<double>(tanD);
    return values;
}

double RelativePermittivity(double capNF, double distanceMm, double areaMm2) {
    if (capNF == 0 || !std::isfinite(capNF) || !positiveFinite(areaMm2) ||
        !std::isfinite(distanceMm))
        return 0;
    const long double eps =
        static_cast<long double>(capNF) * distanceMm / (areaMm2 * (long double)kVacuumPermittivity);
    return std::isfinite(eps) ? static_cast<double>(eps) : 0;
}

ResultValue CapacitanceResult(double capNF) {
    return resultOf(capNF, 3);
}

ResultValue LossTangentResult(double tanD, LossTangentUnit unit) {
    return resultOf(unit == LossTangentUnit::PerMille ? tanD / 10 : tanD, 1);
}

ResultValue PermittivityResult(double epsRel) {
    return resultOf(epsRel, 0);
}

std::optional<double> AreaFromDimensions(GeometryKind kind, double dimension1, double dimension2) {
    const long double d1 = dimension1;
    const long double d2 = dimension2;
    long double area = 0;
    switch (kind) {
    case GeometryKind::Arbitrary:
        return std::nullopt;
    case GeometryKind::CircularDisc:
        area = d1 * d1 * kQuarterPi;
        break;
    case GeometryKind::RectangularDisc:
        area = d1 * d2;
        break;
    case GeometryKind::Ring:
        area = (d1 * d1 - d2 * d2) * kQuarterPi;
        break;
    }
    if (!positiveFinite(area) || !std::isfinite(static_cast<double>(area)))
        return std::nullopt;
    return static_cast<double>(area);
}

std::optional<Dimensions> DimensionsFromArea(GeometryKind kind, double areaMm2) {
    switch (kind) {
    case GeometryKind::Arbitrary:
        return std::nullopt;
    case GeometryKind::CircularDisc:
    case GeometryKind::Ring:
        return Dimensions{static_cast<double>(2 * std::sqrt(areaMm2 / kPi)), 0};
    case GeometryKind::RectangularDisc: {
        const double side = std::sqrt(areaMm2);
        return Dimensions{side, side};
    }
    }
    return std::nullopt;
}

double PositiveOr(double value, double fallback) {
    return positiveFinite(value) ? value : fallback;
}

double ShownPositive(double typed, double fallback) {
    typed = PositiveOr(typed, fallback);
    return PositiveOr(ParseNumber(FixedText(typed, 1, 3)), fallback);
}

double TypedPositive(double typed, double fallback) {
    typed = PositiveOr(typed, fallback);
    return ParseNumber(FixedText(typed, 1, 3)) > 0 ? typed : fallback;
}

int CapacitancePointCount(const QString& text) {
    bool whole = false;
    const int points = text.trimmed().toInt(&whole);
    return whole && points >= 1 ? points : 10;
}

} // namespace ymt
