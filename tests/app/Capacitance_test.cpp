// "CT / eps / tand" and the sample geometry through the program on the simulated default
// sample, expected values computed here from the sample model; and the fields' limits on a
// window in this process.
#include "tests/app/MainWindowTestSupport.h"
#include "tests/app/ScriptHomeSupport.h"

#include "instrument/SampleModel.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <cmath>

using namespace ymt::test;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct ExpectedCapacitance {
    double capNF, tanD;
};

// C and tand at 1 kHz from the model's |Z| and theta, by the formulas of the command.
ExpectedCapacitance modelAt1kHz() {
    const ymt::ImpedancePolar z = ymt::SampleZTheta(ymt::DefaultSampleModel(), 1.0);
    const double theta = z.thetaDeg * kPi / 180;
    return {-1 / (std::sin(theta) * 2 * kPi * 1000 * z.magnitudeOhm) * 1e9,
            std::fabs(std::cos(theta) / std::sin(theta)) * 1e4};
}

// The label shows value with `decimals` decimals; slack covers the analyzer's 6 digits.
void expectShown(const QString& shown, double value, int decimals, double slack) {
    bool ok = false;
    const double number = shown.toDouble(&ok);
    ASSERT_TRUE(ok) << shown.toStdString();
    EXPECT_NEAR(number, value, 0.5 * std::pow(10.0, -decimals) + slack) << shown.toStdString();
    const qsizetype point = shown.indexOf(QLatin1Char('.'));
    EXPECT_EQ(point < 0 ? 0 : shown.size() - point - 1, decimals) << shown.toStdString();
}

double eps(double capNF, double distance, double area) {
    return capNF * distance / (area * 8.85e-6);
}

} // namespace

TEST(CapacitanceProgram, MeasuresTheModelsCapacitanceAndPermittivityForEveryGeometry) {
    QTemporaryDir home;
    const ScriptRun run = RunScriptInHome(home.path(), kConnect + QStringLiteral(R"(click Button8
state
select ComboBox10 0
show Label46
show Label35
type Edit9 0.5
show Label47
select ComboBox3 1
type Edit10 10
state
select ComboBox3 2
type Edit10 4
type Edit5 2.5
state
select ComboBox3 3
type Edit10 10
type Edit5 4
state
type Edit5 12
state
show Edit11
type Edit5 0
state
select ComboBox3 0
type Edit11 50
state
quit
)"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const ExpectedCapacitance model = modelAt1kHz();
    const double measuredCap = run.number(QStringLiteral("CapNF"));
    EXPECT_NEAR(measuredCap, model.capNF, model.capNF * 2e-5);
    EXPECT_NEAR(run.number(QStringLiteral("TanD")), model.tanD, 0.02);
    expectShown(run.value(QStringLiteral("label.C")), model.capNF, 3, 1e-4);
    expectShown(run.value(QStringLiteral("label.tand")), model.tanD, 1, 0.02);
    // At start-up the area field's 100 mm² and distance 1 mm apply.
    expectShown(run.value(QStringLiteral("label.eps")), eps(model.capNF, 1, 100), 0, 0.1);

    // The unit switch rewrites the label without measuring again.
    expectShown(run.value(QStringLiteral("Label46")), model.tanD / 10, 1, 0.002);
    EXPECT_EQ(run.value(QStringLiteral("Label35")), QStringLiteral("tand      [1e-3]"));

    const double disc = 10 * 10 * kPi / 4, ring = (10 * 10 - 4 * 4) * kPi / 4;
    const struct {
        int state;
        double area;
    } geometries[] = {{1, disc}, {2, 4 * 2.5}, {3, ring}, {4, ring}, {5, disc}, {6, 50}};
    for (const auto& g : geometries) {
        EXPECT_NEAR(run.number(QStringLiteral("ElectrodeArea"), g.state), g.area, 1e-9) << g.state;
        expectShown(run.value(QStringLiteral("label.eps"), g.state), eps(model.capNF, 0.5, g.area),
                    0, 0.1);
    }
    // An inner diameter above the outer one is not applied: the area in use stays shown.
    EXPECT_EQ(run.value(QStringLiteral("Edit11"), 0), QStringLiteral("65.973"));
}

TEST(CapacitanceWindow, NothingMeasuredLeavesNoStaleCapacitance) {
    WindowOnTempHome w;
    w.window->Results.CapNF = 5;
    w.window->Results.TanD = 20;
    w.window->Results.EpsRel = 5000;
    w.window->Button8Click(); // no analyzer session: nothing is measured
    EXPECT_EQ(w.window->Results.CapNF, 0);
    EXPECT_EQ(w.window->Results.TanD, 0);
    EXPECT_EQ(w.window->Results.EpsRel, 0);
    for (const char* label : {"Label45", "Label46", "Label47"})
        EXPECT_EQ(w.control<QLabel>(label)->text(), QStringLiteral("---")) << label;
}

TEST(CapacitanceWindow, FieldsShowTheirDefaultsOrLimitsForBadInput) {
    WindowOnTempHome w;
    const struct {
        const char* field;
        QString typed;
        QString shown;
    } cases[] = {
        {"Edit7", QStringLiteral("-5"), QStringLiteral("1.000")},
        {"Edit7", QStringLiteral("0"), QStringLiteral("1.000")},
        {"Edit7", QStringLiteral("1e308"), QStringLiteral("110000.000")},
        {"Edit7", QStringLiteral("0.001"), QStringLiteral("0.040")},
        {"Edit9", QStringLiteral("-2"), QStringLiteral("1.000")},
        {"Edit9", QStringLiteral("0.0004"), QStringLiteral("1.000")},
        {"Edit11", QStringLiteral("0"), QStringLiteral("100.000")}, // area already 100
        {"Edit11", QStringLiteral("-0"), QStringLiteral("100.000")},
        {"Edit10", QStringLiteral("nan"), QStringLiteral("10.000")},
        {"Edit5", QStringLiteral("inf"), QStringLiteral("10.000")},
        {"Edit5", QStringLiteral(""), QStringLiteral("10.000")},
        {"Edit10", QString(1000000, QLatin1Char('9')), QStringLiteral("10.000")},
        {"Edit4", QStringLiteral("A/B:C|d*e?f\"g<h>i\\j"), QStringLiteral("A_B_C_d_e_f_g_h_i_j")},
    };
    for (const auto& c : cases) {
        auto* field = w.control<QLineEdit>(c.field);
        field->setText(c.typed);
        w.window->runExitHandler(field);
        EXPECT_EQ(field->text(), c.shown) << c.field << " " << c.typed.left(20).toStdString();
    }
    EXPECT_EQ(w.window->Sample.ElectrodeArea, 100);
    EXPECT_EQ(w.window->Sample.ElectrodeDistance, 1);
    EXPECT_EQ(w.control<QLineEdit>("Edit27")->text(), QStringLiteral("A_B_C_d_e_f_g_h_i_j"));
    EXPECT_EQ(w.window->Sample.SampleName, QStringLiteral("A_B_C_d_e_f_g_h_i_j"));
}
