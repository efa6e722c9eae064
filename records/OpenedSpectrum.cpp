// Results and points of an opened spectrum file.
#include "records/OpenedSpectrum.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"

#include <algorithm>

namespace ymt {

OpenedSpectrumResults ResultsOfSpectrumFile(const SpectrumFileContent& file, bool tandPerMille) {
    OpenedSpectrumResults opened;
    EvaluationResults& values = opened.Values;
    ShownResults& shown = opened.Shown;
    auto kept = [](const QString& text) { return ResultValue::FromText(text, ParseNumber(text)); };
    shown.Cap = kept(file.capacitance);
    values.CapNF = ParseNumber(file.capacitance);
    values.TanD = file.tand;
    if (file.hasTand)
        shown.TanD = ResultValue(tandPerMille ? file.tand / 10 : file.tand, 1);
    shown.Eps = kept(file.eps);
    values.EpsRel = ParseNumber(file.eps);
    shown.FMin = kept(file.fmin);
    values.FMin = ParseNumber(file.fmin);
    shown.FMax = kept(file.fmax);
    values.FMax = ParseNumber(file.fmax);
    shown.KEff = kept(file.keff);
    values.KEff = ParseNumber(file.keff);
    if (values.FMin == 0 || values.FMax == 0) {
        values.FMin = 0;
        values.FMax = 0;
    }
    shown.KMode = kept(file.kmode);
    values.KMode = ParseNumber(file.kmode);
    opened.HasQuality = file.hasQuality;
    if (file.hasQuality) {
        shown.Q3dB = kept(file.q3db);
        values.Q3dB = ParseNumber(file.q3db);
        shown.B3dB = kept(file.b3db);
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
