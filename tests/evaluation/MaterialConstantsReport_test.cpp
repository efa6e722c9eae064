// The window's inputs turned into the relations' inputs, and the result into the lines the
// window, clipboard, protocol and script driver share.
#include "evaluation/MaterialConstantsReport.h"

#include "core/TextCatalogue.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ymt {
namespace {

EquivalentCircuit fitAt(double fsKHz, double fpKHz) {
    EquivalentCircuit fit;
    fit.SeriesResonanceKHz = fsKHz;
    fit.ParallelResonanceKHz = fpKHz;
    fit.Circuit.R1 = 20;
    fit.Circuit.C1 = 0.2e-9;
    fit.Circuit.C0 = 1.5e-9;
    return fit;
}

// A bar 15 x 3 x 1 mm on the rectangular geometry, measured at 1 kHz.
MaterialWindowInputs bar() {
    MaterialWindowInputs w;
    w.Mode = ModeK31;
    w.Sample.Geometry = GeometryKind::RectangularDisc;
    w.Sample.Dimension1 = 15;
    w.Sample.Dimension2 = 3;
    w.Sample.ElectrodeDistance = 1;
    w.Sample.ElectrodeArea = 45;
    w.Sample.DensityKgM3 = 7750;
    w.CapNF = 0.68;
    w.CapFrequencyKHz = QStringLiteral("1.000");
    w.FMinKHz = 105.0;
    w.FMaxKHz = 111.0;
    return w;
}

TEST(MaterialConstantsReport, GeometryFieldsGiveEachModesDimensionsInSi) {
    MaterialWindowInputs w = bar();
    MaterialInputs in = MaterialInputsFrom(w, nullptr);
    EXPECT_DOUBLE_EQ(*in.LengthM, 15e-3);
    EXPECT_DOUBLE_EQ(*in.WidthM, 3e-3);
    EXPECT_DOUBLE_EQ(*in.ThicknessM, 1e-3);
    EXPECT_DOUBLE_EQ(*in.FreeCapacitanceF, 0.68e-9);

    // The rod's length is its electrode distance; its diameter the circular geometry's.
    w.Mode = ModeK33;
    w.Sample.Geometry = GeometryKind::CircularDisc;
    w.Sample.Dimension1 = 6;
    w.Sample.ElectrodeDistance = 15;
    in = MaterialInputsFrom(w, nullptr);
    EXPECT_DOUBLE_EQ(*in.LengthM, 15e-3);
    EXPECT_DOUBLE_EQ(*in.DiameterM, 6e-3);
    EXPECT_FALSE(in.ThicknessM);

    // A disc on a geometry without a diameter has none: named missing, not taken as 0.
    w.Mode = ModeKp;
    w.Sample.Geometry = GeometryKind::Arbitrary;
    in = MaterialInputsFrom(w, nullptr);
    EXPECT_FALSE(in.DiameterM);
    EXPECT_DOUBLE_EQ(*in.ThicknessM, 15e-3);
}

TEST(MaterialConstantsReport, ResonanceComesFromTheFitWhenShownElseFromMinMax) {
    MaterialWindowInputs w = bar();
    ResonanceSource source = ResonanceSource::None;
    MaterialInputs in = MaterialInputsFrom(w, &source);
    EXPECT_EQ(source, ResonanceSource::MinMax);
    EXPECT_DOUBLE_EQ(*in.FsHz, 105e3);
    EXPECT_FALSE(in.C1F);

    w.Fit = fitAt(106.5, 112.25);
    in = MaterialInputsFrom(w, &source);
    EXPECT_EQ(source, ResonanceSource::CircuitFit);
    EXPECT_DOUBLE_EQ(*in.FsHz, 106.5e3);
    EXPECT_DOUBLE_EQ(*in.FpHz, 112.25e3);
    EXPECT_DOUBLE_EQ(*in.R1Ohm, 20);
    EXPECT_DOUBLE_EQ(*in.ClampedCapacitanceF, 1.5e-9);
    EXPECT_TRUE(MaterialReportText(BuildMaterialReport(w)).contains(Text(Txt::MaterialFromFit)));

    w.Fit.reset();
    w.FMinKHz = w.FMaxKHz = 0;
    in = MaterialInputsFrom(w, &source);
    EXPECT_EQ(source, ResonanceSource::None);
    EXPECT_FALSE(in.FsHz);
}

TEST(MaterialConstantsReport, MissingInputsAreNamedNeverZero) {
    MaterialWindowInputs w = bar();
    w.Sample.DensityKgM3.reset();
    w.CapNF = 0;
    const MaterialReport report = BuildMaterialReport(w);
    const QStringList lines = MaterialConstantLines(report);
    const QString sE11 = lines.filter(QStringLiteral("sE11 =")).value(0);
    EXPECT_EQ(sE11, QStringLiteral("sE11 = ---  (missing: density)"));
    EXPECT_TRUE(lines.filter(QStringLiteral("d31 =")).value(0).contains(QStringLiteral("C^T")));
    // k31 needs neither: it still has its value.
    EXPECT_FALSE(lines.filter(QStringLiteral("k31 =")).value(0).contains(QStringLiteral("---")));
    const QStringList state = MaterialStateLines(&report);
    EXPECT_TRUE(state.filter(QStringLiteral("mat.sE11")).isEmpty());
    EXPECT_EQ(state.filter(QStringLiteral("mat.k31=")).size(), 1);
    EXPECT_TRUE(MaterialInputLines(report).contains(QStringLiteral("density: missing: density")));
}

TEST(MaterialConstantsReport, WindowStateAndProtocolCarryTheSameNumbers) {
    MaterialWindowInputs w = bar();
    w.Fit = fitAt(106.5, 112.25);
    const MaterialReport report = BuildMaterialReport(w);
    const QString text = MaterialReportText(report);
    const QStringList state = MaterialStateLines(&report);
    const QString protocol = MaterialProtocolLine(QStringLiteral("bar7"), report);
    const QStringList fields = protocol.split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), state.size() + 1);
    EXPECT_EQ(fields[0], QStringLiteral("bar7"));
    EXPECT_TRUE(state.contains(QStringLiteral("mat.fs=106.5")));
    EXPECT_TRUE(state.contains(QStringLiteral("mat.fp=112.25")));
    for (int i = 0; i < state.size(); ++i) {
        const QString body = state[i].mid(4);
        EXPECT_EQ(fields[i + 1], body);
        const QString name = body.section(QLatin1Char('='), 0, 0);
        const QString value = body.section(QLatin1Char('='), 1);
        if (name == QLatin1String("fs") || name == QLatin1String("fp"))
            continue;
        // The state's number stands in the window: SI, or relative for a permittivity.
        const QString shown = name.startsWith(QLatin1String("eps"))
                                  ? QStringLiteral("(") + value + QStringLiteral(" eps0)")
                                  : name + QStringLiteral(" = ") + value;
        EXPECT_TRUE(text.contains(shown)) << qPrintable(shown);
    }
    const MaterialConstant* eps = FindMaterialConstant(report.Result, u"eps33T");
    ASSERT_TRUE(eps && eps->Value);
    // C^T t / (l w) relative to eps0: 0.68 nF * 1 mm / 45 mm².
    EXPECT_NEAR(*eps->Value, 0.68e-9 * 1e-3 / 45e-6 / kVacuumPermittivityFm, 1e-6 * *eps->Value);
}

TEST(MaterialConstantsReport, NothingShownGivesNoStateLines) {
    EXPECT_TRUE(MaterialStateLines(nullptr).isEmpty());
    MaterialWindowInputs w = bar();
    w.Mode = -1;
    const MaterialReport report = BuildMaterialReport(w);
    EXPECT_TRUE(MaterialStateLines(&report).isEmpty());
    EXPECT_EQ(MaterialReportText(report), Text(Txt::MaterialNoMode));
}

TEST(MaterialConstantsReport, SizeWarningsAndDiscSigmaSourceAreListed) {
    MaterialWindowInputs w = bar();
    w.Sample.Dimension1 = 9; // l/w = 3 < 3.5
    MaterialReport report = BuildMaterialReport(w);
    ASSERT_EQ(MaterialWarningLines(report).size(), 1);
    EXPECT_TRUE(MaterialReportText(report).contains(MaterialWarningLines(report)[0]));

    w.Mode = ModeKp;
    w.Sample.Geometry = GeometryKind::CircularDisc;
    w.Sample.Dimension1 = 20;
    w.Sample.PoissonRatio = 0.34;
    report = BuildMaterialReport(w);
    EXPECT_TRUE(MaterialInputLines(report).contains(QStringLiteral("sigma = 0.34 (as typed)")));
    w.Sample.PoissonRatio.reset();
    report = BuildMaterialReport(w);
    EXPECT_TRUE(MaterialInputLines(report).contains(QStringLiteral("sigma = 0.31 (default)")));
}

// |Z| of a capacitor with series dips at the given frequencies (kHz), on a grid of step kHz.
std::vector<ImpedancePoint> dips(std::vector<double> at, double from, double to, double step) {
    std::vector<ImpedancePoint> points;
    for (double f = from; f <= to; f += step) {
        double z = 1e5 / f;
        for (double d : at)
            z *= 1 - 0.99 / (1 + std::pow((f - d) / 0.8, 2));
        points.push_back({f, z, -90});
    }
    return points;
}

TEST(MaterialConstantsReport, RadialOvertoneIsTheDeepestDipWithinItsRange) {
    // The fundamental at 100 kHz, the overtone at 262.34 kHz between grid points.
    const auto spectrum = dips({100, 262.34, 420}, 80, 450, 0.5);
    const std::optional<double> found = FindRadialOvertoneKHz(spectrum, 100);
    ASSERT_TRUE(found);
    // Closer than the nearest grid point (262.5).
    EXPECT_NEAR(*found, 262.34, 0.12);
    // A spectrum that ends below 2.3 fs, or a dip at its last point, gives none.
    EXPECT_FALSE(FindRadialOvertoneKHz(dips({100}, 80, 220, 0.5), 100));
    EXPECT_FALSE(FindRadialOvertoneKHz(dips({100, 240}, 80, 240, 0.5), 100));
    EXPECT_FALSE(FindRadialOvertoneKHz(spectrum, 0));
}

} // namespace
} // namespace ymt
