#include "plot/curves/CurveUnits.h"

#include <cmath>
#include <cstring>
#include <limits>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

namespace ymt {

namespace {

// Code run earlier in the process (the toolkit's start-up, parts of its drawing) can leave the
// upper halves of the AVX registers in use; the maths library's SSE code then runs with a false
// dependency on them, which made log10 twenty times slower here. Clearing them changes no
// result.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target("avx"))) void zeroUpperHalves() {
    _mm256_zeroupper();
}
void clearUpperVectorHalves() {
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        zeroUpperHalves();
}
#else
void clearUpperVectorHalves() {}
#endif

} // namespace

double AxisUnits(double raw, bool log) {
    if (!std::isfinite(raw) || (log && !(raw > 0)))
        return std::numeric_limits<double>::quiet_NaN();
    return log ? std::log10(raw) : raw;
}

const std::vector<CurvePoint>& CurveUnitsCache::units(int n, const Curve& curve, bool xLog,
                                                      bool yLog) {
    if (!CurveStore::isValidCurve(n))
        return curve.Points;
    Entry& entry = entries_[static_cast<size_t>(n - 1)];
    if (!xLog && !yLog) {
        entry = Entry{};
        return curve.Points;
    }
    const std::vector<CurvePoint>& points = curve.Points;
    // Comparing the points costs a fraction of their logarithms and needs no notice of changes,
    // which can also come through a curve's public point list.
    const bool same =
        entry.xLog == xLog && entry.yLog == yLog && entry.source.size() == points.size() &&
        (points.empty() ||
         std::memcmp(entry.source.data(), points.data(), points.size() * sizeof(CurvePoint)) == 0);
    if (same)
        return entry.units;
    entry.source = points;
    entry.xLog = xLog;
    entry.yLog = yLog;
    entry.units.resize(points.size());
    clearUpperVectorHalves();
    for (size_t i = 0; i < points.size(); ++i)
        entry.units[i] = {AxisUnits(points[i].x, xLog), AxisUnits(points[i].y, yLog)};
    return entry.units;
}

} // namespace ymt
