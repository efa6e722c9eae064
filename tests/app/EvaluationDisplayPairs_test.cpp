// The 21 display pairs through the window's list: axis titles, log-box captions, DisplayCode,
// and curves 1 and 2 recomputed from curves 3 and 4 by the plain formulas.
#include "tests/app/EvaluationTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"
#include "tests/support/Tolerance.h"

#include <QCheckBox>
#include <QComboBox>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using ymt::test::IsRelativelyNear;
using ymt::test::WindowOnTempHome;

namespace {

struct Terms {
    double z, theta, w, s, c;
};

// Zeros become 1e-300 before anything is divided by them.
Terms termsAt(double fKHz, double z, double thetaDeg) {
    const double pi = 3.14159265358979323846;
    auto nz = [](double v) { return v == 0 ? 1e-300 : v; };
    return {nz(z), thetaDeg, nz(fKHz * 2 * pi * 1000), nz(std::sin(thetaDeg * pi / 180)),
            nz(std::cos(thetaDeg * pi / 180))};
}

using Formula = std::function<double(const Terms&)>;
const double d = 1.0, area = 100.0, e0 = 8.85e-15; // the start-up electrodes as their fields show

const Formula absZ = [](const Terms& t) { return t.z; };
const Formula theta = [](const Terms& t) { return t.theta; };
const Formula negTheta = [](const Terms& t) { return -t.theta; };
const Formula rs = [](const Terms& t) { return t.z * t.c; };
const Formula x = [](const Terms& t) { return t.z * t.s; };
const Formula ls = [](const Terms& t) { return t.z * t.s / t.w * 1000; };
const Formula cs = [](const Terms& t) { return -1 / (t.w * t.z * t.s) * 1e9; };
const Formula absY = [](const Terms& t) { return 1 / t.z; };
const Formula g = [](const Terms& t) { return std::fabs(t.c / t.z); };
const Formula b = [](const Terms& t) { return -t.s / t.z; };
const Formula lp = [](const Terms& t) { return t.z / t.s / t.w * 1000; };
const Formula cp = [](const Terms& t) { return -t.s / (t.w * t.z) * 1e9; };
const Formula rp = [](const Terms& t) { return t.z / t.c; };
const Formula q = [](const Terms& t) { return std::fabs(t.s / t.c); };
const Formula dd = [](const Terms& t) { return std::fabs(t.c / t.s); };
const Formula epsR = [](const Terms& t) { return -t.s * d / (t.w * e0 * area * t.z); };
const Formula epsI = [](const Terms& t) { return t.c * d / (t.w * e0 * area * t.z); };

struct Pair {
    const char* yTitle;
    const char* y2Title;
    const char* leftCaption;
    const char* rightCaption;
    Formula first;
    Formula second;
};

const Pair kPairs[21] = {
    {"|Z| [Ohm]", "theta [°]", "|Z| log", "theta log", absZ, theta},
    {"Rs [Ohm]", "X [Ohm]", "Rs log", "X log", rs, x},
    {"Ls [mH]", "Rs [Ohm]", "Ls log", "Rs log", ls, rs},
    {"Ls [mH]", "Q []", "Ls log", "Q log", ls, q},
    {"Cs [nF]", "Rs [Ohm]", "Cs log", "Rs log", cs, rs},
    {"Cs [nF]", "Q []", "Cs log", "Q log", cs, q},
    {"Cs [nF]", "D []", "Cs log", "D log", cs, dd},
    {"|Y| [S]", "theta [°]", "|Y| log", "theta log", absY, negTheta},
    {"G [S]", "B [S]", "G log", "B log", g, b},
    {"Lp [mH]", "G [S]", "Lp log", "G log", lp, g},
    {"Lp [mH]", "Q []", "Lp log", "Q log", lp, q},
    {"Cp [nF]", "G [S]", "Cp log", "G log", cp, g},
    {"Cp [nF]", "Q []", "Cp log", "Q log", cp, q},
    {"Cp [nF]", "D []", "Cp log", "D log", cp, dd},
    {"|Z| [Ohm]", "Ls [mH]", "|Z| log", "Ls log", absZ, ls},
    {"|Z| [Ohm]", "Cs [nF]", "|Z| log", "Cs log", absZ, cs},
    {"|Z| [Ohm]", "Lp [mH]", "|Z| log", "Lp log", absZ, lp},
    {"|Z| [Ohm]", "Cp [nF]", "|Z| log", "Cp log", absZ, cp},
    {"Lp [mH]", "Rp [Ohm]", "Lp log", "Rp log", lp, rp},
    {"Cp [nF]", "Rp [Ohm]", "Cp log", "Rp log", cp, rp},
    {"eps' []", "eps'' []", "eps' log", "eps'' log", epsR, epsI},
};

// A few points of every kind: the model sample near resonance, an ideal capacitor (-90°),
// theta exactly 0 and |Z| exactly 0.
const struct {
    double f, z, theta;
} kPoints[] = {{150, 0, 0},     {190, 0, 0},    {200, 0, 0}, {210, 0, 0},
               {230, 700, -90}, {240, 0, 12.5}, {250, 33, 0}};

} // namespace

TEST(EvaluationDisplayPairs, EveryPairSetsTitlesCaptionsAndCurvesFromTheFormulas) {
    WindowOnTempHome fixture;
    TForm1& window = *fixture.window;
    window.FormActivate();
    ymt::CurveStore& store = window.fastgraph1->store();
    const ymt::SampleModel sample = ymt::DefaultSampleModel();
    for (const auto& p : kPoints) {
        const ymt::ImpedancePolar model = ymt::SampleZTheta(sample, p.f);
        store.AddPoint(3, p.f, p.z == 0 && p.theta == 0 ? model.magnitudeOhm : p.z);
        store.AddPoint(4, p.f, p.z == 0 && p.theta == 0 ? model.thetaDeg : p.theta);
    }
    window.zoom(100, 300);
    auto* list = fixture.control<QComboBox>("ComboBox1");
    auto* logZ = fixture.control<QCheckBox>("CheckBox1");
    auto* logTheta = fixture.control<QCheckBox>("CheckBox2");
    ASSERT_EQ(list->count(), 21);

    for (int code = 1; code <= 21; ++code) {
        const Pair& pair = kPairs[code - 1];
        list->setCurrentIndex(code - 1);
        window.ComboBox1Change();
        SCOPED_TRACE(list->currentText().toStdString());
        EXPECT_EQ(window.DisplayCode, code);
        EXPECT_EQ(window.fastgraph1->YAxis.Title(), QString::fromUtf8(pair.yTitle));
        EXPECT_EQ(window.fastgraph1->Y2Axis.Title(), QString::fromUtf8(pair.y2Title));
        EXPECT_EQ(logZ->text(), QString::fromUtf8(pair.leftCaption));
        EXPECT_EQ(logTheta->text(), QString::fromUtf8(pair.rightCaption));
        // The selection leaves the log scales as the boxes say.
        EXPECT_TRUE(logZ->isChecked());
        EXPECT_TRUE(window.fastgraph1->YAxis.Log());
        EXPECT_FALSE(window.fastgraph1->Y2Axis.Log());
        // The window stays where it was.
        EXPECT_EQ(window.fastgraph1->XAxis.Min(), 100.0);
        EXPECT_EQ(window.fastgraph1->XAxis.Max(), 300.0);

        ASSERT_EQ(store.pointCount(1), store.pointCount(3));
        ASSERT_EQ(store.pointCount(2), store.pointCount(3));
        for (int i = 0; i < store.pointCount(3); ++i) {
            const Terms t = termsAt(store.x(3, i), store.y(3, i), store.y(4, i));
            EXPECT_EQ(store.x(1, i), store.x(3, i));
            EXPECT_EQ(store.x(2, i), store.x(3, i));
            EXPECT_TRUE(IsRelativelyNear(store.y(1, i), pair.first(t), 1e-12)) << "point " << i;
            EXPECT_TRUE(IsRelativelyNear(store.y(2, i), pair.second(t), 1e-12)) << "point " << i;
        }
    }
    // The exact zeros were replaced in the measured curves themselves.
    EXPECT_EQ(store.y(4, 6), 1e-300);
    EXPECT_EQ(store.y(3, 5), 1e-300);
}

TEST(EvaluationDisplayPairs, PermittivityPairStaysEmptyWithoutElectrodeArea) {
    WindowOnTempHome fixture;
    TForm1& window = *fixture.window;
    ymt::test::FillModelSpectrum(*window.fastgraph1, ymt::test::LinearGrid(150, 250, 11));
    window.Sample.ElectrodeArea = 0;
    fixture.control<QComboBox>("ComboBox1")->setCurrentIndex(20);
    window.ComboBox1Change();
    EXPECT_EQ(window.fastgraph1->store().pointCount(1), 0);
    EXPECT_EQ(window.fastgraph1->store().pointCount(2), 0);
    EXPECT_EQ(window.fastgraph1->YAxis.Title(), QStringLiteral("eps' []"));
}
