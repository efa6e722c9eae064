// Samples made of a material: the complex Bessel functions, where each shape's resonances and
// low-frequency capacitance lie, the sicl.conf keys, and both simulated models answering with it.
#include "InstrumentTestSupport.h"
#include "tests/support/Tolerance.h"

#include "instrument/simulated/MaterialSample.h"
#include "instrument/simulated/SimAnalyzerConfig.h"
#include "tests/support/MaterialSamples.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

using ymt::testing::InstrumentTest;

namespace ymt {
namespace {

constexpr double kPi = std::numbers::pi;
using test::kEps0;

std::complex<double> besselSeries(int n, std::complex<double> z) {
    std::complex<double> sum = 0, term = std::pow(z / 2.0, n) / std::tgamma(n + 1.0);
    for (int k = 0; k < 80; ++k) {
        sum += term;
        term *= -(z / 2.0) * (z / 2.0) / double((k + 1) * (k + 1 + n));
    }
    return sum;
}

TEST(MaterialSampleTest, BesselFunctionsOfRealAndComplexArguments) {
    for (double x : {0.3, 2.0551, 7.3, 48.0, 700.0, 1999.0, 2001.0, 3e4}) {
        // An argument of 700 is itself uncertain by 700 ulp: its Bessel value by about 1e-13.
        // Above 2000 an asymptotic expansion takes over from the integral.
        EXPECT_NEAR(BesselJ(0, x).real(), std::cyl_bessel_j(0.0, x), 1e-12) << x;
        EXPECT_NEAR(BesselJ(1, x).real(), std::cyl_bessel_j(1.0, x), 1e-12) << x;
    }
    // Large lossy arguments, on both sides of the switch to the asymptotic expansion: J0' = -J1.
    for (std::complex<double> z :
         {std::complex<double>(1500, -10), std::complex<double>(2500, -15)}) {
        const double h = 1e-3;
        const std::complex<double> slope = (BesselJ(0, z + h) - BesselJ(0, z - h)) / (2 * h);
        EXPECT_LT(std::abs(slope + BesselJ(1, z)), 1e-6 * std::abs(BesselJ(1, z))) << z;
    }
    for (std::complex<double> z : {std::complex<double>(3, -0.05), std::complex<double>(8, -0.4)}) {
        for (int n : {0, 1})
            EXPECT_LT(std::abs(BesselJ(n, z) - besselSeries(n, z)), 1e-12) << z << " " << n;
    }
}

TEST(MaterialSampleTest, EachShapeResonatesWhereItsModeSaysAndOvertonesFollow) {
    const PiezoMaterial m = test::SoftPzt();
    // Bar: series resonance at X = pi/2, the overtone at three times it.
    const MaterialSample bar = test::SampleOf(SampleShape::Bar);
    const double barFs = 1 / (2 * bar.lengthM * std::sqrt(m.densityKgM3 * m.sE11));
    EXPECT_NEAR(test::ImpedanceExtremum(bar, 0.8 * barFs, 1.05 * barFs, -1, 2000), barFs,
                1e-6 * barFs);
    EXPECT_NEAR(test::ImpedanceExtremum(bar, 2.8 * barFs, 3.05 * barFs, -1, 2000), 3 * barFs,
                1e-5 * barFs);
    // Rod: parallel resonance at X = pi/2, with sD33 = sE33 - d33^2/eps33T.
    const MaterialSample rod = test::SampleOf(SampleShape::Rod);
    const double sD33 = m.sE33 - m.d33 * m.d33 / (m.eps33T * kEps0);
    const double rodFp = 1 / (2 * rod.lengthM * std::sqrt(m.densityKgM3 * sD33));
    EXPECT_NEAR(test::ImpedanceExtremum(rod, 0.9 * rodFp, 1.2 * rodFp, +1, 2000), rodFp,
                1e-6 * rodFp);
    // Shear plate: parallel resonance from cD55 = 1/sD55.
    const MaterialSample shear = test::SampleOf(SampleShape::ShearPlate);
    const double sD55 = m.sE55 - m.d15 * m.d15 / (m.eps11T * kEps0);
    const double shearFp = 1 / (2 * shear.thicknessM * std::sqrt(m.densityKgM3 * sD55));
    EXPECT_NEAR(test::ImpedanceExtremum(shear, 0.9 * shearFp, 1.2 * shearFp, +1, 2000), shearFp,
                1e-6 * shearFp);
    // Disc of sigma 0.31: series resonance at x = 2.0551 (the standard's table).
    PiezoMaterial m31 = m;
    m31.sE12 = -0.31 * m.sE11;
    const MaterialSample disc = test::SampleOf(SampleShape::Disc, m31);
    const double discFs = 2.0551 / (2 * kPi * disc.diameterM / 2 *
                                    std::sqrt(m.densityKgM3 * m.sE11 * (1 - 0.31 * 0.31)));
    EXPECT_NEAR(test::ImpedanceExtremum(disc, 0.8 * discFs, 1.1 * discFs, -1, 2000), discFs,
                1e-4 * discFs);
}

TEST(MaterialSampleTest, FarBelowResonanceEachShapeIsItsFreeCapacitance) {
    const PiezoMaterial m = test::SoftPzt();
    const double bar = m.eps33T * kEps0 * 15e-3 * 3e-3 / 1e-3;
    const double rod = m.eps33T * kEps0 * (kPi * 25e-6 / 4) / 15e-3;
    const double shear = m.eps11T * kEps0 * 400e-6 / 1e-3;
    const double disc = m.eps33T * kEps0 * kPi * 100e-6 / 1e-3;
    // The thickness plate far below its resonance: eps33S A/t / (1 - kt^2), with eps33S and kt
    // of this material worked out by hand from its 6mm constants (826 eps0, kt = 0.485).
    const double plate = 826 * kEps0 * 400e-6 / 1e-3 / (1 - 0.485 * 0.485);
    EXPECT_NEAR(test::CapacitanceAt(test::SampleOf(SampleShape::Bar), 100), bar, 1e-6 * bar);
    EXPECT_NEAR(test::CapacitanceAt(test::SampleOf(SampleShape::Rod), 100), rod, 1e-6 * rod);
    EXPECT_NEAR(test::CapacitanceAt(test::SampleOf(SampleShape::ShearPlate), 100), shear,
                1e-6 * shear);
    EXPECT_NEAR(test::CapacitanceAt(test::SampleOf(SampleShape::Disc), 100), disc, 1e-6 * disc);
    EXPECT_NEAR(test::CapacitanceAt(test::SampleOf(SampleShape::ThicknessPlate), 100), plate,
                5e-3 * plate);
    // The dielectric loss: G/B = tand below resonance.
    const std::complex<double> y =
        1.0 /
        MaterialSampleImpedance(test::SampleOf(SampleShape::Bar, test::SoftPzt(1e7, 0.02)), 100);
    EXPECT_NEAR(y.real() / y.imag(), 0.02, 1e-6);
}

TEST(MaterialSampleTest, MechanicalLossesSetTheResonancesQuality) {
    // Half-power width of the bar's admittance peak: fs / Qm for Qm well above 10.
    const MaterialSample bar = test::SampleOf(SampleShape::Bar, test::SoftPzt(200));
    const double fs = test::ImpedanceExtremum(bar, 80e3, 100e3, -1, 2000);
    const double peak = std::abs(1.0 / MaterialSampleImpedance(bar, fs));
    auto edge = [&](double a, double b) {
        for (int i = 0; i < 100; ++i) {
            const double m = (a + b) / 2;
            const bool above =
                std::abs(1.0 / MaterialSampleImpedance(bar, m)) > peak / std::sqrt(2.0);
            ((above == (a < fs)) ? b : a) = m;
        }
        return (a + b) / 2;
    };
    const double width = edge(fs, 1.02 * fs) - edge(0.98 * fs, fs);
    EXPECT_NEAR(fs / width, 200, 200 * 0.05);
}

const char* const kBarKeys = "shape = Bar\nlength = 15\nwidth = 3\nthickness = 1\n"
                             "density = 7750\nsE11 = 16.4\nd31 = -171\neps33T = 1700\n"
                             "Qm = 80\ntand = 0.02\n";

sicl::KeyValueList keyLines(const QString& text) {
    sicl::KeyValueList lines;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        lines.append({line.left(equals).trimmed().toLower(), line.mid(equals + 1).trimmed()});
    }
    return lines;
}

TEST(MaterialSampleTest, DeviceSectionKeysDescribeTheSampleInCustomaryUnits) {
    QStringList problems;
    const sim::SimAnalyzerConfig config =
        sim::parseSimAnalyzerConfig(keyLines(QString::fromLatin1(kBarKeys)), &problems);
    EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('|')).toStdString();
    ASSERT_TRUE(config.sample.material);
    const MaterialSample& s = *config.sample.material;
    EXPECT_EQ(s.shape, SampleShape::Bar);
    EXPECT_DOUBLE_EQ(s.lengthM, 15e-3);
    EXPECT_DOUBLE_EQ(s.thicknessM, 1e-3);
    EXPECT_DOUBLE_EQ(s.material.sE11, 16.4e-12);
    EXPECT_DOUBLE_EQ(s.material.d31, -171e-12);
    EXPECT_DOUBLE_EQ(s.material.eps33T, 1700);
    EXPECT_DOUBLE_EQ(s.material.qm, 80);
    EXPECT_DOUBLE_EQ(s.material.lossTangent, 0.02);
    // The sample model answers with the material, not with C0 and the branches.
    EXPECT_EQ(SampleImpedance(config.sample, 50), MaterialSampleImpedance(s, 50e3));

    // A key the shape needs that is missing or unusable is named, and no material sample
    // is made; without a shape the keys describe nothing.
    problems.clear();
    const sim::SimAnalyzerConfig incomplete = sim::parseSimAnalyzerConfig(
        keyLines(QStringLiteral("shape = disc\ndiameter = 20\nthickness = -1\ndensity = 7750\n"
                                "sE11 = 16.4\nsE12 = -5.74\neps33T = 1700\nQm = 80\n")),
        &problems);
    EXPECT_FALSE(incomplete.sample.material);
    EXPECT_EQ(problems, (QStringList{QStringLiteral("shape = disc: thickness not usable"),
                                     QStringLiteral("shape = disc: d31 missing")}));
    problems.clear();
    EXPECT_FALSE(sim::parseSimAnalyzerConfig(keyLines(QStringLiteral("shape = cube\n")), &problems)
                     .sample.material);
    EXPECT_EQ(problems, QStringList{QStringLiteral("shape = cube")});
    EXPECT_FALSE(
        sim::parseSimAnalyzerConfig(keyLines(QStringLiteral("density = 7750\n"))).sample.material);
    // Constants that no material has (here a coupling above 1) are refused.
    problems.clear();
    QString impossible = QString::fromLatin1(kBarKeys);
    impossible.replace(QStringLiteral("d31 = -171"), QStringLiteral("d31 = -600"));
    EXPECT_FALSE(sim::parseSimAnalyzerConfig(keyLines(impossible), &problems).sample.material);
    EXPECT_EQ(problems.size(), 1);
}

TEST(MaterialSampleTest, TheShippedExampleDescribesEveryShape) {
    QFile file(QStringLiteral(YMT_SOURCE_DIR "/dist/sicl.conf.example"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    // Everything uncommented; only the material sections at 18 to 22 are looked at.
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QRegularExpression(QStringLiteral("^# ?"), QRegularExpression::MultilineOption),
                 QString());
    const sicl::SiclConfig conf = sicl::parseSiclConfig(text);
    const SampleShape shapes[] = {SampleShape::Bar, SampleShape::Rod, SampleShape::ThicknessPlate,
                                  SampleShape::ShearPlate, SampleShape::Disc};
    for (int address = 18; address <= 22; ++address) {
        const QString key = QStringLiteral("gpib0,%1").arg(address);
        ASSERT_TRUE(conf.hasDevice(key)) << address;
        QStringList problems;
        const sim::SimAnalyzerConfig config =
            sim::parseSimAnalyzerConfig(conf.devices.value(key), &problems);
        EXPECT_TRUE(problems.isEmpty()) << problems.join(QLatin1Char('|')).toStdString();
        ASSERT_TRUE(config.sample.material) << address;
        EXPECT_EQ(config.sample.material->shape, shapes[address - 18]);
        EXPECT_DOUBLE_EQ(config.sample.material->material.qm, 80);
    }
}

class MaterialSweepTest : public InstrumentTest {};

TEST_F(MaterialSweepTest, BothModelsSweepTheMaterialSample) {
    const MaterialSample bar =
        *sim::parseSimAnalyzerConfig(keyLines(QString::fromLatin1(kBarKeys))).sample.material;
    for (int model : {0, 1}) {
        connect(model, QString::fromLatin1(kBarKeys));
        analyzer.CompletionTimeout = 30000;
        analyzer.PresetAnalyzer();
        analyzer.SetSweepRange(80, 110); // kHz, about the bar's fundamental at 93.5 kHz
        analyzer.MeasureSweep();
        ASSERT_EQ(analyzer.TraceA.size(), 401u);
        for (std::size_t i : {0u, 150u, 400u}) {
            const double hz = (80 + 30 * double(i) / 400) * 1e3;
            const double expected = std::abs(MaterialSampleImpedance(bar, hz));
            EXPECT_NEAR(analyzer.TraceA[i], expected,
                        ymt::test::AnalyzerDigitsTolerance(model) * expected)
                << model << " " << i;
        }
        const auto minimum = std::min_element(analyzer.TraceA.begin(), analyzer.TraceA.end());
        const double fMin = 80 + 30.0 / 400 * double(minimum - analyzer.TraceA.begin());
        EXPECT_NEAR(fMin, test::ImpedanceExtremum(bar, 80e3, 110e3, -1, 2000) / 1e3, 30.0 / 400)
            << model;
    }
}

} // namespace
} // namespace ymt
