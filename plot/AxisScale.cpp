#include "plot/AxisScale.h"

#include "core/Misc.h"

#include <cmath>
#include <limits>

namespace ymt {

namespace {

// A guard only: real axes have a few hundred ticks at most, but a degenerate font or range
// must not turn the tick loops into endless ones.
constexpr double kMaxTickLoops = 1e6;

double truncated(double value) {
    return std::trunc(value);
}

// Evaluated in this order so that halves round exactly as the drawing has always done.
double pixelAt(const AxisGeometry& g, double offset, double distance) {
    return g.direction > 0 ? g.origin + offset + distance : g.origin - offset - distance;
}

bool inside(const AxisGeometry& g, int pixel) {
    return pixel >= g.insideLow && pixel <= g.insideHigh;
}

bool strictlyInside(const AxisGeometry& g, int pixel) {
    return pixel > g.insideLow && pixel < g.insideHigh;
}

} // namespace

int RoundHalfEven(double value) {
    constexpr double limit = 1e9;
    if (std::isnan(value))
        return 0;
    if (value > limit)
        return static_cast<int>(limit);
    if (value < -limit)
        return -static_cast<int>(limit);
    return static_cast<int>(std::nearbyint(value));
}

TickSteps ChooseSteps(double extent, double labelWidth, double range) {
    range = std::fabs(range);
    TickSteps steps;
    if (!(range > 0) || !std::isfinite(range))
        return steps;
    const int k0 = RoundHalfEven(std::log10(range));
    double candidateOfOne = 0;
    bool first = true;
    for (const double mantissa : {1.0, 2.0, 5.0}) {
        int k = k0;
        // Stops at the latest when the step underflows to 0.
        for (int guard = 0;
             guard < 2000 && labelWidth < extent * (mantissa * std::pow(10.0, k - 1)) / range;
             ++guard)
            --k;
        const double candidate = mantissa * std::pow(10.0, k);
        if (mantissa == 1.0)
            candidateOfOne = candidate;
        if (first || candidate < steps.MajorStep)
            steps.MajorStep = candidate;
        first = false;
    }
    steps.MinorStep = candidateOfOne >= steps.MajorStep ? candidateOfOne / 10 : candidateOfOne;
    return steps;
}

int LabelDecimals(double majorStep) {
    const double exponent = std::log10(majorStep);
    return exponent < 0 ? 1 - RoundHalfEven(exponent) : 0;
}

int DecadeLabelDecimals(int exponent) {
    return exponent < 0 ? -exponent : 0;
}

bool AxisLimitsUsable(double min, double max, bool log) {
    if (!(min < max) || !std::isfinite(max - min))
        return false;
    return !log || (min > 0 && max > 0);
}

QString LinearLabelWidthText(double min, double max) {
    const QString minText = FixedText(min, 1, 0);
    const QString maxText = FixedText(max, 1, 0);
    return (minText.size() > maxText.size() ? minText : maxText) + QStringLiteral("MM");
}

AxisDivision DivideLinearAxis(double min, double max, const AxisGeometry& g, double labelWidth) {
    AxisDivision d;
    const double range = max - min;
    d.Scale = g.plotLength / range;
    const TickSteps steps = ChooseSteps(g.extent, labelWidth, range);
    d.MajorStep = steps.MajorStep;
    d.MinorStep = steps.MinorStep;
    if (!(d.MajorStep > 0) || !(d.MinorStep > 0))
        return d;
    d.Decimals = LabelDecimals(d.MajorStep);

    const double n0 = truncated(min / d.MajorStep);
    d.Offset = (n0 - min / d.MajorStep) * d.MajorStep * d.Scale;
    const double majorCount = truncated(range / d.MajorStep) + 1;
    for (double i = 0; i <= majorCount && i < kMaxTickLoops; ++i) {
        const int pixel = RoundHalfEven(pixelAt(g, d.Offset, i * d.MajorStep * d.Scale));
        if (!inside(g, pixel))
            continue;
        const double value = (n0 + i) * d.MajorStep;
        d.Major.push_back({pixel, value, FixedText(value, 1, d.Decimals)});
    }

    const double m0 = truncated(min / d.MinorStep);
    const double minorOffset = (m0 - min / d.MinorStep) * d.MinorStep * d.Scale;
    const double minorCount = truncated(range / d.MinorStep) + 1;
    for (double i = 0; i <= minorCount && i < kMaxTickLoops; ++i) {
        const int pixel = RoundHalfEven(pixelAt(g, minorOffset, i * d.MinorStep * d.Scale));
        if (inside(g, pixel))
            d.Minor.push_back({pixel, (m0 + i) * d.MinorStep, {}});
    }
    d.Offset = minorOffset; // the working value is that of the last pass
    return d;
}

AxisDivision DivideLogAxis(double min, double max, const AxisGeometry& g) {
    AxisDivision d;
    d.LogMin = std::log10(min);
    d.LogMax = std::log10(max);
    const double span = d.LogMax - d.LogMin;
    d.Scale = g.plotLength / span;
    d.MajorStep = 1;
    const double n0 = truncated(d.LogMin);
    d.Offset = (n0 - d.LogMin) * d.Scale;
    const int lastDecade = static_cast<int>(truncated(span)) + 1;
    for (int f = -1; f <= lastDecade; ++f) {
        const int pixel = RoundHalfEven(pixelAt(g, d.Offset, f * d.Scale));
        const int exponent = static_cast<int>(n0) + f;
        if (inside(g, pixel)) {
            const double value = std::pow(10.0, exponent);
            d.Major.push_back({pixel, value, FixedText(value, 1, DecadeLabelDecimals(exponent))});
        }
        // The minor ticks of a decade count even when its own tick lies outside.
        for (int k = 2; k <= 9; ++k) {
            const double step = std::log10(static_cast<double>(k)) * d.Scale;
            const int minor =
                g.direction > 0 ? RoundHalfEven(step + pixel) : RoundHalfEven(pixel + 1 - step);
            if (strictlyInside(g, minor))
                d.Minor.push_back({minor, k * std::pow(10.0, exponent), {}});
        }
    }
    return d;
}

} // namespace ymt
