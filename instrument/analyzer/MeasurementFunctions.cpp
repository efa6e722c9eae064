#include "instrument/analyzer/MeasurementFunctions.h"

#include <cmath>
#include <numbers>

namespace ymt {
namespace {

constexpr double kDegPerRad = 180.0 / std::numbers::pi;

// Guards the divisions of the derived quantities; an ideal zero gives 0, not infinity.
double ratio(double numerator, double denominator) {
    return denominator == 0 ? 0.0 : numerator / denominator;
}

} // namespace

TracePairValues MeasurementFunctionValues(int code, std::complex<double> z, double frequencyHz) {
    const double omega = 2 * std::numbers::pi * frequencyHz;
    const std::complex<double> y = z == 0.0 ? std::complex<double>() : 1.0 / z;
    const double rs = z.real(), xs = z.imag();
    const double g = y.real(), b = y.imag();
    const double zMag = std::abs(z), theta = std::arg(z) * kDegPerRad;
    const double ls = ratio(xs, omega), cs = ratio(-1.0, omega * xs);
    const double lp = ratio(-1.0, omega * b), cp = ratio(b, omega);
    const double qSeries = ratio(std::fabs(xs), rs), qParallel = ratio(std::fabs(b), g);
    switch (code) {
    case 2:
        return {rs, xs};
    case 3:
        return {ls, rs};
    case 4:
        return {ls, qSeries};
    case 5:
        return {cs, rs};
    case 6:
        return {cs, qSeries};
    case 7:
        return {cs, ratio(rs, std::fabs(xs))};
    case 8:
        return {std::abs(y), -theta};
    case 9:
        return {g, b};
    case 10:
        return {lp, g};
    case 11:
        return {lp, qParallel};
    case 12:
        return {cp, g};
    case 13:
        return {cp, qParallel};
    case 14:
        return {cp, ratio(g, std::fabs(b))};
    case 15:
        return {zMag, ls};
    case 16:
        return {zMag, cs};
    case 17:
        return {zMag, lp};
    case 18:
        return {zMag, cp};
    case 19:
        return {lp, ratio(1.0, g)};
    case 20:
        return {cp, ratio(1.0, g)};
    default:
        return {zMag, theta};
    }
}

} // namespace ymt
