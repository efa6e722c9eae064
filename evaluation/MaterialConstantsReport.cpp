#include "evaluation/MaterialConstantsReport.h"

#include "core/TextCatalogue.h"

#include <cmath>

namespace ymt {
namespace {

std::optional<double> positive(double value, double scale) {
    return value > 0 ? std::optional<double>(value * scale) : std::nullopt;
}

// Six significant digits everywhere, so that window, clipboard, protocol and state agree.
QString number(double value) {
    return QString::number(value, 'g', 6);
}

QString missingText(const std::vector<MaterialInput>& missing) {
    QStringList names;
    for (MaterialInput input : missing)
        names << MaterialInputName(input);
    return Text(Txt::MaterialMissing).arg(names.join(QStringLiteral(", ")));
}

QString withUnit(const QString& value, const QString& unit) {
    return unit.isEmpty() ? value : value + QLatin1Char(' ') + unit;
}

// "name = 1.2 mm" or "name: missing" for an optional input in SI, shown scaled.
QString inputLine(const QString& name, const std::optional<double>& si, double scale,
                  const QString& unit) {
    if (!si)
        return name + QStringLiteral(": ") + Text(Txt::MaterialMissing).arg(name);
    return name + QStringLiteral(" = ") + withUnit(number(*si * scale), unit);
}

} // namespace

std::optional<double> FindRadialOvertoneKHz(const std::vector<ImpedancePoint>& spectrum,
                                            double fsKHz) {
    if (!(fsKHz > 0))
        return std::nullopt;
    const double low = 2.3 * fsKHz, high = 3.0 * fsKHz;
    std::optional<size_t> best;
    for (size_t i = 1; i + 1 < spectrum.size(); ++i) {
        const double f = spectrum[i].FrequencyKHz;
        const double z = spectrum[i].MagnitudeOhm;
        if (f < low || f > high || !(z > 0))
            continue;
        const bool interior = z < spectrum[i - 1].MagnitudeOhm && z <= spectrum[i + 1].MagnitudeOhm;
        if (interior && (!best || z < spectrum[*best].MagnitudeOhm))
            best = i;
    }
    if (!best)
        return std::nullopt;
    // The vertex of the parabola through log|Z| of the minimum and its neighbours.
    const ImpedancePoint& a = spectrum[*best - 1];
    const ImpedancePoint& b = spectrum[*best];
    const ImpedancePoint& c = spectrum[*best + 1];
    const double ya = std::log(a.MagnitudeOhm), yb = std::log(b.MagnitudeOhm),
                 yc = std::log(c.MagnitudeOhm);
    const double xa = a.FrequencyKHz, xb = b.FrequencyKHz, xc = c.FrequencyKHz;
    const double numerator = (xb - xa) * (xb - xa) * (yb - yc) - (xb - xc) * (xb - xc) * (yb - ya);
    const double denominator = (xb - xa) * (yb - yc) - (xb - xc) * (yb - ya);
    if (!(std::fabs(denominator) > 0))
        return xb;
    const double vertex = xb - 0.5 * numerator / denominator;
    return vertex > xa && vertex < xc ? vertex : xb;
}

MaterialInputs MaterialInputsFrom(const MaterialWindowInputs& w, ResonanceSource* source) {
    MaterialInputs in;
    in.Mode = w.Mode;
    ResonanceSource from = ResonanceSource::None;
    if (w.Fit && w.Fit->SeriesResonanceKHz > 0) {
        from = ResonanceSource::CircuitFit;
        in.FsHz = positive(w.Fit->SeriesResonanceKHz, 1e3);
        in.FpHz = positive(w.Fit->ParallelResonanceKHz, 1e3);
        in.R1Ohm = positive(w.Fit->Circuit.R1, 1);
        in.C1F = positive(w.Fit->Circuit.C1, 1);
        in.ClampedCapacitanceF = positive(w.Fit->Circuit.C0, 1);
    } else if (w.FMinKHz > 0 || w.FMaxKHz > 0) {
        from = ResonanceSource::MinMax;
        in.FsHz = positive(w.FMinKHz, 1e3);
        in.FpHz = positive(w.FMaxKHz, 1e3);
    }
    if (source)
        *source = from;
    in.Q3dB = positive(w.Q3dB, 1);
    in.FreeCapacitanceF = positive(w.CapNF, 1e-9);
    in.DensityKgM3 = w.Sample.DensityKgM3;
    in.TypedPoissonRatio = w.Sample.PoissonRatio;
    if (w.SecondRadialFsKHz)
        in.SecondRadialFsHz = positive(*w.SecondRadialFsKHz, 1e3);

    const SampleDescription& s = w.Sample;
    const std::optional<double> distance = positive(s.ElectrodeDistance, 1e-3);
    const std::optional<double> area = positive(s.ElectrodeArea, 1e-6);
    const bool circular = s.Geometry == GeometryKind::CircularDisc;
    const bool rectangular = s.Geometry == GeometryKind::RectangularDisc;
    switch (w.Mode) {
    case ModeK31:
        in.ThicknessM = distance;
        if (rectangular) {
            in.LengthM = positive(s.Dimension1, 1e-3);
            in.WidthM = positive(s.Dimension2, 1e-3);
        }
        break;
    case ModeK33:
        // The rod's electrodes are on its ends: their distance is its length.
        in.LengthM = distance;
        in.AreaM2 = area;
        if (circular)
            in.DiameterM = positive(s.Dimension1, 1e-3);
        break;
    case ModeKt:
    case ModeK15:
        in.ThicknessM = distance;
        in.AreaM2 = area;
        break;
    case ModeKp:
        in.ThicknessM = distance;
        if (circular)
            in.DiameterM = positive(s.Dimension1, 1e-3);
        break;
    default:
        break;
    }
    return in;
}

MaterialReport BuildMaterialReport(const MaterialWindowInputs& window) {
    MaterialReport report;
    report.Inputs = MaterialInputsFrom(window, &report.Source);
    report.Result = ComputeMaterialConstants(report.Inputs);
    report.CapFrequencyText = window.CapFrequencyKHz;
    return report;
}

QStringList MaterialConstantLines(const MaterialReport& report) {
    QStringList lines;
    for (const MaterialConstant& c : report.Result.Constants) {
        if (!c.Value) {
            lines << c.Name + QStringLiteral(" = ---  (") + missingText(c.Missing) +
                         QLatin1Char(')');
            continue;
        }
        const double v = *c.Value;
        QString line = c.Name + QStringLiteral(" = ") +
                       withUnit(number(v * SiFactor(c.Unit)), SiUnitText(c.Unit));
        const QString customary = CustomaryUnitText(c.Unit);
        if (!customary.isEmpty() && customary != SiUnitText(c.Unit))
            line += QStringLiteral("  (") +
                    withUnit(number(v * CustomaryFactor(c.Unit)), customary) + QLatin1Char(')');
        lines << line;
    }
    return lines;
}

QStringList MaterialInputLines(const MaterialReport& report) {
    const MaterialInputs& in = report.Inputs;
    QStringList lines;
    const QString source = report.Source == ResonanceSource::CircuitFit ? Text(Txt::MaterialFromFit)
                           : report.Source == ResonanceSource::MinMax
                               ? Text(Txt::MaterialFromMinMax)
                               : Text(Txt::MaterialNoResonance);
    lines << inputLine(QStringLiteral("fs"), in.FsHz, 1e-3, QStringLiteral("kHz")) +
                 QStringLiteral(", ") +
                 inputLine(QStringLiteral("fp"), in.FpHz, 1e-3, QStringLiteral("kHz")) +
                 QStringLiteral(" (") + source + QLatin1Char(')');
    lines << inputLine(QStringLiteral("C^T"), in.FreeCapacitanceF, 1e9, QStringLiteral("nF"));
    if (in.FreeCapacitanceF)
        lines.last() += Text(Txt::MaterialCapacitanceAt).arg(report.CapFrequencyText);
    if (in.Mode == ModeKt)
        lines << inputLine(QStringLiteral("C^S"), in.ClampedCapacitanceF, 1e9,
                           QStringLiteral("nF"));
    // Named as the constants name what they miss.
    const struct {
        MaterialInput name;
        std::optional<double> MaterialInputs::*value;
        double scale;
        const char* unit;
        bool used;
    } dimensions[] = {
        {MaterialInput::Length, &MaterialInputs::LengthM, 1e3, "mm",
         in.Mode == ModeK31 || in.Mode == ModeK33},
        {MaterialInput::Width, &MaterialInputs::WidthM, 1e3, "mm", in.Mode == ModeK31},
        {MaterialInput::Thickness, &MaterialInputs::ThicknessM, 1e3, "mm", in.Mode != ModeK33},
        {MaterialInput::Diameter, &MaterialInputs::DiameterM, 1e3, "mm",
         in.Mode == ModeK33 || in.Mode == ModeKp},
        {MaterialInput::Area, &MaterialInputs::AreaM2, 1e6, "mm²",
         in.Mode == ModeK33 || in.Mode == ModeKt || in.Mode == ModeK15},
    };
    for (const auto& d : dimensions)
        if (d.used)
            lines << inputLine(MaterialInputName(d.name), in.*d.value, d.scale,
                               QString::fromUtf8(d.unit));
    lines << inputLine(MaterialInputName(MaterialInput::Density), in.DensityKgM3, 1,
                       QStringLiteral("kg/m^3"));
    if (in.Mode == ModeKp) {
        const MaterialConstant* sigma = FindMaterialConstant(report.Result, u"sigma");
        const PoissonSource from = report.Result.SigmaSource;
        const QString how = from == PoissonSource::Overtone
                                ? Text(Txt::MaterialSigmaOvertone)
                                      .arg(number(in.SecondRadialFsHz.value_or(0) * 1e-3))
                            : from == PoissonSource::Typed ? Text(Txt::MaterialSigmaTyped)
                                                           : Text(Txt::MaterialSigmaDefault);
        lines << QStringLiteral("sigma = ") +
                     (sigma && sigma->Value ? number(*sigma->Value) : QStringLiteral("---")) +
                     QStringLiteral(" (") + how + QLatin1Char(')');
    }
    return lines;
}

QStringList MaterialWarningLines(const MaterialReport& report) {
    QStringList lines;
    for (const SizeWarning& warning : report.Result.Warnings)
        lines << SizeWarningText(warning);
    return lines;
}

QString MaterialReportText(const MaterialReport& report) {
    if (report.Result.Constants.empty())
        return Text(Txt::MaterialNoMode);
    QStringList lines;
    lines << Text(Txt::MaterialHeadingConstants) + QLatin1Char(':');
    for (const QString& line : MaterialConstantLines(report))
        lines << QStringLiteral("  ") + line;
    lines << QString() << Text(Txt::MaterialHeadingInputs) + QLatin1Char(':');
    for (const QString& line : MaterialInputLines(report))
        lines << QStringLiteral("  ") + line;
    const QStringList warnings = MaterialWarningLines(report);
    if (!warnings.isEmpty()) {
        lines << QString() << Text(Txt::MaterialHeadingWarnings) + QLatin1Char(':');
        for (const QString& line : warnings)
            lines << QStringLiteral("  ") + line;
    }
    return lines.join(QLatin1Char('\n'));
}

QStringList MaterialStateLines(const MaterialReport* report) {
    QStringList lines;
    if (!report || report->Result.Constants.empty())
        return lines;
    for (const MaterialConstant& c : report->Result.Constants)
        if (c.Value)
            lines << QStringLiteral("mat.") + c.Name + QLatin1Char('=') + number(*c.Value);
    if (report->Inputs.FsHz)
        lines << QStringLiteral("mat.fs=") + number(*report->Inputs.FsHz * 1e-3);
    if (report->Inputs.FpHz)
        lines << QStringLiteral("mat.fp=") + number(*report->Inputs.FpHz * 1e-3);
    return lines;
}

QString MaterialProtocolLine(const QString& sampleName, const MaterialReport& report) {
    QStringList fields{sampleName};
    for (const QString& line : MaterialStateLines(&report))
        fields << line.mid(4); // without "mat."
    return fields.join(QLatin1Char('\t'));
}

} // namespace ymt
