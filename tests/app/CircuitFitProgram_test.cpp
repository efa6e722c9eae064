// "Fit Equivalent Circuit" through the built program on the simulated analyzer: Connect, Read
// New Spectrum over 150-300 kHz (401 points), the window 150-300 kHz, the fit. The fitted
// values are compared with the sample configured in sicl.conf; the refusals and the Parts'
// labels, which the fit must leave alone, are checked on the same runs.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/support/Tolerance.h"

#include "instrument/simulated/SampleModel.h"

#include <gtest/gtest.h>

#include <cmath>

using ymt::test::IsRelativelyNear;
using ymt::test::SimulatorRun;

namespace {

const QString kMeasureAndFit =
    ymt::test::ConnectSteps(0) + QStringLiteral("type Edit36 150\n"
                                                "type Edit37 300\n"
                                                "click Button6\n"
                                                "type Edit1 150\n"
                                                "type Edit2 300\n"
                                                "click Button10\n"
                                                "state\n"
                                                "click FitCircuitButton\n"
                                                "state\n");

QString SampleConf(double qm, double noise = 0) {
    return QStringLiteral("[gpib0,17]\nc0 = 1.5\ntand = 0\nbranch = 200, 0.30, %1\nnoise = %2\n")
        .arg(qm)
        .arg(noise);
}

// The n-th printed value of key (0 = first).
double NumberAt(const SimulatorRun& run, const QString& key, int n) {
    const QStringList lines = run.linesStartingWith(key + QLatin1Char('='));
    return n < lines.size() ? lines[n].mid(key.size() + 1).toDouble() : std::nan("");
}

struct ModelValues {
    double C0nF, R1, L1mH, C1pF, Fs, Fp, Qm;
};

// From the parameters of the sample's first branch; C0 as given.
ModelValues Expected(const ymt::SampleModel& sample, double seenC0nF) {
    const ymt::MotionalBranch& b = sample.branches.front();
    return {seenC0nF,
            ymt::BranchResistanceOhm(b),
            ymt::BranchInductanceH(b) * 1e3,
            b.capacitanceNF * 1e3,
            b.seriesResonanceKHz,
            b.seriesResonanceKHz * std::sqrt(1 + b.capacitanceNF / seenC0nF),
            b.qualityFactor};
}

ymt::SampleModel OneBranch(double qm) {
    ymt::SampleModel sample;
    sample.clampedCapacitanceNF = 1.5;
    sample.lossTangent = 0;
    sample.branches = {{200, 0.30, qm}};
    return sample;
}

} // namespace

TEST(CircuitFitProgram, OneBranchSampleWithoutNoiseIsFittedAndThePartsLabelsStay) {
    const SimulatorRun run = ymt::test::RunOnSimulator(
        kMeasureAndFit + QStringLiteral("click FitProtocolButton\n"
                                        "show Memo2\n"
                                        "curve fastgraph1 5\n"
                                        "state\n"
                                        // No resonance: only the capacitance above fp.
                                        "type Edit1 230\n"
                                        "answer OK\n"
                                        "click FitCircuitButton\n"
                                        "state\n"
                                        // Five points around fs.
                                        "type Edit1 199.1\n"
                                        "type Edit2 200.9\n"
                                        "answer OK\n"
                                        "click FitCircuitButton\n"
                                        "state\n"
                                        // The protocol holds the added line: asked once.
                                        "answer No\n"
                                        "quit\n"),
        SampleConf(500));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();

    const ModelValues e = Expected(OneBranch(500), 1.5);
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.C0", 1), e.C0nF, 1e-3)) << "C0";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.R1", 1), e.R1, 1e-3)) << "R1";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.L1", 1), e.L1mH, 1e-3)) << "L1";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.C1", 1), e.C1pF, 1e-3)) << "C1";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.fs", 1), e.Fs, 1e-4)) << "fs";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.fp", 1), e.Fp, 1e-4)) << "fp";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.Qm", 1), e.Qm, 5e-3)) << "Qm";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.keff", 1),
                                 std::sqrt(1 - std::pow(e.Fs / e.Fp, 2)) * 100, 1e-3))
        << "keff";
    EXPECT_EQ(NumberAt(run, "fit.points", 1), 399); // 150 and 300 lie on the window's edges
    EXPECT_LT(NumberAt(run, "fit.rms", 1), 0.01);   // %: the analyzer's digits only

    // The Parts' evaluation before and after the fit: every label and result alike.
    const QStringList before = run.linesStartingWith(QStringLiteral("label."));
    ASSERT_FALSE(before.isEmpty());
    const qsizetype perState = before.size() / 5;
    EXPECT_EQ(before.mid(0, perState), before.mid(perState, perState));
    for (const char* key : {"FMin", "FMax", "ZMin", "KEff", "Q3dB"})
        EXPECT_EQ(NumberAt(run, key, 0), NumberAt(run, key, 1)) << key;

    // The operator's protocol line, with what the results window shows.
    const QStringList protocol = run.box(QStringLiteral("Memo2"));
    ASSERT_EQ(protocol.size(), 1);
    EXPECT_TRUE(protocol[0].contains(QStringLiteral("fs[kHz] 200.000")))
        << protocol[0].toStdString();
    EXPECT_TRUE(protocol[0].contains(QStringLiteral("Qm 500"))) << protocol[0].toStdString();

    // The fitted |Z| drawn at each point of the window, on the model's |Z| there.
    const std::vector<ymt::test::CurvePointText> fitted = run.curve(0);
    ASSERT_EQ(fitted.size(), 399u);
    const ymt::SampleModel model = OneBranch(500);
    for (const auto& point : fitted)
        EXPECT_TRUE(IsRelativelyNear(point.y, ymt::SampleZTheta(model, point.x).magnitudeOhm, 1e-4))
            << "fitted |Z|";

    // Both refusals: a message each, no values and no fitted curve left.
    const QStringList messages = run.linesStartingWith(QStringLiteral("message error"));
    ASSERT_EQ(messages.size(), 2) << run.output.join('\n').toStdString();
    EXPECT_TRUE(messages[0].contains(QStringLiteral("no resonance"))) << messages[0].toStdString();
    EXPECT_TRUE(messages[1].contains(QStringLiteral("5 points"))) << messages[1].toStdString();
    EXPECT_EQ(NumberAt(run, "fit.fs", 3), 0);
    EXPECT_EQ(NumberAt(run, "fit.fs", 4), 0);
}

TEST(CircuitFitProgram, NoiseOfOnePerMilleKeepsTheResonancesWithinItsBounds) {
    const SimulatorRun run =
        ymt::test::RunOnSimulator(kMeasureAndFit + QStringLiteral("quit\n"), SampleConf(500, 1e-3));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const ModelValues e = Expected(OneBranch(500), 1.5);
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.fs", 1), e.Fs, 5e-4)) << "fs";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.fp", 1), e.Fp, 5e-4)) << "fp";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.Qm", 1), e.Qm, 0.05)) << "Qm";
}

// Two branches and a lossy C0: the window sees C0 plus the capacitance of the 2000 kHz branch.
TEST(CircuitFitProgram, DefaultSampleGivesItsFirstResonance) {
    const SimulatorRun run = ymt::test::RunOnSimulator(kMeasureAndFit + QStringLiteral("quit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const ymt::SampleModel sample = ymt::DefaultSampleModel();
    const ymt::MotionalBranch& second = sample.branches[1];
    const double seenC0 = sample.clampedCapacitanceNF +
                          second.capacitanceNF / (1 - std::pow(225 / second.seriesResonanceKHz, 2));
    const ModelValues e = Expected(sample, seenC0);
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.fs", 1), e.Fs, 1e-4)) << "fs";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.Qm", 1), e.Qm, 0.03)) << "Qm";
    EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.C0", 1), e.C0nF, 2e-3)) << "C0";
    EXPECT_NEAR(NumberAt(run, "fit.tand", 1), sample.lossTangent * 1.5 / seenC0, 1e-4);
}

TEST(CircuitFitProgram, LowAndHighQmConverge) {
    for (const double qm : {50.0, 2000.0}) {
        const SimulatorRun run =
            ymt::test::RunOnSimulator(kMeasureAndFit + QStringLiteral("quit\n"), SampleConf(qm));
        ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
        const ModelValues e = Expected(OneBranch(qm), 1.5);
        EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.fs", 1), e.Fs, 1e-4)) << "fs";
        EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.fp", 1), e.Fp, 1e-4)) << "fp";
        EXPECT_TRUE(IsRelativelyNear(NumberAt(run, "fit.Qm", 1), e.Qm, 0.01)) << "Qm";
    }
}

// In German the results window is German, and `controls` lists its controls only while it is
// open; `show` and `state` tell the plot's titles.
TEST(CircuitFitProgram, ResultsWindowInGermanAndListedWhileOpen) {
    const SimulatorRun run = ymt::test::RunOnSimulator(
        QStringLiteral("select RadioGroup4 1\ncontrols\n") + kMeasureAndFit +
        QStringLiteral("controls\nshow fastgraph1\nquit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList captions = run.linesStartingWith(QStringLiteral("FitCaptionTand\t"));
    ASSERT_EQ(captions.size(), 1) << "listed once: after the fit, not before";
    EXPECT_TRUE(captions[0].contains(QStringLiteral("\ttand von C0  [1e-4]\t")))
        << captions[0].toStdString();
    const QStringList close = run.linesStartingWith(QStringLiteral("FitCloseButton\t"));
    ASSERT_EQ(close.size(), 1);
    EXPECT_TRUE(close[0].contains(QString::fromUtf8("\tSchließen\t"))) << close[0].toStdString();
    EXPECT_EQ(run.value(QStringLiteral("fastgraph1.Title")), QStringLiteral("Kopplungsfaktor"));
    EXPECT_EQ(run.value(QStringLiteral("fastgraph1.XAxisTitle")), QStringLiteral("Frequenz [kHz]"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.Title")), QStringLiteral("Spektrenvergleich"));
    EXPECT_EQ(run.value(QStringLiteral("dauergraph.YAxisTitle")),
              QString::fromUtf8("Kapazität [nF]"));
    EXPECT_EQ(run.value(QStringLiteral("fastgraph1.XLog")), QStringLiteral("0"));
    EXPECT_TRUE(run.output.contains(QStringLiteral("fastgraph1=Kopplungsfaktor")))
        << run.output.join('\n').toStdString();
}
