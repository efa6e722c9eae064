// The evaluation in the window: "Coupling Factor" with its messages, the manual determination by
// two clicks, the mode selector, the threshold fields and bad spectra. Expected values are
// computed here from the sample model and the plain formulas, not through the evaluation code.
#include "tests/app/EvaluationTestSupport.h"
#include "tests/app/MainWindowTestSupport.h"

#include "core/Misc.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cmath>

using ymt::DialogButton;
using ymt::MessageKind;
using ymt::test::ClickPlot;
using ymt::test::FrequencyUnder;
using ymt::test::WindowOnTempHome;

namespace {

constexpr long double kPi = 3.1415926535897932385L;

const char* const kValueLabels[] = {"Label48", "Label49", "Label50", "Label51",
                                    "Label52", "Label53", "Label54", "Label55"};

// What a correct evaluation of curve 3 inside (low, high) shows, found by plain walks.
struct Expected {
    int iMin = 0;
    int iMax = 0;
    double fMin = 0, fMax = 0, zMin = 0, zMax = 0;
    double b3dB = 0, q3dB = 0;
};

Expected evaluate(const ymt::CurveStore& store, double low, double high, int qThreshold = 20) {
    Expected e;
    const int n = store.pointCount(3);
    double zMin = 1e300;
    for (int i = 0; i < n; ++i) {
        const double f = store.x(3, i), z = store.y(3, i);
        if (f > low && f < high && z <= zMin) {
            zMin = z;
            e.iMin = i;
        }
    }
    double zMax = -1e300;
    for (int i = e.iMin; i < n; ++i) {
        const double f = store.x(3, i), z = store.y(3, i);
        if (f > low && f < high && z >= zMax) {
            zMax = z;
            e.iMax = i;
        }
    }
    e.fMin = store.x(3, e.iMin);
    e.zMin = zMin;
    e.fMax = store.x(3, e.iMax);
    e.zMax = zMax;
    const double level = zMin * std::sqrt(2.0);
    int i = e.iMin;
    while (store.y(3, i) < level && i > 0)
        --i;
    int j = e.iMin;
    while (store.y(3, j) < level && j < n - 1)
        ++j;
    if (i > 0 && j - i > qThreshold) {
        e.b3dB = store.x(3, j) - store.x(3, i);
        e.q3dB = e.fMin / e.b3dB;
    }
    return e;
}

double kEff(double fMin, double fMax) {
    return std::sqrt(1 - (fMin / fMax) * (fMin / fMax)) * 100;
}

double kThickness(double fMin, double fMax) {
    const long double x = kPi * fMin / fMax / 2;
    return double(std::sqrt(x * std::cos(x) / std::sin(x)) * 100);
}

double kPlanar(double fMin, double fMax) {
    const double u = 1 - fMin / fMax;
    return std::sqrt(2.51 * u - u * u) * 100;
}

double kTransversal(double fMin, double fMax) {
    const long double y = kPi * fMax / fMin / 2;
    return double(std::sqrt(1 / (1 - std::tan(y) / y)) * 100);
}

struct EvaluationWindow : WindowOnTempHome {
    EvaluationWindow() {
        window->FormActivate();
        // The stored coupling-factor type starts at k31; these cases evaluate kt.
        control<QComboBox>("ComboBox4")->setCurrentIndex(2);
        window->ComboBox4Change();
        ymt::test::DrawPlotOnScreen(plot());
    }
    ymt::TFastGraph& plot() { return *window->fastgraph1; }
    ymt::CurveStore& store() { return plot().store(); }
    QString label(const char* name) { return control<QLabel>(name)->text(); }
    void leave(const char* name, const QString& typed) {
        auto* field = control<QLineEdit>(name);
        field->setText(typed);
        window->runExitHandler(field);
    }
    // The model spectrum on a fine grid, the window zoomed around the first resonance.
    void measureAround200kHz() {
        ymt::test::FillModelSpectrum(plot(), ymt::test::LinearGrid(190, 225, 3501));
        window->ZoomHistory.push(226, 189);
        window->zoom(189, 226);
    }
};

// The label shows `value` to `decimals` decimals.
void expectShown(const QString& label, double value, int decimals, const char* what) {
    bool ok = false;
    const double shown = label.toDouble(&ok);
    ASSERT_TRUE(ok) << what << ": " << label.toStdString();
    EXPECT_NEAR(shown, value, 0.5 * std::pow(10.0, -decimals) + 1e-9) << what;
    const qsizetype point = label.indexOf(QLatin1Char('.'));
    EXPECT_EQ(point < 0 ? 0 : label.size() - point - 1, decimals) << what;
}

} // namespace

TEST(EvaluationWindowCouplingFactor, ModelSpectrumGivesTheResultsOfTheSearchInsideTheWindow) {
    EvaluationWindow fixture;
    fixture.measureAround200kHz();
    const Expected e = evaluate(fixture.store(), 189, 226);
    ASSERT_GT(e.q3dB, 0) << "the grid resolves the 3 dB band";

    fixture.control<QPushButton>("Button10")->click();
    EXPECT_TRUE(fixture.dialogs.messages.empty());
    const ymt::EvaluationResults& r = fixture.window->Results;
    EXPECT_EQ(r.IndexMin, e.iMin);
    EXPECT_EQ(r.IndexMax, e.iMax);
    EXPECT_NEAR(e.fMin, 200.0, 0.05);
    // Below its own resonance the 2000 kHz branch adds its 0.10 nF to C0.
    EXPECT_NEAR(e.fMax, 200.0 * std::sqrt(1 + 0.30 / (1.50 + 0.10)), 0.3);
    expectShown(fixture.label("Label49"), e.fMin, 3, "f(min)");
    expectShown(fixture.label("Label50"), e.fMax, 3, "f(max)");
    expectShown(fixture.label("Label48"), e.zMin, e.zMin < 10 ? 1 : 0, "Rs");
    expectShown(fixture.label("Label52"), kEff(e.fMin, e.fMax), 2, "k(eff)");
    expectShown(fixture.label("Label53"), kThickness(e.fMin, e.fMax), 2, "kt");
    expectShown(fixture.label("Label55"), e.b3dB, 3, "B (3dB)");
    expectShown(fixture.label("Label54"), e.q3dB, 0, "Q (3dB)");
    expectShown(fixture.label("Label51"), std::log10(e.zMax) - std::log10(e.zMin), 1, "D");
    EXPECT_TRUE(fixture.window->ShowMarkers);
    EXPECT_EQ(fixture.window->MinMarker, e.fMin);
    EXPECT_EQ(fixture.window->MaxMarker, e.fMax);
}

TEST(EvaluationWindowCouplingFactor, NoDataWhenTheCurveIsEmptyOrNoPointLiesInsideTheWindow) {
    EvaluationWindow fixture;
    fixture.window->Button10Click();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].text, QStringLiteral("No Data!"));
    EXPECT_EQ(fixture.dialogs.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(fixture.dialogs.messages[0].buttons, ymt::ButtonSet::OK);

    // Points only outside the window, one on its edge: still "No Data!", nothing changes.
    fixture.measureAround200kHz();
    fixture.window->Button10Click();
    const ymt::EvaluationResults before = fixture.window->Results;
    fixture.window->zoom(225, 300);
    fixture.window->Button10Click();
    ASSERT_EQ(fixture.dialogs.messages.size(), 2u);
    EXPECT_EQ(fixture.dialogs.messages[1].text, QStringLiteral("No Data!"));
    EXPECT_EQ(fixture.window->Results.FMin, before.FMin);
    EXPECT_EQ(fixture.window->Results.ZMin, before.ZMin);
    EXPECT_NE(fixture.label("Label48"), QStringLiteral("---")) << "the earlier Rs stays";
}

TEST(EvaluationWindowCouplingFactor, FewPointsAskToReadMoreOnlyWhileReadMoreIsEnabled) {
    EvaluationWindow fixture;
    // 5 kHz steps: only a few steps between minimum and maximum.
    ymt::test::FillModelSpectrum(fixture.plot(), ymt::test::LinearGrid(100, 400, 61));
    fixture.window->zoom(101, 399);

    fixture.control<QPushButton>("Button7")->setEnabled(true);
    fixture.dialogs.answers = {DialogButton::Abort};
    fixture.window->Button10Click();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].text,
              QStringLiteral("Very few measurement points! Read More?"));
    EXPECT_EQ(fixture.dialogs.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(fixture.dialogs.messages[0].buttons, ymt::ButtonSet::OKAbortIgnore);
    EXPECT_EQ(fixture.label("Label48"), QStringLiteral("---")) << "Abort ends the command";
    EXPECT_FALSE(fixture.window->ShowMarkers);

    // Ignore goes on; 20 or fewer steps are refused by the pass, Rs and D are still shown.
    fixture.dialogs.answers = {DialogButton::Ignore, DialogButton::OK};
    fixture.window->Button10Click();
    ASSERT_EQ(fixture.dialogs.messages.size(), 3u);
    EXPECT_EQ(fixture.dialogs.messages[2].text,
              QStringLiteral("Insufficient data. Aquire more data or reduce threshold value on "
                             "Options page."));
    EXPECT_EQ(fixture.label("Label52"), QStringLiteral("---"));
    EXPECT_NE(fixture.label("Label48"), QStringLiteral("---"));
    EXPECT_NE(fixture.label("Label51"), QStringLiteral("---"));

    // Without Read More Points (not connected) nobody is asked.
    fixture.control<QPushButton>("Button7")->setEnabled(false);
    fixture.dialogs.messages.clear();
    fixture.window->Button10Click();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_TRUE(fixture.dialogs.messages[0].text.startsWith(QStringLiteral("Insufficient")));

    // A lower threshold lets the same spectrum through.
    fixture.dialogs.answers = {DialogButton::OK};
    fixture.leave("Edit48", QStringLiteral("2"));
    fixture.dialogs.messages.clear();
    fixture.window->Button10Click();
    EXPECT_TRUE(fixture.dialogs.messages.empty());
    EXPECT_NE(fixture.label("Label52"), QStringLiteral("---"));
}

TEST(EvaluationWindowCouplingFactor, MaximumBelowTheMinimumIsRefusedWithoutAPass) {
    EvaluationWindow fixture;
    // Stored against the frequency order: the maximum found above the minimum's index lies at
    // a lower frequency.
    const std::vector<double> grid = ymt::test::LinearGrid(190, 225, 301);
    ymt::test::FillModelSpectrum(fixture.plot(), {grid.rbegin(), grid.rend()});
    fixture.window->zoom(189, 226);
    fixture.window->Button10Click();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].text,
              QStringLiteral("Max|Z| must be higher than Min|Z|!"));
    EXPECT_EQ(fixture.dialogs.messages[0].kind, MessageKind::Error);
    for (const char* name : kValueLabels)
        EXPECT_EQ(fixture.label(name), QStringLiteral("---")) << name;
    EXPECT_FALSE(fixture.window->ShowMarkers);
}

TEST(EvaluationWindowManual, TwoClicksPickTheFrequenciesAndTheNearestPointsGiveRsAndD) {
    EvaluationWindow fixture;
    TForm1& window = *fixture.window;
    fixture.measureAround200kHz();
    fixture.control<QComboBox>("ComboBox1")->setCurrentIndex(4);
    window.ComboBox1Change();

    window.Button9Click();
    EXPECT_EQ(fixture.control<QComboBox>("ComboBox1")->currentIndex(), 0);
    EXPECT_EQ(window.DisplayCode, 1);
    EXPECT_EQ(fixture.plot().YAxis.Title(), QStringLiteral("|Z| [Ohm]"));
    EXPECT_TRUE(window.AwaitMinClick);
    EXPECT_TRUE(window.ShowMarkers);
    EXPECT_EQ(window.PlotPrompt, QStringLiteral("Please click on |Z| minimum f(min)... "));

    const int width = fixture.plot().PlotRight - fixture.plot().PlotLeft;
    const int x1 = fixture.plot().PlotLeft + 1 + int((200.0 - 189) / (226 - 189) * width);
    const int x2 = fixture.plot().PlotLeft + 1 + int((219.0 - 189) / (226 - 189) * width);
    const double f1 = FrequencyUnder(fixture.plot(), x1);
    const double f2 = FrequencyUnder(fixture.plot(), x2);

    ClickPlot(window, x1);
    EXPECT_FALSE(window.AwaitMinClick);
    EXPECT_TRUE(window.AwaitMaxClick);
    EXPECT_EQ(window.MinMarker, f1);
    EXPECT_EQ(window.MaxMarker, 0.0);
    EXPECT_EQ(fixture.label("Label49"), ymt::FixedText(f1, 1, 3));
    EXPECT_EQ(fixture.label("Label52"), QStringLiteral("---")) << "results wait for f(max)";
    EXPECT_EQ(window.PlotPrompt, QStringLiteral("Please click on |Z| maximum f(max)... "));
    EXPECT_EQ(window.ZoomHistory.depth(), 1) << "a pick click does not zoom";

    // The second click comes as a drag: it is taken as a click at its release position.
    window.FastGraph1MouseDown(Qt::LeftButton, x2 - 40, 100);
    window.FastGraph1MouseMove(Qt::LeftButton, x2, 100);
    window.FastGraph1MouseUp(Qt::LeftButton, x2, 100);
    EXPECT_FALSE(window.AwaitMaxClick);
    EXPECT_TRUE(window.PlotPrompt.isEmpty());
    EXPECT_EQ(window.MaxMarker, f2);
    EXPECT_TRUE(fixture.dialogs.messages.empty());
    EXPECT_EQ(window.ZoomHistory.depth(), 1);
    EXPECT_EQ(fixture.plot().XAxis.Min(), 189.0) << "ruecksetzen restores the zoom in use";

    const ymt::CurveStore& store = fixture.store();
    auto nearest = [&store](double f) {
        int best = 0;
        for (int i = 1; i < store.pointCount(3); ++i)
            if (std::fabs(store.x(3, i) - f) < std::fabs(store.x(3, best) - f))
                best = i;
        return best;
    };
    const int iMin = nearest(f1), iMax = nearest(f2);
    EXPECT_EQ(window.Results.IndexMin, iMin);
    EXPECT_EQ(window.Results.IndexMax, iMax);
    expectShown(fixture.label("Label49"), f1, 3, "f(min) clicked");
    expectShown(fixture.label("Label50"), f2, 3, "f(max) clicked");
    expectShown(fixture.label("Label52"), kEff(f1, f2), 2, "k(eff) of the clicks");
    expectShown(fixture.label("Label53"), kThickness(f1, f2), 2, "kt of the clicks");
    const double zMin = store.y(3, iMin), zMax = store.y(3, iMax);
    expectShown(fixture.label("Label48"), zMin, zMin < 10 ? 1 : 0, "Rs of the nearest point");
    expectShown(fixture.label("Label51"), std::log10(zMax) - std::log10(zMin), 1, "D");
}

TEST(EvaluationWindowManual, WithoutMeasuredPointsThereIsNothingToPick) {
    EvaluationWindow fixture;
    fixture.window->Button9Click();
    ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
    EXPECT_EQ(fixture.dialogs.messages[0].text, QStringLiteral("No measurement data!"));
    EXPECT_FALSE(fixture.window->AwaitMinClick);
    EXPECT_TRUE(fixture.window->PlotPrompt.isEmpty());
    // A click then is an ordinary (too small) drag.
    ClickPlot(*fixture.window, 200);
    EXPECT_EQ(fixture.label("Label49"), QStringLiteral("---"));
}

TEST(EvaluationWindowMode, SwitchingTheModeRelabelsAndReevaluatesAtOnce) {
    EvaluationWindow fixture;
    TForm1& window = *fixture.window;
    auto* modes = fixture.control<QComboBox>("ComboBox4");

    // Before any evaluation FMax = FMin: only the captions change.
    modes->setCurrentIndex(0);
    window.ComboBox4Change();
    EXPECT_EQ(fixture.label("Label42"), QStringLiteral("k31       [%]"));
    EXPECT_EQ(fixture.label("Label64"), QStringLiteral("---"));
    EXPECT_TRUE(fixture.dialogs.messages.empty());
    EXPECT_EQ(fixture.label("Label53"), QStringLiteral("---"));

    fixture.measureAround200kHz();
    window.Button10Click();
    const Expected e = evaluate(fixture.store(), 189, 226);
    expectShown(fixture.label("Label53"), kTransversal(e.fMin, e.fMax), 2, "k31");

    const struct {
        int position;
        const char* caption;
        const char* qcSample;
        const char* qcMeasurement;
        double value;
    } cases[] = {
        {1, "k33       [%]", "k33[%]", "k33", kThickness(e.fMin, e.fMax)},
        {2, "kt        [%]", "kt [%]", "kt ", kThickness(e.fMin, e.fMax)},
        {3, "k15       [%]", "k15[%]", "k15", kThickness(e.fMin, e.fMax)},
        {4, "kp        [%]", "kp [%]", "kp ", kPlanar(e.fMin, e.fMax)},
    };
    for (const auto& c : cases) {
        window.LastProtocolledCap = 5;
        window.HeaderChanged = false;
        modes->setCurrentIndex(c.position);
        window.ComboBox4Change();
        EXPECT_EQ(fixture.label("Label42"), QString::fromLatin1(c.caption));
        EXPECT_EQ(fixture.control<QLabel>("Label59")->text(), QString::fromLatin1(c.qcMeasurement));
        EXPECT_EQ(fixture.label("Label26"), QString::fromLatin1(c.qcSample));
        expectShown(fixture.label("Label53"), c.value, 2, c.caption);
        expectShown(fixture.label("Label52"), kEff(e.fMin, e.fMax), 2, "k(eff) unchanged");
        EXPECT_TRUE(window.HeaderChanged);
        EXPECT_EQ(window.LastProtocolledCap, 0.0);
    }
    EXPECT_TRUE(fixture.dialogs.messages.empty());
}

TEST(EvaluationWindowThresholds, FieldsKeepWholeNumbersOfAtLeastOneAndWarnBelowTwenty) {
    EvaluationWindow fixture;
    const QString warning = QStringLiteral(
        "Warning: Less than 20 points for evaluation will severely decrease the precision of "
        "calculations!");
    const struct {
        const char* field;
        const char* typed;
        const char* shown;
        bool warns;
    } cases[] = {{"Edit48", "25", "25", false},
                 {"Edit48", " 12abc", "12", true},
                 {"Edit49", "abc", "1", true},
                 {"Edit49", "0", "1", true},
                 {"Edit49", "20", "20", false}};
    for (const auto& c : cases) {
        fixture.dialogs.messages.clear();
        fixture.leave(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(fixture.control<QLineEdit>(c.field)->text(), QString::fromLatin1(c.shown))
            << c.typed;
        ASSERT_EQ(fixture.dialogs.messages.size(), c.warns ? 1u : 0u) << c.typed;
        if (c.warns) {
            EXPECT_EQ(fixture.dialogs.messages[0].text, warning);
            EXPECT_EQ(fixture.dialogs.messages[0].kind, MessageKind::Warning);
        }
    }
}

TEST(EvaluationWindowRobustness, BadSpectraNeverPutNonFiniteNumbersIntoLabels) {
    const struct {
        const char* name;
        std::vector<std::pair<double, double>> points;
    } spectra[] = {
        {"single point", {{200, 50}}},
        {"all equal", {{150, 80}, {200, 80}, {250, 80}, {300, 80}}},
        {"zeros", {{150, 0}, {200, 0}, {250, 10}, {300, 0}}},
        {"negative frequencies", {{-300, 5}, {-200, 1}, {-100, 7}, {150, 3}, {200, 9}}},
        {"outside the window", {{0.01, 5}, {120000, 3}}},
    };
    for (const auto& spectrum : spectra) {
        EvaluationWindow fixture;
        for (const auto& [f, z] : spectrum.points) {
            fixture.store().AddPoint(3, f, z);
            fixture.store().AddPoint(4, f, -45);
        }
        fixture.window->zoom(-1000, 1000);
        if (std::string(spectrum.name) == "outside the window")
            fixture.window->zoom(0.04, 110000);
        fixture.control<QPushButton>("Button7")->setEnabled(true);
        for (DialogButton answer : {DialogButton::Ignore, DialogButton::Abort}) {
            fixture.dialogs.answers = {answer, DialogButton::OK, DialogButton::OK};
            fixture.window->Button10Click();
            for (const char* name : kValueLabels) {
                const QString shown = fixture.label(name).toLower();
                EXPECT_FALSE(shown.contains(QStringLiteral("nan")) ||
                             shown.contains(QStringLiteral("inf")))
                    << spectrum.name << ' ' << name << ' ' << shown.toStdString();
            }
        }
        fixture.window->Button9Click();
        ClickPlot(*fixture.window, 100);
        ClickPlot(*fixture.window, 100);
        for (const char* name : kValueLabels) {
            const QString shown = fixture.label(name).toLower();
            EXPECT_FALSE(shown.contains(QStringLiteral("nan")) ||
                         shown.contains(QStringLiteral("inf")))
                << spectrum.name << " manual " << name;
        }
    }
}
