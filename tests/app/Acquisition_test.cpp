// Spectrum acquisition through the built program on the simulated analyzers: Read New Spectrum
// against the simulated sample, Read More Points, Delete all points, the range fields, and
// sweeps that time out or end early.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/support/Tolerance.h"

#include "instrument/simulated/SampleModel.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using ymt::test::ConnectSteps;
using ymt::test::CurvePointText;
using ymt::test::RunOnSimulator;
using ymt::test::SimulatorRun;

namespace {

double gridFrequency(double start, double stop, int i) {
    return start + (stop - start) * i / 400;
}

// Every point of a sweep over start..stop at its grid frequency with the sample's |Z| and theta.
void expectSweep(const std::vector<CurvePointText>& z, const std::vector<CurvePointText>& theta,
                 std::size_t first, double start, double stop, int model) {
    const ymt::SampleModel sample = ymt::DefaultSampleModel();
    const double tolerance = ymt::test::AnalyzerDigitsTolerance(model);
    ASSERT_EQ(z.size(), theta.size());
    for (int i = 0; i < 401; ++i) {
        const std::size_t at = first + std::size_t(i);
        ASSERT_LT(at, z.size());
        const double f = gridFrequency(start, stop, i);
        EXPECT_NEAR(z[at].x, f, 1e-9 * f) << "point " << i;
        EXPECT_EQ(theta[at].x, z[at].x);
        const ymt::ImpedancePolar expected = ymt::SampleZTheta(sample, f);
        EXPECT_NEAR(z[at].y, expected.magnitudeOhm, tolerance * expected.magnitudeOhm)
            << "|Z| at " << f;
        EXPECT_NEAR(theta[at].y, expected.thetaDeg, tolerance * 90) << "theta at " << f;
    }
}

// The capacitance measurement at 1 kHz ends every "Read New Spectrum" with one point of its own
// in each curve; the sweeps are the rest.
constexpr double kCapacitanceKHz = 1.0;

std::vector<CurvePointText> withoutCapacitancePoint(const std::vector<CurvePointText>& curve) {
    std::vector<CurvePointText> sweeps;
    for (const CurvePointText& point : curve)
        if (point.x != kCapacitanceKHz)
            sweeps.push_back(point);
    EXPECT_EQ(sweeps.size() + 1, curve.size()) << "one capacitance point";
    return sweeps;
}

bool sortedByFrequency(const std::vector<CurvePointText>& curve) {
    return std::is_sorted(
        curve.begin(), curve.end(),
        [](const CurvePointText& a, const CurvePointText& b) { return a.x < b.x; });
}

const char* kCurves = "curve fastgraph1 3\nstate\ncurve fastgraph1 4\n";

} // namespace

TEST(ReadNewSpectrum, DefaultRangesGiveTwoSortedSweepsOfTheSimulatedSampleOnBothModels) {
    for (int model : {0, 1}) {
        SCOPED_TRACE(model == 0 ? "HP 4194A" : "HP 4294A");
        const SimulatorRun run = RunOnSimulator(ConnectSteps(model) + "click Button6\n" + kCurves);
        ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
        ASSERT_EQ(run.curve(0).size(), 803u);
        ASSERT_EQ(run.curve(1).size(), 803u);
        EXPECT_NE(run.number("ZAvg"), 0);
        EXPECT_TRUE(sortedByFrequency(run.curve(0)));
        const std::vector<CurvePointText> z = withoutCapacitancePoint(run.curve(0));
        const std::vector<CurvePointText> theta = withoutCapacitancePoint(run.curve(1));
        // Range 1 from the analyzer's minimum to 5000 kHz, range 2 from 5000 kHz to its maximum;
        // both measure 5000 kHz, so the two sweeps meet there in a pair.
        const double analyzerMin = run.number("AnalyzerMin");
        const double analyzerMax = run.number("AnalyzerMax");
        expectSweep(z, theta, 0, analyzerMin, 5000, model);
        expectSweep(z, theta, 401, 5000, analyzerMax, model);
        EXPECT_EQ(run.value("PlotPrompt"), "");
        EXPECT_EQ(run.value("ShowMarkers"), "0");
        // The analyzer is back at the zoom window and sweeping continuously.
        const QStringList commands = run.commands();
        EXPECT_EQ(commands.last(), model == 0 ? "AUTO" : "CONT;TRAC A;AUTO;TRAC B;AUTO");
    }
}

TEST(ReadNewSpectrum, WorksOnTheRealClockWithTheWaitsItTakes) {
    QElapsedTimer wallClock;
    wallClock.start();
    const SimulatorRun run = RunOnSimulator(ConnectSteps(1) + "click Button6\n" + kCurves, {},
                                            /*fast=*/false);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    // Two sweeps and the point of the capacitance measurement.
    EXPECT_EQ(run.curve(0).size(), 803u);
    EXPECT_TRUE(sortedByFrequency(run.curve(0)));
    // Connect alone waits 3 s after opening the session; the sweeps take their time too.
    EXPECT_GT(wallClock.elapsed(), 3000);
}

TEST(ReadNewSpectrum, SweepsEachCheckedRangeAsTypedAndSortsThem) {
    // Range 3 typed above the span is limited; range 1 unchecked; ranges out of order.
    const SimulatorRun run = RunOnSimulator(ConnectSteps(1) +
                                            "check CheckBox23 0\ncheck CheckBox25 1\n"
                                            "type Edit40 300\ntype Edit41 200000\nshow Edit41\n"
                                            "type Edit38 200\ntype Edit39 100\n"
                                            "click Button6\n" +
                                            kCurves);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.value("Edit41"), "110000.000");
    ASSERT_EQ(run.curve(0).size(), 803u);
    EXPECT_TRUE(sortedByFrequency(run.curve(0)));
    const std::vector<CurvePointText> z = withoutCapacitancePoint(run.curve(0));
    const std::vector<CurvePointText> theta = withoutCapacitancePoint(run.curve(1));
    // Range 2 was typed from 200 down to 100: the analyzer sweeps upwards, and each value
    // keeps the frequency it was measured at.
    EXPECT_TRUE(run.commands().contains("STAR 100000.000;STOP 200000.000"));
    EXPECT_TRUE(run.commands().contains("STAR 300000.000;STOP 110000000.000"));
    expectSweep(z, theta, 0, 100, 200, 1);
    expectSweep(z, theta, 401, 300, 110000, 1);
}

TEST(ReadNewSpectrum, NoRangeCheckedAsksForTheOverview) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(1) +
                       "check CheckBox23 0\nanswer OK\ncheck CheckBox24 0\n"
                       "answer Cancel\nclick Button6\ncurve fastgraph1 3\nstate\n"
                       "answer OK\nclick Button6\n" +
                       kCurves);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList messages = run.linesStartingWith("message ");
    ASSERT_EQ(messages.size(), 5);
    EXPECT_EQ(messages[2], "message information \"When no Range is selected, 'Read New Spectrum' "
                           "will read the full range of your Analyzer.\" -> OK");
    EXPECT_EQ(messages[3], "message confirmation \"No frequency range defined. Load spectrum "
                           "overview?\" -> Cancel");
    EXPECT_EQ(messages[4], "message confirmation \"No frequency range defined. Load spectrum "
                           "overview?\" -> OK");
    // After Cancel the spectrum holds only the capacitance point; after OK the overview too.
    ASSERT_EQ(run.curve(0).size(), 1u);
    EXPECT_EQ(run.curve(0)[0].x, kCapacitanceKHz);
    ASSERT_EQ(run.curve(1).size(), 402u);
    expectSweep(withoutCapacitancePoint(run.curve(1)), withoutCapacitancePoint(run.curve(2)), 0,
                0.04, 110000, 1);
}

TEST(ReadNewSpectrum, ARangeOutsideTheAnalyzersSpanIsSkippedNotMislabelled) {
    const SimulatorRun run = RunOnSimulator(
        ConnectSteps(0) + "check CheckBox25 1\nclick Button6\nshow Memo1\ncurve fastgraph1 3\n"
                          "state\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.box("Memo1").filter("Range 3").size(), 1);
    EXPECT_FALSE(run.commands().contains("START= 0.000"));
    const std::vector<CurvePointText> z = run.curve(0);
    EXPECT_EQ(z.size(), 803u); // two sweeps and the capacitance point
    EXPECT_TRUE(std::all_of(z.begin(), z.end(),
                            [](const CurvePointText& point) { return point.x >= 0.1; }));
}

TEST(ReadMorePoints, MergingKeepsOldPointsInPairsAndWithoutMergingReplacesThem) {
    for (int model : {0, 1}) {
        SCOPED_TRACE(model == 0 ? "HP 4194A" : "HP 4294A");
        // Only range 1, over the window the measurement tab zooms to.
        const SimulatorRun run = RunOnSimulator(
            ConnectSteps(model) +
            "check CheckBox24 0\ntype Edit36 100\ntype Edit37 300\n"
            "type Edit1 100\ntype Edit2 300\n"
            "click Button6\nclick Button7\ncurve fastgraph1 3\nshow Edit1\ncurve fastgraph1 4\n"
            "show Edit1\ncheck CheckBox17 0\nclick Button7\n" +
            QString(kCurves));
        ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
        ASSERT_EQ(run.curve(0).size(), 803u);
        EXPECT_TRUE(sortedByFrequency(run.curve(0)));
        const std::vector<CurvePointText> merged = withoutCapacitancePoint(run.curve(0));
        for (std::size_t i = 0; i < merged.size(); i += 2)
            EXPECT_EQ(merged[i].x, merged[i + 1].x) << "pair " << i / 2;
        // Without merging every old point of 100..300 kHz, limits included, is replaced; the
        // capacitance point below them stays.
        ASSERT_EQ(run.curve(2).size(), 402u);
        EXPECT_TRUE(sortedByFrequency(run.curve(2)));
        expectSweep(withoutCapacitancePoint(run.curve(2)), withoutCapacitancePoint(run.curve(3)), 0,
                    100, 300, model);
        // Read More Points sweeps what the analyzer holds: no new range is sent before it.
        const QStringList commands = run.commands();
        const qsizetype lastSweep =
            commands.lastIndexOf(model == 0 ? QString("SWTRG") : QString("MEAS IMPH;SING"));
        ASSERT_GT(lastSweep, 0);
        EXPECT_TRUE(commands.value(lastSweep - (model == 0 ? 3 : 1)).contains("AUTO"));
    }
}

TEST(DeleteAllPoints, NoKeepsTheSpectrumAndYesEmptiesIt) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(1) + "click Button6\nanswer No\nclick DeletePoints1\n"
                                         "curve fastgraph1 3\nanswer Yes\nclick DeletePoints1\n"
                                         "curve fastgraph1 3\ncurve fastgraph1 4\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList messages = run.linesStartingWith("message warning");
    EXPECT_EQ(messages, QStringList({"message warning \"Do you really want to delete all "
                                     "points?\" -> No",
                                     "message warning \"Do you really want to delete all "
                                     "points?\" -> Yes"}));
    EXPECT_GE(run.curve(0).size(), 802u);
    // Only the first block printed points; the emptied curves print none.
    EXPECT_TRUE(run.curve(1).empty());
    EXPECT_EQ(run.value("FMin"), "0");
    EXPECT_EQ(run.value("FMax"), "0");
    EXPECT_EQ(run.value("label.fmin"), "---");
    EXPECT_EQ(run.value("ShowMarkers"), "0");
}

TEST(RangeFields, StartEqualsStopRuleClampsAndZoomHistory) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(1) + "type Edit2 300\nstate\n"
                                         "type Edit1 300\nshow Edit1\nshow Edit33\nstate\n"
                                         "type Edit1 300\nstate\n"
                                         "type Edit1 0.001\nshow Edit1\n"
                                         "type Edit2 200000\nshow Edit2\nshow Edit34\nstate\n"
                                         "answer OK\ntype Edit1 \"12 kHz\"\nshow Edit1\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList depth = run.linesStartingWith("ZoomDepth=");
    EXPECT_EQ(depth, QStringList({"ZoomDepth=1", "ZoomDepth=2", "ZoomDepth=2", "ZoomDepth=4",
                                  "ZoomDepth=4"}));
    // Typing the stop into Start lifts the start 1e-10 kHz above it; zoom orders the two.
    const QStringList starts = run.linesStartingWith("RangeStart=");
    const QStringList stops = run.linesStartingWith("RangeStop=");
    EXPECT_EQ(stops[0], "RangeStop=300");
    EXPECT_DOUBLE_EQ(starts[1].mid(11).toDouble(), 300);
    EXPECT_DOUBLE_EQ(stops[1].mid(10).toDouble(), 300 + 1e-10);
    EXPECT_GT(stops[1].mid(10).toDouble(), 300);
    EXPECT_EQ(run.linesStartingWith("Edit1="),
              QStringList({"Edit1=300.000", "Edit1=0.040", "Edit1=0.040"}));
    EXPECT_EQ(run.value("Edit33"), "300.000");
    EXPECT_EQ(run.value("Edit2"), "110000.000");
    EXPECT_EQ(run.value("Edit34"), "110000.000");
    EXPECT_EQ(starts[3], "RangeStart=0.040000000000000001");
    EXPECT_EQ(stops[3], "RangeStop=110000");
    EXPECT_EQ(
        run.linesStartingWith("message "),
        QStringList({"message none \"Compensation - Open contacts\" -> OK",
                     "message none \"Compensation - Close contacts\" -> OK",
                     "message error \"'12 kHz' is not a valid floating point value\" -> OK"}));
    // Each zoom reaches the analyzer.
    EXPECT_TRUE(run.commands().contains("STAR 40.000;STOP 300000.000"));
}

TEST(OptionFields, RangeFieldsAreLimitedToTheSpanOneAtATime) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(0) + "type Edit36 0.001\nshow Edit36\n"
                                         "type Edit37 200000\nshow Edit37\n"
                                         "type Edit38 abc\nshow Edit38\nshow Edit41\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.value("Edit36"), "0.100");
    EXPECT_EQ(run.value("Edit37"), "40000.000");
    EXPECT_EQ(run.value("Edit38"), "0.100");
    // Leaving one field leaves the others as they are (range 3 stop lies below the span).
    EXPECT_EQ(run.value("Edit41"), "0.000");
}

TEST(FailingSweeps, ALost4194AServiceRequestEndsEachSweepAtTheTimeout) {
    const QString conf = "[gpib0,17]\ndevice = HP4194A\nfault = no-srq\n";
    const SimulatorRun run =
        RunOnSimulator("type Edit35 2\n" + ConnectSteps(0) + "click Button6\n" + kCurves, conf);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    ASSERT_EQ(run.curve(0).size(), 803u);
    // Between the trigger and the trace query the wait polls once a second until more than
    // two seconds have passed (each round lasts a little over its second), then "B?" is
    // preceded by its own poll.
    const qsizetype trigger = run.ioTrace.indexOf("iwrite 1 \"SWTRG\\r\\n\" END");
    ASSERT_GE(trigger, 0);
    int polls = 0;
    for (qsizetype line = trigger + 1; line < run.ioTrace.size(); ++line) {
        if (run.ioTrace[line].startsWith("iwrite"))
            break;
        polls += run.ioTrace[line].startsWith("ireadstb") ? 1 : 0;
    }
    EXPECT_GE(polls, 4);
    EXPECT_LE(polls, 5);
    expectSweep(withoutCapacitancePoint(run.curve(0)), withoutCapacitancePoint(run.curve(1)), 0,
                0.1, 5000, 0);
}

TEST(FailingSweeps, ATraceThatEndsEarlyKeepsOnlyThePointsThatCameBack) {
    const QString conf = "[gpib0,17]\ndevice = HP4294A\nfault = short-trace 100\n";
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(1) + "answer OK\nclick Button6\n" + kCurves, conf);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const std::vector<CurvePointText> z = run.curve(0);
    ASSERT_EQ(z.size(), 2u * 100u + 1u); // and the capacitance point
    // Nothing beyond the 100 values sent is invented, and the values sent keep the frequencies
    // of the 401-point sweep they were measured on.
    EXPECT_TRUE(std::none_of(z.begin(), z.end(),
                             [](const CurvePointText& point) { return point.y <= 1e-299; }));
    double lastOfRange1 = 0;
    for (const CurvePointText& point : z)
        lastOfRange1 = point.x < 5000 ? std::max(lastOfRange1, point.x) : lastOfRange1;
    EXPECT_NEAR(lastOfRange1, gridFrequency(0.04, 5000, 99), 1e-9);
    EXPECT_LT(z.back().x, gridFrequency(5000, 110000, 100));
    // One box per operation, naming every sweep that came back short.
    const QStringList messages = run.linesStartingWith("message ");
    ASSERT_EQ(messages.size(), 3) << messages.join('\n').toStdString(); // 2 compensation boxes
    EXPECT_EQ(messages[2], "message error \"Error: the trace of range 1 ended after 100 of 401 "
                           "points; only these are stored.\\nError: the trace of range 2 ended "
                           "after 100 of 401 points; only these are stored.\" -> OK");
}

TEST(AnalyzerFailures, ADroppedSpanQueryKeepsTheModelsSpan) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(0) + "show Memo1\nstate\nclick Button6\n",
                       "[gpib0,17]\ndevice = HP4194A\nfault = drop-reply START?\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_DOUBLE_EQ(run.number("AnalyzerMin"), 0.1);
    EXPECT_DOUBLE_EQ(run.number("AnalyzerMax"), 40000);
    EXPECT_EQ(run.box("Memo1").filter("did not report its frequency span").size(), 1);
    EXPECT_FALSE(run.commands().contains("START= 0.000"));
    EXPECT_TRUE(run.commands().contains("START=100.000"));
}

TEST(AnalyzerFailures, ALostTraceGivesOneMessageAndNoPoint) {
    const SimulatorRun run = RunOnSimulator(
        ConnectSteps(0) + "answer OK\nclick Button6\nshow Memo1\n" + "curve fastgraph1 3\nstate\n",
        "[gpib0,17]\ndevice = HP4194A\nfault = drop-reply A?\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList messages = run.linesStartingWith("message error");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("no trace came back from the analyzer for range 1"));
    EXPECT_TRUE(messages[0].contains("for range 2"));
    EXPECT_EQ(run.box("Memo1").filter("no trace came back").size(), 2);
    EXPECT_TRUE(run.curve(0).empty());
}

TEST(Demo, ConnectsAndReadsASpectrumOnTheSimulatedAnalyzer) {
    const SimulatorRun run = RunOnSimulator({});
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    // The demo tells what it did in sentences.
    EXPECT_TRUE(run.output.value(0).startsWith("Connected to the simulated HP 4294A at address 17"))
        << run.output.join('\n').toStdString();
    // Both ranges were swept and read, the capacitance measured at one
    // frequency, then the zoomed window once more for its evaluation.
    EXPECT_EQ(run.ioTrace.filter("OUTPDTRC?").size(), 8);
}
