// The display pairs and their quantities.
#include "evaluation/DisplayQuantities.h"

#include <QStringList>

#include <cmath>
#include <numbers>

namespace ymt {
namespace {

constexpr double kTwoPi = 6.283185307179586477;
constexpr double kZeroStandIn = 1e-300;

struct PairRow {
    const char* listText;
    DisplayQuantity first;
    const char* firstName;
    const char* firstUnit;
    DisplayQuantity second;
    const char* secondName;
    const char* secondUnit;
};

using Q = DisplayQuantity;
// Entry 8's right axis is titled theta although its curve holds -theta.
const PairRow kPairs[kDisplayPairCount] = {
    {"|Z| - theta", Q::AbsZ, "|Z|", "Ohm", Q::Theta, "theta", "°"},
    {"Rs - X", Q::Rs, "Rs", "Ohm", Q::X, "X", "Ohm"},
    {"Ls - Rs", Q::Ls, "Ls", "mH", Q::Rs, "Rs", "Ohm"},
    {"Ls - Q", Q::Ls, "Ls", "mH", Q::Q, "Q", ""},
    {"Cs - Rs", Q::Cs, "Cs", "nF", Q::Rs, "Rs", "Ohm"},
    {"Cs - Q", Q::Cs, "Cs", "nF", Q::Q, "Q", ""},
    {"Cs - D", Q::Cs, "Cs", "nF", Q::D, "D", ""},
    {"|Y| - -theta", Q::AbsY, "|Y|", "S", Q::NegativeTheta, "theta", "°"},
    {"G - B", Q::G, "G", "S", Q::B, "B", "S"},
    {"Lp - G", Q::Lp, "Lp", "mH", Q::G, "G", "S"},
    {"Lp - Q", Q::Lp, "Lp", "mH", Q::Q, "Q", ""},
    {"Cp - G", Q::Cp, "Cp", "nF", Q::G, "G", "S"},
    {"Cp - Q", Q::Cp, "Cp", "nF", Q::Q, "Q", ""},
    {"Cp - D", Q::Cp, "Cp", "nF", Q::D, "D", ""},
    {"|Z| - Ls", Q::AbsZ, "|Z|", "Ohm", Q::Ls, "Ls", "mH"},
    {"|Z| - Cs", Q::AbsZ, "|Z|", "Ohm", Q::Cs, "Cs", "nF"},
    {"|Z| - Lp", Q::AbsZ, "|Z|", "Ohm", Q::Lp, "Lp", "mH"},
    {"|Z| - Cp", Q::AbsZ, "|Z|", "Ohm", Q::Cp, "Cp", "nF"},
    {"Lp - Rp", Q::Lp, "Lp", "mH", Q::Rp, "Rp", "Ohm"},
    {"Cp - Rp", Q::Cp, "Cp", "nF", Q::Rp, "Rp", "Ohm"},
    {"eps' - eps''", Q::EpsReal, "eps'", "", Q::EpsImag, "eps''", ""},
};

bool isDisplayCode(int code) {
    return code >= 1 && code <= kDisplayPairCount;
}

const PairRow& row(int code) {
    return kPairs[isDisplayCode(code) ? code - 1 : 0];
}

double nonZero(double v) {
    return v == 0 ? kZeroStandIn : v;
}

} // namespace

PointTerms TermsOfPoint(double fKHz, double z, double thetaDegrees) {
    PointTerms t;
    const double radians = thetaDegrees * std::numbers::pi / 180;
    t.Z = nonZero(z);
    t.Theta = thetaDegrees;
    t.W = nonZero(fKHz * kTwoPi * 1000);
    t.S = nonZero(std::sin(radians));
    t.C = nonZero(std::cos(radians));
    return t;
}

double QuantityValue(DisplayQuantity quantity, const PointTerms& t, double d, double area) {
    switch (quantity) {
    case Q::AbsZ:
        return t.Z;
    case Q::Theta:
        return t.Theta;
    case Q::NegativeTheta:
        return -t.Theta;
    case Q::Rs:
        return t.Z * t.C;
    case Q::X:
        return t.Z * t.S;
    case Q::Ls:
        return t.Z * t.S / t.W * 1000;
    case Q::Cs:
        return -1 / (t.W * t.Z * t.S) * 1e9;
    case Q::AbsY:
        return 1 / t.Z;
    case Q::G:
        return std::fabs(t.C / t.Z);
    case Q::B:
        return -t.S / t.Z;
    case Q::Lp:
        return t.Z / t.S / t.W * 1000;
    case Q::Cp:
        return -t.S / (t.W * t.Z) * 1e9;
    case Q::Rp:
        return t.Z / t.C;
    case Q::Q:
        return std::fabs(t.S / t.C);
    case Q::D:
        return std::fabs(t.C / t.S);
    case Q::EpsReal:
        return -t.S * d / (t.W * kEpsilon0PerMm * area * t.Z);
    case Q::EpsImag:
        return t.C * d / (t.W * kEpsilon0PerMm * area * t.Z);
    }
    return 0;
}

DisplayPairInfo DisplayPair(int displayCode) {
    const PairRow& r = row(displayCode);
    return {QString::fromUtf8(r.listText),
            r.first,
            r.second,
            QString::fromUtf8(r.firstName),
            QString::fromUtf8(r.firstUnit),
            QString::fromUtf8(r.secondName),
            QString::fromUtf8(r.secondUnit)};
}

QStringList DisplayPairListItems() {
    QStringList items;
    for (const PairRow& r : kPairs)
        items << QString::fromUtf8(r.listText);
    return items;
}

DisplayPairTexts DisplayPairCaptions(int displayCode) {
    const DisplayPairInfo pair = DisplayPair(displayCode);
    return {pair.FirstName + QStringLiteral(" [") + pair.FirstUnit + QStringLiteral("]"),
            pair.SecondName + QStringLiteral(" [") + pair.SecondUnit + QStringLiteral("]"),
            pair.FirstName + QStringLiteral(" log"), pair.SecondName + QStringLiteral(" log")};
}

int AnalyzerFunctionPair(int displayCode) {
    return displayCode == kPermittivityPair ? kImpedanceThetaPair : displayCode;
}

bool RebuildDisplayCurves(CurveStore& store, int displayCode, const SampleDescription& sample) {
    if (!isDisplayCode(displayCode))
        return false;
    const PairRow& pair = row(displayCode);
    Curve& impedance = *store.mutableCurve(3);
    Curve& phase = *store.mutableCurve(4);
    Curve& first = *store.mutableCurve(1);
    Curve& second = *store.mutableCurve(2);
    // Emptied in place: the capacity is kept, as the next pair has as many points again.
    first.Points.clear();
    first.resetBounds();
    second.Points.clear();
    second.resetBounds();

    const size_t count = impedance.Points.size();
    const double d = sample.ElectrodeDistance;
    const double area = sample.ElectrodeArea;
    const bool addPoints = displayCode != kPermittivityPair || area > 0;
    if (addPoints) {
        first.Points.reserve(count);
        second.Points.reserve(count);
    }
    for (size_t i = 0; i < count; ++i) {
        CurvePoint& zPoint = impedance.Points[i];
        double theta = 0;
        CurvePoint* thetaPoint = i < phase.Points.size() ? &phase.Points[i] : nullptr;
        if (thetaPoint)
            theta = thetaPoint->y;
        // sin and cos come from the measured theta; an exact 0 is then stored as 1e-300 for
        // good, since a stored 0 would later divide the evaluation.
        PointTerms terms = TermsOfPoint(zPoint.x, zPoint.y, theta);
        if (zPoint.y == 0)
            zPoint.y = kZeroStandIn;
        if (thetaPoint && thetaPoint->y == 0)
            thetaPoint->y = kZeroStandIn;
        terms.Theta = thetaPoint ? thetaPoint->y : theta;
        if (!addPoints)
            continue;
        const double f = zPoint.x;
        const double a = QuantityValue(pair.first, terms, d, area);
        first.Points.push_back({f, a});
        first.widenBounds(f, a);
        const double b = QuantityValue(pair.second, terms, d, area);
        second.Points.push_back({f, b});
        second.widenBounds(f, b);
    }
    return true;
}

} // namespace ymt
