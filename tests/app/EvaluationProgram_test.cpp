// The evaluation through the built program on the simulated analyzer: Connect, Read New
// Spectrum of the default sample with the window around 200 kHz, "Coupling Factor", the mode
// selector and the manual pick by two clicks. The expected labels are computed here from the
// sample model at the frequencies the program measured.
#include "tests/app/EvaluationTestSupport.h"

#include "instrument/simulated/SampleModel.h"

#include <gtest/gtest.h>

#include <cmath>

using ymt::test::ScriptRun;

namespace {

constexpr double kLow = 180, kHigh = 240; // the displayed window, kHz

const QString kConnectAndMeasure = QStringLiteral("select ComboBox6 0\n"
                                                  "answer OK\n"
                                                  "answer OK\n"
                                                  "click Button12\n"
                                                  "type Edit1 180\n"
                                                  "type Edit2 240\n");

double modelZ(double f) {
    static const ymt::SampleModel sample = ymt::DefaultSampleModel();
    return ymt::SampleZTheta(sample, f).magnitudeOhm;
}

struct Expected {
    double fMin = 0, fMax = 0, zMin = 1e300, zMax = -1e300;
    double b3dB = 0, q3dB = 0;
};

// The search and the 3 dB band on the model's |Z| at the measured frequencies.
Expected evaluate(const std::vector<double>& grid) {
    Expected e;
    size_t iMin = 0;
    for (size_t i = 0; i < grid.size(); ++i)
        if (grid[i] > kLow && grid[i] < kHigh && modelZ(grid[i]) <= e.zMin) {
            e.zMin = modelZ(grid[i]);
            iMin = i;
        }
    for (size_t i = iMin; i < grid.size(); ++i)
        if (grid[i] > kLow && grid[i] < kHigh && modelZ(grid[i]) >= e.zMax) {
            e.zMax = modelZ(grid[i]);
            e.fMax = grid[i];
        }
    e.fMin = grid[iMin];
    const double level = e.zMin * std::sqrt(2.0);
    size_t i = iMin, j = iMin;
    while (modelZ(grid[i]) < level && i > 0)
        --i;
    while (modelZ(grid[j]) < level && j + 1 < grid.size())
        ++j;
    if (i > 0 && j - i > 20) {
        e.b3dB = grid[j] - grid[i];
        e.q3dB = e.fMin / e.b3dB;
    }
    return e;
}

double kEff(double fMin, double fMax) {
    return std::sqrt(1 - (fMin / fMax) * (fMin / fMax)) * 100;
}

double kThickness(double fMin, double fMax) {
    const long double x = 3.1415926535897932385L * fMin / fMax / 2;
    return double(std::sqrt(x * std::cos(x) / std::sin(x)) * 100);
}

// The label of the n-th state shows value to `decimals` decimals, or "---" for 0.
void expectLabel(const ScriptRun& run, const char* key, int n, double value, int decimals) {
    const QString shown = run.value(QStringLiteral("label.") + QLatin1String(key), n);
    if (value == 0) {
        EXPECT_EQ(shown, QStringLiteral("---")) << key;
        return;
    }
    bool ok = false;
    const double number = shown.toDouble(&ok);
    ASSERT_TRUE(ok) << key << ": " << shown.toStdString();
    // The analyzer reports |Z| to 6 significant digits, hence the small extra tolerance.
    EXPECT_NEAR(number, value, 0.5 * std::pow(10.0, -decimals) * 1.001 + 1e-5 * std::fabs(value))
        << key;
    const qsizetype point = shown.indexOf(QLatin1Char('.'));
    EXPECT_EQ(point < 0 ? 0 : shown.size() - point - 1, decimals) << key;
}

} // namespace

TEST(EvaluationProgram, CouplingFactorOfTheSimulatedSampleMatchesTheModelAtTheMeasuredPoints) {
    // The stored coupling-factor type starts at k31; this case evaluates kt first.
    const ScriptRun run = ymt::test::RunScript(kConnectAndMeasure +
                                               QStringLiteral("select ComboBox4 2\n"
                                                              "type Edit36 180\n"
                                                              "type Edit37 240\n"
                                                              "click Button6\n"
                                                              "click Button10\n"
                                                              "state\n"
                                                              "curve fastgraph1 3\n"
                                                              "select ComboBox4 4\n"
                                                              "show Label42\n"
                                                              "state\n"
                                                              "tab TabSheet3\n"
                                                              "click Button9\n"
                                                              "state\n"
                                                              "mouse fastgraph1 down left 200 150\n"
                                                              "mouse fastgraph1 up left 200 150\n"
                                                              "state\n"
                                                              "mouse fastgraph1 down left 400 150\n"
                                                              "mouse fastgraph1 up left 400 150\n"
                                                              "state\n"
                                                              "quit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const std::vector<double> grid = run.curveX();
    ASSERT_GT(grid.size(), 400u);
    EXPECT_EQ(run.number(QStringLiteral("RangeStart")), kLow);
    EXPECT_EQ(run.number(QStringLiteral("RangeStop")), kHigh);

    // Automatic evaluation, mode kt.
    const Expected e = evaluate(grid);
    EXPECT_NEAR(e.fMin, 200, 0.2);
    expectLabel(run, "fmin", 0, e.fMin, 3);
    expectLabel(run, "fmax", 0, e.fMax, 3);
    expectLabel(run, "Rs", 0, e.zMin, e.zMin < 10 ? 1 : 0);
    expectLabel(run, "keff", 0, kEff(e.fMin, e.fMax), 2);
    expectLabel(run, "kmode", 0, kThickness(e.fMin, e.fMax), 2);
    expectLabel(run, "B3dB", 0, e.b3dB, 3);
    expectLabel(run, "Q3dB", 0, e.q3dB, 0);
    expectLabel(run, "D", 0, std::log10(e.zMax) - std::log10(e.zMin), 1);
    EXPECT_EQ(run.value(QStringLiteral("ShowMarkers")), QStringLiteral("1"));
    EXPECT_EQ(run.number(QStringLiteral("MinMarker")), e.fMin);

    // Mode kp: relabelled and evaluated again at once.
    EXPECT_EQ(run.value(QStringLiteral("Label42")), QStringLiteral("kp        [%]"));
    const double u = 1 - e.fMin / e.fMax;
    expectLabel(run, "kmode", 1, std::sqrt(2.51 * u - u * u) * 100, 2);
    expectLabel(run, "keff", 1, kEff(e.fMin, e.fMax), 2);

    // Manual pick: the prompt, then two clicks.
    EXPECT_EQ(run.value(QStringLiteral("PlotPrompt"), 2),
              QStringLiteral("Please click on |Z| minimum f(min)... "));
    EXPECT_EQ(run.value(QStringLiteral("AwaitMinClick"), 2), QStringLiteral("1"));
    const double f1 = run.number(QStringLiteral("MinMarker"), 3);
    EXPECT_EQ(run.value(QStringLiteral("PlotPrompt"), 3),
              QStringLiteral("Please click on |Z| maximum f(max)... "));
    EXPECT_GT(f1, kLow);
    EXPECT_EQ(run.number(QStringLiteral("MaxMarker"), 3), 0.0);
    expectLabel(run, "fmin", 3, f1, 3);
    const double f2 = run.number(QStringLiteral("MaxMarker"), 4);
    EXPECT_GT(f2, f1 + 3) << "the clicks lie far enough apart for the point-count check";
    EXPECT_LT(f2, kHigh);
    EXPECT_EQ(run.value(QStringLiteral("PlotPrompt"), 4), QString());
    EXPECT_EQ(run.value(QStringLiteral("AwaitMaxClick"), 4), QStringLiteral("0"));
    auto nearest = [&grid](double f) {
        size_t best = 0;
        for (size_t i = 1; i < grid.size(); ++i)
            if (std::fabs(grid[i] - f) < std::fabs(grid[best] - f))
                best = i;
        return grid[best];
    };
    const double zAtMin = modelZ(nearest(f1)), zAtMax = modelZ(nearest(f2));
    expectLabel(run, "fmin", 4, f1, 3);
    expectLabel(run, "fmax", 4, f2, 3);
    expectLabel(run, "keff", 4, kEff(f1, f2), 2);
    const double uManual = 1 - f1 / f2;
    expectLabel(run, "kmode", 4, std::sqrt(2.51 * uManual - uManual * uManual) * 100, 2);
    expectLabel(run, "Rs", 4, zAtMin, zAtMin < 10 ? 1 : 0);
    expectLabel(run, "D", 4, std::log10(zAtMax) - std::log10(zAtMin), 1);
    // ruecksetzen: the window in use again.
    EXPECT_EQ(run.number(QStringLiteral("RangeStart"), 4), kLow);
    EXPECT_EQ(run.number(QStringLiteral("RangeStop"), 4), kHigh);
}

TEST(EvaluationProgram, TooFewPointsInTheWindowReadMoreOnOkAndThenEvaluate) {
    // The default range sweeps 0.04 to 5000 kHz: a few points around 200 kHz only.
    const ScriptRun run =
        ymt::test::RunScript(kConnectAndMeasure + QStringLiteral("click Button6\n"
                                                                 "answer OK\n"
                                                                 "click Button10\n"
                                                                 "state\n"
                                                                 "curve fastgraph1 3\n"
                                                                 "quit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_TRUE(run.lines.join('\n').contains(
        QStringLiteral("\"Very few measurement points! Read More?\" -> OK")))
        << run.lines.join('\n').toStdString();
    const std::vector<double> grid = run.curveX();
    int inside = 0;
    for (double f : grid)
        inside += f > kLow && f < kHigh;
    EXPECT_GE(inside, 400) << "Read More Points swept the window";
    const Expected e = evaluate(grid);
    expectLabel(run, "fmin", 0, e.fMin, 3);
    expectLabel(run, "fmax", 0, e.fMax, 3);
    expectLabel(run, "keff", 0, kEff(e.fMin, e.fMax), 2);
    expectLabel(run, "Rs", 0, e.zMin, e.zMin < 10 ? 1 : 0);
}
