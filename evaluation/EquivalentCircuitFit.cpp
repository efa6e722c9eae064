#include "evaluation/EquivalentCircuitFit.h"

#include "evaluation/ResonanceEvaluation.h"
#include "localisation/ProgramTexts.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace ymt {
namespace {

using Complex = std::complex<double>;
constexpr double kTwoPi = 2 * std::numbers::pi;

double omegaOf(double frequencyKHz) {
    return kTwoPi * frequencyKHz * 1e3;
}

// The fit works on C0, C1, the angular series resonance and Qm, each as the logarithm of its
// ratio to the starting value: all four start at 0, stay positive, and fs is not tied to C1
// the way L1 is (L1 C1 is fixed far more sharply than either). The loss tangent of C0, which
// may be 0, is fitted as it is.
constexpr int kParameterCount = 5;
struct FitParameters {
    double C0 = 0;
    double C1 = 0;
    double OmegaS = 0;
    double Qm = 0;
    double LossTangent = 0;
};

FitParameters parametersOf(const ButterworthVanDyke& circuit) {
    const double omegaS = 1 / std::sqrt(circuit.L1 * circuit.C1);
    return {circuit.C0, circuit.C1, omegaS, 1 / (omegaS * circuit.R1 * circuit.C1),
            circuit.LossTangent};
}

ButterworthVanDyke circuitOf(const FitParameters& p) {
    return {p.C0, 1 / (p.OmegaS * p.C1 * p.Qm), 1 / (p.OmegaS * p.OmegaS * p.C1), p.C1,
            p.LossTangent};
}

// Steps of LM that leave the physical range would overflow exp(); e^30 is far beyond any
// sample and still finite.
FitParameters applyLogSteps(const FitParameters& start, const Eigen::VectorXd& x) {
    auto scaled = [&x](double value, int index) {
        return value * std::exp(std::clamp(x[index], -30.0, 30.0));
    };
    return {scaled(start.C0, 0), scaled(start.C1, 1), scaled(start.OmegaS, 2), scaled(start.Qm, 3),
            start.LossTangent + x[4]};
}

struct MeasuredPoint {
    double Omega = 0;
    Complex Z;
    double Magnitude = 0;
};

// Residuals (Z_fit - Z) / |Z|, real and imaginary part of each point: the relative error of the
// complex impedance, so that the low |Z| at fs weighs as much as the high |Z| at fp.
struct ResidualFunctor : Eigen::DenseFunctor<double> {
    ResidualFunctor(const std::vector<MeasuredPoint>& points, const FitParameters& start)
        : Eigen::DenseFunctor<double>(kParameterCount, static_cast<int>(2 * points.size())),
          points_(points), start_(start) {}

    int operator()(const InputType& x, ValueType& residuals) const {
        const FitParameters p = applyLogSteps(start_, x);
        for (size_t i = 0; i < points_.size(); ++i) {
            const Complex r =
                (impedance(p, points_[i].Omega) - points_[i].Z) / points_[i].Magnitude;
            residuals[2 * i] = r.real();
            residuals[2 * i + 1] = r.imag();
        }
        return 0;
    }

    // dZ/dx = -Z^2 dY/dx, with the admittance Y = w C0 (tan delta + j) + Yb and Yb = ws C1 / D,
    // D = 1/Q + j (w/ws - ws/w).
    int df(const InputType& x, JacobianType& jacobian) const {
        const FitParameters p = applyLogSteps(start_, x);
        for (size_t i = 0; i < points_.size(); ++i) {
            const double w = points_[i].Omega;
            const double ratio = w / p.OmegaS;
            const Complex d(1 / p.Qm, ratio - 1 / ratio);
            const Complex branch = p.OmegaS * p.C1 / d;
            const Complex y0 = w * p.C0 * Complex(p.LossTangent, 1);
            const Complex y = y0 + branch;
            const Complex minusZSquared = -1.0 / (y * y) / points_[i].Magnitude;
            const std::array<Complex, kParameterCount> dY = {
                y0, branch, branch * (1.0 + Complex(0, ratio + 1 / ratio) / d), branch / (p.Qm * d),
                Complex(w * p.C0, 0)};
            for (int k = 0; k < kParameterCount; ++k) {
                const Complex dr = minusZSquared * dY[k];
                jacobian(2 * i, k) = dr.real();
                jacobian(2 * i + 1, k) = dr.imag();
            }
        }
        return 0;
    }

    static Complex impedance(const FitParameters& p, double w) {
        const double ratio = w / p.OmegaS;
        const Complex branch = p.OmegaS * p.C1 / Complex(1 / p.Qm, ratio - 1 / ratio);
        return 1.0 / (w * p.C0 * Complex(p.LossTangent, 1) + branch);
    }

private:
    const std::vector<MeasuredPoint>& points_;
    FitParameters start_;
};

bool converged(Eigen::LevenbergMarquardtSpace::Status status) {
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case RelativeReductionTooSmall:
    case RelativeErrorTooSmall:
    case RelativeErrorAndReductionTooSmall:
    case CosinusTooSmall:
    // The tolerances lie below what the doubles resolve: no step can improve the fit.
    case FtolTooSmall:
    case XtolTooSmall:
    case GtolTooSmall:
        return true;
    default:
        return false;
    }
}

struct Attempt {
    FitParameters Parameters;
    double Rms = 0;
};

std::optional<Attempt> minimise(const std::vector<MeasuredPoint>& points,
                                const FitParameters& start) {
    ResidualFunctor functor(points, start);
    Eigen::LevenbergMarquardt<ResidualFunctor> solver(functor);
    solver.setMaxfev(400);
    Eigen::VectorXd x = Eigen::VectorXd::Zero(kParameterCount);
    const Eigen::LevenbergMarquardtSpace::Status status = solver.minimize(x);
    if (!converged(status) || !x.allFinite())
        return std::nullopt;
    Eigen::VectorXd residuals(functor.values());
    functor(x, residuals);
    const double rms = std::sqrt(residuals.squaredNorm() / static_cast<double>(points.size()));
    if (!std::isfinite(rms))
        return std::nullopt;
    return Attempt{applyLogSteps(start, x), rms};
}

bool positiveFinite(double value) {
    return std::isfinite(value) && value > 0;
}

FitOutcome refuse(FitRefusal refusal, const QString& message) {
    FitOutcome outcome;
    outcome.Refusal = refusal;
    outcome.Message = message;
    return outcome;
}

// Index of the smallest |Z|, and of the largest |Z| at or above it (the last of equals, as the
// resonance search takes them).
std::pair<size_t, size_t> extremes(const std::vector<ImpedancePoint>& points) {
    size_t low = 0;
    for (size_t i = 0; i < points.size(); ++i)
        if (points[i].MagnitudeOhm <= points[low].MagnitudeOhm)
            low = i;
    size_t high = low;
    for (size_t i = low; i < points.size(); ++i)
        if (points[i].MagnitudeOhm >= points[high].MagnitudeOhm)
            high = i;
    return {low, high};
}

// A resonance shows its |Z| minimum and the maximum above it inside the window, at least 10 %
// apart: a bare capacitance with measurement noise does not.
constexpr double kMinimumResonanceSwing = 1.1;

bool showsResonance(const std::vector<ImpedancePoint>& points) {
    if (points.size() < 3)
        return false;
    const auto [low, high] = extremes(points);
    return low > 0 && high > low && high + 1 < points.size() &&
           points[high].MagnitudeOhm >= kMinimumResonanceSwing * points[low].MagnitudeOhm;
}

} // namespace

std::complex<double> CircuitImpedance(const ButterworthVanDyke& circuit, double frequencyKHz) {
    const double w = omegaOf(frequencyKHz);
    const Complex branch(circuit.R1, w * circuit.L1 - 1 / (w * circuit.C1));
    return 1.0 / (w * circuit.C0 * Complex(circuit.LossTangent, 1) + 1.0 / branch);
}

EquivalentCircuit DescribeCircuit(const ButterworthVanDyke& circuit) {
    EquivalentCircuit described;
    described.Circuit = circuit;
    const double omegaS = 1 / std::sqrt(circuit.L1 * circuit.C1);
    described.SeriesResonanceKHz = omegaS / kTwoPi / 1e3;
    described.ParallelResonanceKHz =
        described.SeriesResonanceKHz * std::sqrt(1 + circuit.C1 / circuit.C0);
    described.QualityFactor = 1 / (omegaS * circuit.R1 * circuit.C1);
    const double ratio = described.SeriesResonanceKHz / described.ParallelResonanceKHz;
    described.CouplingFactor = std::sqrt(1 - ratio * ratio);
    return described;
}

std::vector<ImpedancePoint> PointsInWindow(const CurveStore& store, double windowMin,
                                           double windowMax) {
    std::vector<ImpedancePoint> points;
    const int count = std::min(store.pointCount(kImpedanceCurve), store.pointCount(kPhaseCurve));
    for (int i = 0; i < count; ++i) {
        const CurvePoint z = store.point(kImpedanceCurve, i);
        if (!(z.x > windowMin && z.x < windowMax) || !positiveFinite(z.y))
            continue;
        const double theta = store.y(kPhaseCurve, i);
        if (std::isfinite(theta))
            points.push_back({z.x, z.y, theta});
    }
    return points;
}

std::optional<ButterworthVanDyke> StartingCircuit(const std::vector<ImpedancePoint>& points) {
    if (!showsResonance(points))
        return std::nullopt;
    const auto [low, high] = extremes(points);
    const double fs = points[low].FrequencyKHz;
    const double fp = points[high].FrequencyKHz;
    if (!(fp > fs && fs > 0))
        return std::nullopt;
    const double excess = (fp / fs) * (fp / fs) - 1; // C1 / C0

    // Away from the resonance the sample is the capacitance C0 (1 + excess / (1 - (f/fs)^2)):
    // take C0 from the end of the window where that factor is nearest 1.
    double c0 = 0;
    double bestDistance = 1e300;
    for (const ImpedancePoint& end : {points.front(), points.back()}) {
        const double ratio = end.FrequencyKHz / fs;
        const double factor = 1 + excess / (1 - ratio * ratio);
        const Complex z = std::polar(end.MagnitudeOhm, end.ThetaDeg * std::numbers::pi / 180);
        const double capacitance = (1.0 / z).imag() / omegaOf(end.FrequencyKHz);
        if (factor > 0.2 && capacitance > 0 && std::fabs(factor - 1) < bestDistance) {
            bestDistance = std::fabs(factor - 1);
            c0 = capacitance / factor;
        }
    }
    if (!positiveFinite(c0))
        return std::nullopt;
    const double c1 = c0 * excess;
    const double omegaS = omegaOf(fs);
    const ButterworthVanDyke start{c0, points[low].MagnitudeOhm, 1 / (omegaS * omegaS * c1), c1};
    if (!positiveFinite(start.R1) || !positiveFinite(start.L1) || !positiveFinite(start.C1))
        return std::nullopt;
    return start;
}

FitOutcome FitEquivalentCircuit(const std::vector<ImpedancePoint>& points) {
    const int count = static_cast<int>(points.size());
    if (count < kMinimumFitPoints)
        return refuse(FitRefusal::TooFewPoints,
                      Text(Txt::FitTooFewPoints).arg(count).arg(kMinimumFitPoints));
    const std::optional<ButterworthVanDyke> start = StartingCircuit(points);
    if (!start)
        return refuse(FitRefusal::NoResonance, Text(Txt::FitNoResonance));

    std::vector<MeasuredPoint> measured;
    measured.reserve(points.size());
    for (const ImpedancePoint& p : points)
        measured.push_back({omegaOf(p.FrequencyKHz),
                            std::polar(p.MagnitudeOhm, p.ThetaDeg * std::numbers::pi / 180),
                            p.MagnitudeOhm});

    // The grid may hold the series resonance anywhere between two points: besides the point of
    // smallest |Z| itself, start half a step to either side and keep the best fit.
    const size_t low = extremes(points).first;
    const double stepBelow = points[low].FrequencyKHz - points[low - 1].FrequencyKHz;
    const double stepAbove = points[low + 1].FrequencyKHz - points[low].FrequencyKHz;
    const FitParameters base = parametersOf(*start);
    std::optional<Attempt> best;
    for (const double shiftKHz : {0.0, -stepBelow / 2, stepAbove / 2}) {
        FitParameters shifted = base;
        shifted.OmegaS = omegaOf(points[low].FrequencyKHz + shiftKHz);
        const std::optional<Attempt> attempt = minimise(measured, shifted);
        if (attempt && (!best || attempt->Rms < best->Rms))
            best = attempt;
    }
    if (!best)
        return refuse(FitRefusal::NotConverged, Text(Txt::FitNotConverged));

    EquivalentCircuit fit = DescribeCircuit(circuitOf(best->Parameters));
    fit.RelativeRms = best->Rms;
    fit.Points = count;
    const ButterworthVanDyke& c = fit.Circuit;
    const bool physical = positiveFinite(c.C0) && positiveFinite(c.R1) && positiveFinite(c.L1) &&
                          positiveFinite(c.C1) && positiveFinite(fit.ParallelResonanceKHz);
    const bool inside = fit.SeriesResonanceKHz > points.front().FrequencyKHz &&
                        fit.ParallelResonanceKHz < points.back().FrequencyKHz;
    if (!physical || !inside)
        return refuse(FitRefusal::NotConverged, Text(Txt::FitNotInside));
    if (fit.RelativeRms > kMaximumFitRms)
        return refuse(FitRefusal::PoorFit,
                      Text(Txt::FitPoor).arg(fit.RelativeRms * 100, 0, 'f', 1));
    FitOutcome outcome;
    outcome.Fit = fit;
    return outcome;
}

} // namespace ymt
