// "CT / eps / tand" and the sample geometry through the program on the simulated default
// sample, expected values computed here from the sample model; and the fields' limits on a
// window in this process.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"
#include "tests/app/ScriptHomeSupport.h"

#include "instrument/simulated/SampleModel.h"

#include <QComboBox>
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

// C and tand at f kHz from the model's |Z| and theta, by the formulas of the command.
ExpectedCapacitance modelAt(double kHz) {
    const ymt::ImpedancePolar z = ymt::SampleZTheta(ymt::DefaultSampleModel(), kHz);
    const double theta = z.thetaDeg * kPi / 180;
    return {-1 / (std::sin(theta) * 2 * kPi * kHz * 1000 * z.magnitudeOhm) * 1e9,
            std::fabs(std::cos(theta) / std::sin(theta)) * 1e4};
}

ExpectedCapacitance modelAt1kHz() {
    return modelAt(1.0);
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

TEST(CapacitanceProgram, SpotFrequencyTypedBeforeConnectIsLimitedToTheSpanMeasured) {
    // The HP 4194A measures 0.1 ... 40000 kHz; C comes from the frequency it measured at.
    const struct {
        const char* typed;
        double measured;
        const char* shown;
        const char* center;
    } cases[] = {{"0.05", 0.1, "0.100", "CENTER=100"},
                 {"60000", 40000, "40000.000", "CENTER=40000000"}};
    for (const auto& c : cases) {
        const SimulatorRun run =
            RunOnSimulator(QStringLiteral("type Edit7 %1\n").arg(c.typed) + ConnectSteps(0) +
                           "show Edit7\nclick Button8\nstate\n");
        ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
        EXPECT_EQ(run.value("Edit7"), c.shown);
        EXPECT_TRUE(run.commands().contains(c.center)) << c.typed;
        const ExpectedCapacitance model = modelAt(c.measured);
        EXPECT_NEAR(run.number("CapNF"), model.capNF, model.capNF * 1e-4) << c.typed;
        EXPECT_NEAR(run.number("EpsRel"), eps(model.capNF, 1, 100), eps(model.capNF, 1, 100) * 1e-4)
            << c.typed;
    }
}

TEST(CapacitanceWindow, SpotFrequencyIsLimitedBeforeEachMeasurement) {
    WindowOnTempHome w;
    // Text the field got without being left (a spectrum file's header does so).
    w.control<QLineEdit>("Edit7")->setText(QStringLiteral("200000"));
    w.window->Button8Click();
    EXPECT_EQ(w.control<QLineEdit>("Edit7")->text(), QStringLiteral("110000.000"));
}

TEST(CapacitanceProgram, ShortSpotTraceAveragesTheReadingsThatCame) {
    const QString conf = QStringLiteral("[gpib0,17]\ndevice = HP4294A\nfault = %1\n");
    const SimulatorRun shortTrace = RunOnSimulator(
        ConnectSteps(1) + "answer OK\nclick Button8\nstate\n", conf.arg("short-trace 3"));
    ASSERT_EQ(shortTrace.exitCode, 0) << shortTrace.output.join('\n').toStdString();
    const ExpectedCapacitance model = modelAt1kHz();
    EXPECT_NEAR(shortTrace.number("CapNF"), model.capNF, model.capNF * 2e-5);
    EXPECT_NEAR(shortTrace.number("TanD"), model.tanD, 0.02);
    expectShown(shortTrace.value("label.C"), model.capNF, 3, 1e-4);
    EXPECT_EQ(shortTrace.linesStartingWith("message ").value(2),
              "message error \"Error: the capacitance measurement got 3 of 10 readings; C and "
              "tand are their mean.\" -> OK");

    const SimulatorRun noTrace = RunOnSimulator(
        ConnectSteps(1) + "answer OK\nclick Button8\nstate\n", conf.arg("drop-reply OUTPDTRC?"));
    ASSERT_EQ(noTrace.exitCode, 0) << noTrace.output.join('\n').toStdString();
    for (const char* label : {"label.C", "label.tand", "label.eps"})
        EXPECT_EQ(noTrace.value(label), "---") << label;
    EXPECT_EQ(noTrace.linesStartingWith("message ").value(2),
              "message error \"Error: no reading came back from the analyzer for the capacitance "
              "measurement; C, tand and eps(rel) are not determined.\" -> OK");
}

TEST(CapacitanceProgram, HP4294AMeasuresZAndThetaWhateverTheDisplayPair) {
    // "Cs - Rs" on the analyzer's screen; the spot measurement still reads |Z| and theta.
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(1) + "check CheckBox21 1\nselect ComboBox1 4\n"
                                         "click Button8\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const ExpectedCapacitance model = modelAt1kHz();
    EXPECT_NEAR(run.number("CapNF"), model.capNF, model.capNF * 2e-5);
    EXPECT_NEAR(run.number("TanD"), model.tanD, 0.02);
}

TEST(CapacitanceWindow, DimensionFieldsRefuseTextThatIsNoNumber) {
    WindowOnTempHome w;
    w.control<QComboBox>("ComboBox3")->setCurrentIndex(3); // ring: both dimensions in use
    w.window->ComboBox3Change();
    for (const char* name : {"Edit9", "Edit25", "Edit11", "Edit10", "Edit5"}) {
        auto* field = w.control<QLineEdit>(name);
        const QString before = field->text();
        for (const QString& typed : {QStringLiteral("0,5"), QStringLiteral("O.5")}) {
            w.dialogs.messages.clear();
            field->setText(typed);
            w.window->runExitHandler(field);
            EXPECT_EQ(field->text(), before) << name << " " << typed.toStdString();
            ASSERT_EQ(w.dialogs.messages.size(), 1u) << name;
            EXPECT_EQ(w.dialogs.messages[0].kind, ymt::MessageKind::Error);
            EXPECT_EQ(w.dialogs.messages[0].text,
                      QStringLiteral("'%1' is not a valid floating point value").arg(typed));
        }
    }
    EXPECT_EQ(w.window->Sample.ElectrodeDistance, 1);
    EXPECT_EQ(w.window->Sample.ElectrodeArea, 100);
}

TEST(CapacitanceWindow, AreaFollowsTheDimensionsAsTypedAndStaysWhenLeftAsShown) {
    WindowOnTempHome w;
    auto* geometry = w.control<QComboBox>("ComboBox3");
    auto* dimension1 = w.control<QLineEdit>("Edit10");
    auto* dimension2 = w.control<QLineEdit>("Edit5");
    auto* area = w.control<QLineEdit>("Edit11");
    auto enter = [&](QLineEdit* field, const QString& text) {
        field->setText(text);
        w.window->runExitHandler(field);
    };
    geometry->setCurrentIndex(1);
    w.window->ComboBox3Change();
    enter(dimension1, QStringLiteral("10.0004"));
    EXPECT_EQ(dimension1->text(), QStringLiteral("10.000"));
    EXPECT_DOUBLE_EQ(w.window->Sample.ElectrodeArea, 10.0004 * 10.0004 * kPi / 4);
    EXPECT_EQ(area->text(), QStringLiteral("78.546"));

    // Leaving the area as it shows keeps the ring it came from.
    geometry->setCurrentIndex(3);
    w.window->ComboBox3Change();
    enter(dimension1, QStringLiteral("10"));
    enter(dimension2, QStringLiteral("4"));
    w.window->runExitHandler(area);
    EXPECT_EQ(dimension1->text(), QStringLiteral("10.000"));
    EXPECT_EQ(dimension2->text(), QStringLiteral("4.000"));
    EXPECT_DOUBLE_EQ(w.window->Sample.ElectrodeArea, (100 - 16) * kPi / 4);
}
