// k(eff) and the vibration-mode coupling factors from f(min) and f(max).
#include "evaluation/CouplingFactors.h"

#include <cmath>
#include <limits>

namespace ymt {
namespace {

constexpr long double kPi = 3.1415926535897932385L;

const char* const kModeNames[kCouplingModeCount] = {"k31", "k33", "kt ", "k15", "kp "};
const char* const kModeItems[kCouplingModeCount] = {
    "k31 - Transversal Mode", "k33 - Longitudinal Mode", "kt  - Thickness Mode", "k15 - Shear Mode",
    "kp  - Planar Mode"};

bool isMode(int position) {
    return position >= 0 && position < kCouplingModeCount;
}

// The root is rounded to a double first and then scaled, as the record stores it; anything
// that is no real coupling factor becomes 0 ("not determined").
double percentOrZero(long double root) {
    const double fraction = static_cast<double>(root);
    const double percent = static_cast<double>(static_cast<long double>(fraction) * 100.0L);
    return std::isfinite(percent) && percent > 0.0 && percent < 100.0 ? percent : 0.0;
}

long double modeRoot(long double fA, long double fB, int position) {
    switch (position) {
    case ModeK31: {
        // Only the first branch of the tangent is physical: from fA = 2 fB on the value
        // reaches 100 %, has no real root, or wraps round to plausible-looking numbers.
        if (!(fA < 2 * fB))
            return std::numeric_limits<long double>::quiet_NaN();
        const long double y = kPi * fA / fB / 2;
        return std::sqrt(1 / (1 - (std::sin(y) / std::cos(y)) / y));
    }
    case ModeK33:
    case ModeKt:
    case ModeK15: {
        const long double x = kPi * fB / fA / 2;
        return std::sqrt(x * std::cos(x) / std::sin(x));
    }
    case ModeKp: {
        const long double u = 1 - fB / fA;
        return std::sqrt(2.51L * u - u * u);
    }
    default:
        return 0;
    }
}

} // namespace

QString ModeName(int position) {
    return isMode(position) ? QString::fromLatin1(kModeNames[position]) : QString();
}

QString ModeListItem(int position) {
    return isMode(position) ? QString::fromLatin1(kModeItems[position]) : QString();
}

CouplingFactorValues ComputeCouplingFactors(double fA, double fB, int modePosition) {
    CouplingFactorValues values;
    if (!(fB > 0) || !(fA >= fB) || !std::isfinite(fA))
        return values;
    const long double a = fA;
    const long double b = fB;
    const long double r = b / a;
    values.KEff = percentOrZero(std::sqrt(1 - r * r));
    if (isMode(modePosition))
        values.KMode = percentOrZero(modeRoot(a, b, modePosition));
    return values;
}

ModeChangeOutcome ModeChange(int position, const EvaluationResults& results) {
    ModeChangeOutcome outcome;
    outcome.ModeName = ModeName(position);
    outcome.ModeValueCaption = outcome.ModeName + QStringLiteral("       [%]");
    outcome.SampleQcCaption = outcome.ModeName + QStringLiteral("[%]");
    outcome.MeasurementQcCaption = outcome.ModeName;
    outcome.RunPass = results.FMax != results.FMin;
    return outcome;
}

} // namespace ymt
