// The resonance search and the evaluation pass.
#include "evaluation/ResonanceEvaluation.h"

#include "core/Misc.h"
#include "evaluation/CouplingFactors.h"
#include "evaluation/Thresholds.h"
#include "localisation/TextTables.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace ymt {
namespace {

constexpr long double kSqrt2 = 1.4142135623730950488L;
constexpr long double kLn10 = 2.3025850929940456840L;

ResultValue deltaLgR(double zMax, double zMin) {
    if (zMax - zMin == 0 || !(zMax > 0) || !(zMin > 0))
        return {};
    const long double d = std::log(static_cast<long double>(zMax)) / kLn10 -
                          std::log(static_cast<long double>(zMin)) / kLn10;
    return ResultValue(static_cast<double>(d), 1);
}

} // namespace

int getminmax(const CurveStore& store, double windowMin, double windowMax,
              EvaluationResults& results) {
    const std::vector<CurvePoint>& points = store.curve(kImpedanceCurve).Points;
    const int count = static_cast<int>(points.size());
    auto inside = [&](double x) { return windowMin < x && x < windowMax; };

    EvaluationResults found = results;
    found.IndexMin = 0;
    found.IndexMax = 0;
    found.ZMin = 1e300;
    found.ZMax = -1e300;
    bool any = false;
    for (int i = 0; i < count; ++i) {
        const CurvePoint& p = points[static_cast<size_t>(i)];
        if (inside(p.x) && p.y <= found.ZMin) {
            found.ZMin = p.y;
            found.FMin = p.x;
            found.IndexMin = i;
            any = true;
        }
    }
    if (!any)
        return -1;
    for (int i = found.IndexMin; i < count; ++i) {
        const CurvePoint& p = points[static_cast<size_t>(i)];
        if (inside(p.x) && p.y >= found.ZMax) {
            found.ZMax = p.y;
            found.FMax = p.x;
            found.IndexMax = i;
        }
    }
    results = found;
    return std::abs(found.IndexMax - found.IndexMin);
}

ThreeDbBand EvaluateThreeDbBand(const CurveStore& store, const EvaluationResults& results,
                                int qThreshold) {
    const std::vector<CurvePoint>& points = store.curve(kImpedanceCurve).Points;
    const int count = static_cast<int>(points.size());
    const int start = results.IndexMin;
    if (start < 0 || start >= count)
        return {};
    const long double level = static_cast<long double>(results.ZMin) * kSqrt2;
    auto below = [&](int k) { return points[static_cast<size_t>(k)].y < level; };

    int i = start;
    while (below(i) && i > 0)
        --i;
    // A lower edge at the first point is no edge: the band may extend below the curve.
    if (i == 0)
        return {};
    int j = start;
    while (below(j) && j < count - 1)
        ++j;
    const double fL = points[static_cast<size_t>(i)].x;
    const double fU = points[static_cast<size_t>(j)].x;
    if (fL == 0 || fU == 0 || j == 0 || !(qThreshold < static_cast<qint64>(j) - i))
        return {};
    const double bandwidth = fU - fL;
    const double q = results.FMin / bandwidth;
    if (!(bandwidth > 0) || !std::isfinite(bandwidth) || !std::isfinite(q))
        return {};
    return {bandwidth, q};
}

PassOutcome koppelfaktor(const CurveStore& store, const EvaluationResults& results,
                         const PassInputs& inputs) {
    PassOutcome outcome;
    EvaluationResults& r = outcome.Results;
    r = results;
    r.KEff = 0;
    r.KMode = 0;
    r.B3dB = 0;
    r.Q3dB = 0;

    double fA = inputs.FA;
    double fB = inputs.FB;
    const qint64 steps = static_cast<qint64>(r.IndexMax) - r.IndexMin;
    const bool samePair = fA == fB;
    const bool enoughSteps = ThresholdValue(inputs.CouplingThresholdText) < steps;
    if (samePair || !enoughSteps) {
        if (!inputs.RepeatTimerRunning) {
            outcome.Message =
                TableMessage(EvaluationMessageKind::Error, EvaluationButtons::OK,
                             samePair ? Msg::MinimumEqualsMaximum : Msg::InsufficientData);
        }
    } else {
        if (fA < fB)
            std::swap(fA, fB);
        const CouplingFactorValues k = ComputeCouplingFactors(fA, fB, inputs.ModePosition);
        r.KEff = k.KEff;
        r.KMode = k.KMode;
    }

    const ThreeDbBand band = EvaluateThreeDbBand(store, r, ThresholdValue(inputs.QThresholdText));
    r.B3dB = band.B3dB;
    r.Q3dB = band.Q3dB;

    ShownResults& shown = outcome.Shown;
    shown.FMax = ResultValue(fA, 3);
    shown.FMin = ResultValue(fB, 3);
    if (r.KEff > 0)
        shown.KEff = ResultValue(r.KEff, 2);
    if (r.KMode > 0)
        shown.KMode = ResultValue(r.KMode, 2);
    if (r.Q3dB > 0)
        shown.Q3dB = ResultValue(r.Q3dB, 0);
    if (r.B3dB > 0)
        shown.B3dB = ResultValue(r.B3dB, 3);
    shown.Rs = ResultValue(r.ZMin, r.ZMin < 10 ? 1 : 0);
    shown.DeltaLgR = deltaLgR(r.ZMax, r.ZMin);

    outcome.ShowMarkers = true;
    outcome.RunAddMeasuredData = inputs.AutomaticProtocolling;
    outcome.RunQControl = true;
    return outcome;
}

} // namespace ymt
