// Results and points of an opened spectrum file.
#include "records/OpenedSpectrum.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"

#include <algorithm>

namespace ymt {

OpenedSpectrumResults ResultsOfSpectrumFile(const SpectrumFileContent& file, bool tandPerMille) {
    OpenedSpectrumResults opened;
    EvaluationResults& values = opened.Values;
    opened.Cap = file.capacitance;
    values.CapNF = ParseNumber(file.capacitance);
    values.TanD = file.tand;
    opened.TanD = file.hasTand ? FixedText(tandPerMille ? file.tand / 10 : file.tand, 1, 1)
                               : QStringLiteral("---");
    opened.Eps = file.eps;
    values.EpsRel = ParseNumber(file.eps);
    opened.FMin = file.fmin;
    values.FMin = ParseNumber(file.fmin);
    opened.FMax = file.fmax;
    values.FMax = ParseNumber(file.fmax);
    opened.KEff = file.keff;
    values.KEff = ParseNumber(file.keff);
    if (values.FMin == 0 || values.FMax == 0) {
        values.FMin = 0;
        values.FMax = 0;
    }
    opened.KMode = file.kmode;
    values.KMode = ParseNumber(file.kmode);
    opened.HasQuality = file.hasQuality;
    if (file.hasQuality) {
        opened.Q3dB = file.q3db;
        values.Q3dB = ParseNumber(file.q3db);
        opened.B3dB = file.b3db;
        values.B3dB = file.b3dbValue;
    }
    return opened;
}

void LoadSpectrumPoints(const SpectrumFileContent& file, CurveStore& store) {
    std::vector<SpectrumPoint> points = file.rows.points;
    std::stable_sort(points.begin(), points.end(),
                     [](const auto& a, const auto& b) { return a.frequency < b.frequency; });
    for (const SpectrumPoint& point : points) {
        store.AddPoint(1, point.frequency, point.magnitude);
        store.AddPoint(2, point.frequency, point.phase);
        store.AddPoint(3, point.frequency, point.magnitude);
        store.AddPoint(4, point.frequency, point.phase);
    }
}

} // namespace ymt
