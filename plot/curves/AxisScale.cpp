#include "plot/curves/AxisScale.h"

#include "core/Misc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

TickSteps NextCoarserSteps(double majorStep) {
    const double decade = std::pow(10.0, std::floor(std::log10(majorStep) + 1e-9));
    const double mantissa = std::round(majorStep / decade);
    if (mantissa < 1.5)
        return {2 * decade, decade};
    if (mantissa < 3.5)
        return {5 * decade, decade};
    return {10 * decade, decade};
}

int LabelDecimals(double majorStep) {
    // The tolerance keeps steps such as 0.001, whose logarithm lies a hair above -3, at 3.
    const double exponent = std::floor(std::log10(majorStep) + 1e-9);
    return exponent < 0 ? static_cast<int>(-exponent) : 0;
}

int DecadeLabelDecimals(int exponent) {
    return exponent < 0 ? -exponent : 0;
}

QString DecadeLabel(int exponent) {
    if (exponent >= -6 && exponent <= 7)
        return FixedText(std::pow(10.0, exponent), 1, DecadeLabelDecimals(exponent));
    return QStringLiteral("1E%1").arg(exponent);
}

bool DecadeLabelsScientific(int lowExponent, int highExponent) {
    return lowExponent < -6 || highExponent > 7;
}

QString MultipleLabel(int k, int exponent, bool scientific) {
    if (scientific)
        return QStringLiteral("%1E%2").arg(k).arg(exponent);
    return FixedText(k * std::pow(10.0, exponent), 1, DecadeLabelDecimals(exponent));
}

bool AxisLimitsUsable(double min, double max, bool log) {
    if (!(min < max) || !std::isfinite(max - min))
        return false;
    return !log || (min > 0 && max > 0);
}

QString LinearLabel(double value, int decimals, double step) {
    const QString fixed = FixedText(value, 1, decimals);
    if (fixed.size() <= kLongestFixedLabel || value == 0)
        return fixed;
    // Enough significant digits to tell neighbouring ticks apart.
    const int digits = std::clamp(static_cast<int>(std::floor(std::log10(std::fabs(value))) -
                                                   std::floor(std::log10(std::fabs(step)) + 1e-9)) +
                                      1,
                                  1, 15);
    QString text = QString::number(value, 'e', digits - 1);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    QString mantissa = text.left(e);
    if (mantissa.contains(QLatin1Char('.'))) {
        while (mantissa.endsWith(QLatin1Char('0')))
            mantissa.chop(1);
        if (mantissa.endsWith(QLatin1Char('.')))
            mantissa.chop(1);
    }
    return mantissa + QStringLiteral("E") + QString::number(text.mid(e + 1).toInt());
}

QString LinearLabelWidthText(double min, double max) {
    const QString minText = LinearLabel(min, 0, std::fabs(min));
    const QString maxText = LinearLabel(max, 0, std::fabs(max));
    return (minText.size() > maxText.size() ? minText : maxText) + QStringLiteral("MM");
}

namespace {

double widestLabel(const std::vector<AxisTick>& ticks, const LabelMetrics& metrics) {
    double widest = 0;
    for (const AxisTick& tick : ticks)
        widest = std::max(widest, metrics.width(tick.label));
    return widest;
}

// The labels of neighbouring major ticks keep their gap when the narrowest tick distance
// leaves room for the widest label.
bool labelsFit(const std::vector<AxisTick>& ticks, const LabelMetrics& metrics) {
    if (!metrics.width || ticks.size() < 2)
        return true;
    int narrowest = std::numeric_limits<int>::max();
    for (size_t i = 1; i < ticks.size(); ++i)
        narrowest = std::min(narrowest, std::abs(ticks[i].pixel - ticks[i - 1].pixel));
    return narrowest >= widestLabel(ticks, metrics) + metrics.gap;
}

// Ticks of a linear division at the given steps; `toPixel` maps an axis value (or, for the
// plain linear axis, the tick's number and step) to its pixel.
template <typename ToPixel>
std::vector<AxisTick> stepTicks(double min, double max, double step, int decimals,
                                const AxisGeometry& g, bool withLabels, ToPixel toPixel) {
    std::vector<AxisTick> ticks;
    const double n0 = truncated(min / step);
    const double count = truncated((max - min) / step) + 1;
    for (double i = 0; i <= count && i < kMaxTickLoops; ++i) {
        const int pixel = toPixel(n0, i, step);
        if (!inside(g, pixel))
            continue;
        const double value = (n0 + i) * step;
        ticks.push_back(
            {pixel, value, withLabels ? LinearLabel(value, decimals, step) : QString()});
    }
    return ticks;
}

// Leaves out minor ticks nearer than kMinimumMinorTickDistance to a major tick or to the minor
// tick kept before them. Both lists run in ascending value order.
std::vector<AxisTick> thinMinorTicks(const std::vector<AxisTick>& minor,
                                     const std::vector<AxisTick>& major) {
    std::vector<AxisTick> kept;
    kept.reserve(minor.size());
    auto tooNear = [](int a, int b) { return std::abs(a - b) < kMinimumMinorTickDistance; };
    for (const AxisTick& tick : minor) {
        bool nearMajor = false;
        for (const AxisTick& m : major)
            if (tooNear(m.pixel, tick.pixel)) {
                nearMajor = tick.pixel != m.pixel;
                if (nearMajor)
                    break;
            }
        if (nearMajor)
            continue;
        if (!kept.empty() && tooNear(kept.back().pixel, tick.pixel))
            continue;
        kept.push_back(tick);
    }
    return kept;
}

int logPixel(const AxisGeometry& g, double logValue, double logMin, double scale) {
    return RoundHalfEven(pixelAt(g, 0, (logValue - logMin) * scale));
}

} // namespace

AxisDivision DivideLinearAxis(double min, double max, const AxisGeometry& g, double labelWidth,
                              const LabelMetrics& metrics) {
    AxisDivision d;
    const double range = max - min;
    d.Scale = g.plotLength / range;
    TickSteps steps = ChooseSteps(g.extent, labelWidth, range);
    if (!(steps.MajorStep > 0) || !(steps.MinorStep > 0))
        return d;
    auto linearPixel = [&](double n0, double i, double step) {
        const double offset = (n0 - min / step) * step * d.Scale;
        return RoundHalfEven(pixelAt(g, offset, i * step * d.Scale));
    };
    for (int coarser = 0; coarser < 64; ++coarser) {
        d.MajorStep = steps.MajorStep;
        d.MinorStep = steps.MinorStep;
        d.Decimals = LabelDecimals(d.MajorStep);
        d.Major = stepTicks(min, max, d.MajorStep, d.Decimals, g, true, linearPixel);
        if (labelsFit(d.Major, metrics))
            break;
        steps = NextCoarserSteps(steps.MajorStep);
    }
    d.Minor = stepTicks(min, max, d.MinorStep, 0, g, false, linearPixel);
    // The working value is that of the last pass, the minor ticks.
    d.Offset = (truncated(min / d.MinorStep) - min / d.MinorStep) * d.MinorStep * d.Scale;
    return d;
}

namespace {

// Decade ticks with labels on every `stride`-th decade; the decades between them and the
// multiples 2..9 inside each decade become minor ticks.
void divideByDecades(AxisDivision& d, const AxisGeometry& g, const LabelMetrics& metrics) {
    const double span = d.LogMax - d.LogMin;
    const double n0 = truncated(d.LogMin);
    const int lastDecade = static_cast<int>(truncated(span)) + 1;
    struct Decade {
        int pixel;
        int exponent;
    };
    std::vector<Decade> decades;
    std::vector<int> insideExponents;
    for (int f = -1; f <= lastDecade; ++f) {
        const int pixel = RoundHalfEven(pixelAt(g, d.Offset, f * d.Scale));
        const int exponent = static_cast<int>(n0) + f;
        decades.push_back({pixel, exponent});
        if (inside(g, pixel))
            insideExponents.push_back(exponent);
    }
    const bool scientific = !insideExponents.empty() &&
                            DecadeLabelsScientific(insideExponents.front(), insideExponents.back());
    auto labelOf = [scientific](int exponent) { return MultipleLabel(1, exponent, scientific); };
    std::vector<AxisTick> labelled;
    for (const int exponent : insideExponents)
        labelled.push_back({0, 0, labelOf(exponent)});
    // Labels on every stride-th decade (1, 2, 5, 10, 20 ...) so that they keep their gap.
    int stride = 1;
    if (metrics.width) {
        const double needed = widestLabel(labelled, metrics) + metrics.gap;
        while (stride * d.Scale < needed && stride < 1000000)
            stride = static_cast<int>(NextCoarserSteps(stride).MajorStep);
    }
    // The labelled decades are the multiples of the stride, unless another choice of the first
    // one labels more of the decades inside (a 9.7-decade axis with a stride of 5 could keep a
    // single label otherwise).
    auto residue = [stride](int exponent) { return ((exponent % stride) + stride) % stride; };
    auto labelsWith = [&](int phase) {
        return std::count_if(insideExponents.begin(), insideExponents.end(),
                             [&](int exponent) { return residue(exponent) == phase; });
    };
    int phase = 0;
    auto mostLabels = labelsWith(0);
    for (const int exponent : insideExponents) {
        const auto count = labelsWith(residue(exponent));
        if (count > mostLabels) {
            mostLabels = count;
            phase = residue(exponent);
        }
    }
    // Unlabelled decades get minor ticks on every tickStride-th decade where those stay apart.
    int tickStride = 1;
    while (tickStride < stride && tickStride * d.Scale < kMinimumMinorTickDistance)
        tickStride = static_cast<int>(NextCoarserSteps(tickStride).MajorStep);

    std::vector<AxisTick> minor;
    for (const Decade& decade : decades) {
        const bool inDecadeTicks = d.Scale * std::log10(10.0 / 9.0) >= 1;
        const bool labelledDecade = residue(decade.exponent) == phase;
        if (inside(g, decade.pixel)) {
            const double value = std::pow(10.0, decade.exponent);
            if (labelledDecade)
                d.Major.push_back({decade.pixel, value, labelOf(decade.exponent)});
            else if (decade.exponent % tickStride == 0)
                minor.push_back({decade.pixel, value, {}});
        }
        if (!inDecadeTicks)
            continue;
        // The minor ticks of a decade count even when its own tick lies outside.
        for (int k = 2; k <= 9; ++k) {
            const double step = std::log10(static_cast<double>(k)) * d.Scale;
            const int pixel = g.direction > 0 ? RoundHalfEven(step + decade.pixel)
                                              : RoundHalfEven(decade.pixel + 1 - step);
            if (strictlyInside(g, pixel))
                minor.push_back({pixel, k * std::pow(10.0, decade.exponent), {}});
        }
    }
    d.Minor = thinMinorTicks(minor, d.Major);
}

// Less than two decades inside: labels at 1, 2 and 5 times a power of ten.
bool divideByMultiples(AxisDivision& d, const AxisGeometry& g) {
    const int first = static_cast<int>(std::floor(d.LogMin)) - 1;
    const int last = static_cast<int>(std::ceil(d.LogMax)) + 1;
    const bool scientific = DecadeLabelsScientific(static_cast<int>(std::floor(d.LogMin)),
                                                   static_cast<int>(std::floor(d.LogMax)));
    std::vector<AxisTick> major;
    std::vector<AxisTick> minor;
    for (int exponent = first; exponent <= last; ++exponent) {
        for (int k = 1; k <= 9; ++k) {
            const double value = k * std::pow(10.0, exponent);
            const int pixel = logPixel(g, std::log10(value), d.LogMin, d.Scale);
            if (!inside(g, pixel))
                continue;
            if (k == 1 || k == 2 || k == 5)
                major.push_back({pixel, value, MultipleLabel(k, exponent, scientific)});
            else if (strictlyInside(g, pixel))
                minor.push_back({pixel, value, {}});
        }
    }
    if (major.size() < 2)
        return false;
    d.Major = std::move(major);
    d.Minor = thinMinorTicks(minor, d.Major);
    return true;
}

// Less than two 1-2-5 multiples inside: the steps of a linear axis over the same range.
void divideLinearlyOnLogScale(AxisDivision& d, double min, double max, const AxisGeometry& g,
                              const LabelMetrics& metrics) {
    const double estimate = metrics.width ? metrics.width(LinearLabelWidthText(min, max))
                                          : 8.0 * LinearLabelWidthText(min, max).size();
    TickSteps steps = ChooseSteps(g.extent, estimate, max - min);
    if (!(steps.MajorStep > 0))
        return;
    auto onLogScale = [&](double n0, double i, double step) {
        const double value = (n0 + i) * step;
        return value > 0 ? logPixel(g, std::log10(value), d.LogMin, d.Scale) : g.insideLow - 1;
    };
    for (int coarser = 0; coarser < 64; ++coarser) {
        d.Major = stepTicks(min, max, steps.MajorStep, LabelDecimals(steps.MajorStep), g, true,
                            onLogScale);
        if (labelsFit(d.Major, metrics))
            break;
        steps = NextCoarserSteps(steps.MajorStep);
    }
    d.Decimals = LabelDecimals(steps.MajorStep);
    d.Minor =
        thinMinorTicks(stepTicks(min, max, steps.MinorStep, 0, g, false, onLogScale), d.Major);
}

} // namespace

AxisDivision DivideLogAxis(double min, double max, const AxisGeometry& g,
                           const LabelMetrics& metrics) {
    AxisDivision d;
    d.LogMin = std::log10(min);
    d.LogMax = std::log10(max);
    const double span = d.LogMax - d.LogMin;
    d.Scale = g.plotLength / span;
    d.MajorStep = 1;
    d.Offset = (truncated(d.LogMin) - d.LogMin) * d.Scale;

    int decadesInside = 0;
    for (double e = std::ceil(d.LogMin); e <= d.LogMax && decadesInside < 2; ++e)
        if (inside(g, logPixel(g, e, d.LogMin, d.Scale)))
            ++decadesInside;
    if (decadesInside >= 2)
        divideByDecades(d, g, metrics);
    else if (!divideByMultiples(d, g))
        divideLinearlyOnLogScale(d, min, max, g, metrics);
    return d;
}

std::vector<std::optional<int>> PlaceAxisLabels(const std::vector<AxisTick>& major,
                                                const LabelMetrics& metrics, int low, int high) {
    std::vector<std::optional<int>> centres(major.size());
    std::vector<size_t> order(major.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return major[a].pixel < major[b].pixel; });
    double lastEnd = -std::numeric_limits<double>::infinity();
    for (const size_t i : order) {
        const double width = metrics.width ? metrics.width(major[i].label) : 0;
        double start = major[i].pixel - width / 2;
        if (start + width > high)
            start = high - width;
        if (start < low)
            start = low;
        if (start < lastEnd + metrics.gap)
            continue;
        centres[i] = static_cast<int>(std::lround(start + width / 2));
        lastEnd = start + width;
    }
    return centres;
}

} // namespace ymt
