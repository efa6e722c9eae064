// The analyzer command sets against both simulated models: the exact messages on the bus, the
// completion wait on the virtual clock, and the guard.
#include "InstrumentTestSupport.h"

#include "core/Clock.h"

#include <array>

using ymt::testing::InstrumentTest;

namespace ymt {
namespace {

constexpr int kHp4194 = 0;
constexpr int kHp4294 = 1;

class CommandSetTest : public InstrumentTest {};

TEST_F(CommandSetTest, Hp4194SplitsUpperCasesAndPollsBeforeEachPart) {
    connect(kHp4194);
    analyzer.SetSweepRange(5000, 0.04);
    EXPECT_EQ(trace,
              QByteArrayList({"ireadstb 1 0x00 rc=0", "iwrite 1 \"START=40.000\\r\\n\" END",
                              "ireadstb 1 0x00 rc=0", "iwrite 1 \"STOP=5000000.000\\r\\n\" END"}));
}

TEST_F(CommandSetTest, Hp4294SendsTheSweepRangeAsOneMessage) {
    connect(kHp4294);
    analyzer.SetSweepRange(5000, 0.04);
    EXPECT_EQ(trace, QByteArrayList({"iwrite 1 \"STAR 40.000;STOP 5000000.000\\r\\n\" END"}));
}

TEST_F(CommandSetTest, FrequencyBelowHundredHertzKeepsItsWidthOfSix) {
    connect(kHp4194);
    analyzer.SetSweepRange(0.004, 1);
    EXPECT_EQ(written(), QByteArrayList({"START= 4.000", "STOP=1000.000"}));
}

TEST_F(CommandSetTest, ApplySettingsWithoutBias) {
    connect(kHp4194);
    analyzer.ApplyAnalyzerSettings(1, 0, 0.5);
    EXPECT_EQ(written(), QByteArrayList({"NOA=1", "OSC=0.500", "DCOFF"}));
    connect(kHp4294);
    analyzer.ApplyAnalyzerSettings(1, 0, 0.5);
    EXPECT_EQ(written(), QByteArrayList({"PAVERFACT 1;PAVER ON;AVERREST",
                                         "POWMOD VOLT;POWE 0.500;DCMOD VOLT", "DCV 0;DCO OFF"}));
    EXPECT_TRUE(simulated().rejectedCommands.isEmpty())
        << simulated().rejectedCommands.join('|').toStdString();
}

TEST_F(CommandSetTest, ApplySettingsWithBias) {
    connect(kHp4194);
    const qint64 start = clock::nowMs();
    analyzer.ApplyAnalyzerSettings(5, -1.5, 1);
    EXPECT_EQ(written(), QByteArrayList({"NOA=4", "OSC=1.000", "BIAS=-1.500"}));
    EXPECT_GE(clock::nowMs() - start, 3000) << "each 4194A setting is followed by one second";
    EXPECT_EQ(simulated().averaging, 4);
    EXPECT_TRUE(simulated().biasOn);
    connect(kHp4294);
    analyzer.ApplyAnalyzerSettings(5, -1.5, 1);
    EXPECT_EQ(written(),
              QByteArrayList({"PAVERFACT 5;PAVER ON;AVERREST", "POWMOD VOLT;POWE 1.000;DCMOD VOLT",
                              "DCV -1.500;DCO ON"}));
    EXPECT_DOUBLE_EQ(simulated().biasV, -1.5);
}

TEST_F(CommandSetTest, Hp4194AveragingIsTheNearestPowerOfTwo) {
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(1), 1);
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(3), 4);
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(5), 4);
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(6), 8);
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(12), 16);
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(256), 256);
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(1000), 256);
    EXPECT_EQ(HP4x94A::PowerOfTwoAveraging(0), 1);
}

TEST_F(CommandSetTest, SelectFunctionCodesOutsideOneToTwentyOneSendNothing) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model);
        analyzer.SelectFunction(21);
        analyzer.SelectFunction(1);
        analyzer.SelectFunction(0);
        analyzer.SelectFunction(22);
        const QByteArrayList messages = written();
        ASSERT_EQ(messages.size(), 2);
        EXPECT_EQ(messages[0], messages[1]);
        EXPECT_EQ(messages[0], model == kHp4194 ? "IMP1" : "MEAS IMPH");
    }
}

TEST_F(CommandSetTest, EverySelectedFunctionIsUnderstoodByTheAnalyzer) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model);
        for (int code = 1; code <= 20; ++code) {
            analyzer.SelectFunction(code);
            EXPECT_EQ(simulated().function, code) << "model " << model;
        }
        EXPECT_TRUE(simulated().rejectedCommands.isEmpty());
    }
}

TEST_F(CommandSetTest, FixedStringOperations) {
    connect(kHp4194);
    analyzer.SetDisplayScales(true, false);
    analyzer.SetSweepMode(false);
    analyzer.SetCompensation(true);
    analyzer.AutoscaleDisplay();
    EXPECT_EQ(written(), QByteArrayList({"ASC2", "BSC1", "SWM2", "SHT1", "OPN1", "SWM1", "AUTO"}));
    EXPECT_TRUE(simulated().logScaleA);
    EXPECT_TRUE(simulated().openCompensation);

    connect(kHp4294);
    analyzer.SetDisplayScales(true, false);
    analyzer.SetSweepMode(false);
    analyzer.SetCompensation(false);
    analyzer.AutoscaleDisplay();
    EXPECT_EQ(written(),
              QByteArrayList({"TRAC A", "FMT LOGY", "TRAC B", "FMT LINY", "SING", "COMSTA OFF",
                              "COMSTB OFF", "CONT;TRAC A;AUTO;TRAC B;AUTO"}));
    EXPECT_TRUE(simulated().logScaleA);
    EXPECT_FALSE(simulated().logScaleB);
    EXPECT_TRUE(simulated().rejectedCommands.isEmpty());
}

TEST_F(CommandSetTest, OpenAndShortCompensationWaitForTheAnalyzer) {
    connect(kHp4194);
    qint64 start = clock::nowMs();
    analyzer.MeasureOpen();
    analyzer.MeasureShort();
    EXPECT_EQ(written(), QByteArrayList({"CMPN1", "ZOPEN", "ZSHRT"}));
    EXPECT_GE(clock::nowMs() - start, 6000);

    connect(kHp4294);
    analyzer.CompletionTimeout = 30000;
    analyzer.MeasureOpen();
    EXPECT_EQ(written(), QByteArrayList({"COMA", "*OPC?"}));
    EXPECT_EQ(lines("iread").value(0), "iread 1 \"1\\n\" rc=0");
    EXPECT_TRUE(simulated().rejectedCommands.isEmpty());
}

TEST_F(CommandSetTest, Hp4294PresetWaitsAndSetsFourHundredOnePoints) {
    connect(kHp4294);
    analyzer.Averaging = 16;
    analyzer.CompletionTimeout = 30000;
    analyzer.PresetAnalyzer();
    EXPECT_EQ(written(), QByteArrayList({"PRES", "*OPC?", "POIN 401"}));
    EXPECT_EQ(lines("itimeout"), QByteArrayList({"itimeout 1 30000 rc=0", "itimeout 1 2000 rc=0"}));
    EXPECT_EQ(analyzer.Averaging, 1);
    EXPECT_EQ(simulated().points, 401);
}

TEST_F(CommandSetTest, Hp4194PresetEnablesTheServiceRequest) {
    connect(kHp4194);
    analyzer.PresetAnalyzer();
    EXPECT_EQ(written(), QByteArrayList({"RQS2"}));
    EXPECT_TRUE(simulated().serviceRequestEnabled);
}

TEST_F(CommandSetTest, GetSweepRangeReadsHertzAndReturnsKilohertz) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model);
        analyzer.PresetAnalyzer();
        double start = -1, stop = -1;
        analyzer.GetSweepRange(start, stop);
        EXPECT_DOUBLE_EQ(start, model == kHp4194 ? 0.1 : 0.04);
        EXPECT_DOUBLE_EQ(stop, model == kHp4194 ? 40000 : 110000);
        analyzer.SetSweepRange(1234.567, 98.765);
        analyzer.GetSweepRange(start, stop);
        EXPECT_DOUBLE_EQ(start, 98.765);
        EXPECT_DOUBLE_EQ(stop, 1234.567);
    }
    EXPECT_EQ(written().mid(written().size() - 2), QByteArrayList({"STAR?", "STOP?"}));
}

TEST_F(CommandSetTest, QueriesAndTracesGiveTheHp4194ItsTimeToAnswer) {
    connect(kHp4194);
    double value = 0;
    qint64 start = clock::nowMs();
    analyzer.QueryNumber(QStringLiteral("start"), value);
    // The virtual clock also moves with real time, which a loaded machine stretches: the upper
    // bounds only tell one delay from the other.
    EXPECT_GE(clock::nowMs() - start, 300);
    EXPECT_LT(clock::nowMs() - start, 450);
    EXPECT_DOUBLE_EQ(value, 100);
    std::array<double, 401> values{};
    start = clock::nowMs();
    analyzer.ReadTrace(QStringLiteral("a"), values, 401);
    EXPECT_GE(clock::nowMs() - start, 50);
    EXPECT_LT(clock::nowMs() - start, 250);
    EXPECT_EQ(written(), QByteArrayList({"START?", "A?"}));
    EXPECT_GT(values[400], 0);
}

TEST_F(CommandSetTest, Hp4294QueryIsSentAsGivenWithoutDelay) {
    connect(kHp4294);
    double value = 0;
    const qint64 start = clock::nowMs();
    analyzer.QueryNumber(QStringLiteral("star"), value);
    EXPECT_LT(clock::nowMs() - start, 150);
    EXPECT_EQ(written(), QByteArrayList({"star?"}));
    EXPECT_EQ(lines("ireadstb"), QByteArrayList());
}

TEST_F(CommandSetTest, SweepRequestsOutsideTheRangeAreClamped) {
    connect(kHp4194);
    analyzer.SetSweepRange(0.04, 110000);
    EXPECT_DOUBLE_EQ(simulated().startHz, 100);
    EXPECT_DOUBLE_EQ(simulated().stopHz, 40e6);
    connect(kHp4294);
    analyzer.SetSweepRange(0.001, 200000);
    EXPECT_DOUBLE_EQ(simulated().startHz, 40);
    EXPECT_DOUBLE_EQ(simulated().stopHz, 110e6);
}

TEST_F(CommandSetTest, MeasureSweepReadsTraceBFirst) {
    connect(kHp4194);
    analyzer.CompletionTimeout = 30000;
    analyzer.MeasureSweep();
    EXPECT_EQ(written(), QByteArrayList({"IMP1", "SWM2", "SWTRG", "B?", "A?"}));
    connect(kHp4294);
    analyzer.CompletionTimeout = 30000;
    analyzer.PresetAnalyzer();
    trace.clear();
    analyzer.MeasureSweep();
    EXPECT_EQ(written(), QByteArrayList({"MEAS IMPH;SING", "*OPC?", "TRAC B", "OUTPDTRC?", "TRAC A",
                                         "OUTPDTRC?"}));
    EXPECT_EQ(lines("iscanf"),
              QByteArrayList({"iscanf 1 \"%,802lf\" -> 802", "iscanf 1 \"%,802lf\" -> 802"}));
}

TEST_F(CommandSetTest, MeasureSpotAveragesTheSampleAtOneFrequency) {
    const ImpedancePolar expected = SampleZTheta(DefaultSampleModel(), 1.0);
    for (int model : {kHp4194, kHp4294}) {
        connect(model);
        analyzer.CompletionTimeout = 30000;
        double z = 0, theta = 0;
        analyzer.MeasureSpot(5, z, theta, 1.0);
        // The 4194A sends six significant digits.
        EXPECT_NEAR(z, expected.magnitudeOhm, expected.magnitudeOhm * 1e-5) << model;
        EXPECT_NEAR(theta, expected.thetaDeg, 1e-3) << model;
        EXPECT_EQ(simulated().points, 401);
        EXPECT_TRUE(simulated().continuous);
        EXPECT_TRUE(simulated().rejectedCommands.isEmpty());
    }
    EXPECT_EQ(written().first(), "MEAS IMPH;POIN 5;CENT 1000.000;SPAN 0;SING");
    EXPECT_EQ(written().last(), "POIN 401;CONT");
}

TEST_F(CommandSetTest, MeasureSpotWithALostTraceGivesNoReading) {
    for (const char* lost : {"B?", "A?"}) {
        connect(kHp4194, QStringLiteral("fault = drop-reply %1\n").arg(QLatin1String(lost)));
        analyzer.CompletionTimeout = 30000;
        double z = -1, theta = -1;
        analyzer.MeasureSpot(5, z, theta, 1.0);
        EXPECT_EQ(z, 0) << lost << ": |Z| without theta is no point";
        EXPECT_EQ(theta, 0) << lost;
    }
}

TEST_F(CommandSetTest, Hp4194MeasureSpotSendsItsPartsSeparately) {
    connect(kHp4194);
    analyzer.CompletionTimeout = 30000;
    double z = 0, theta = 0;
    analyzer.MeasureSpot(3, z, theta, 12.5);
    EXPECT_EQ(written(), QByteArrayList({"NOP=3", "SWM2", "IMP1", "ASC1", "DPB1", "CENTER=12500",
                                         "SPAN=0", "SWTRG", "A?", "B?", "NOP=401", "SWM1"}));
}

TEST_F(CommandSetTest, NotConnectedOperationsSendNothingAndLeaveOutputs) {
    for (int model : {kHp4194, kHp4294, 2, -1}) {
        connect(kHp4194);
        analyzer.AnalyzerModel = model;
        const int handle = analyzer.AnalyzerHandle;
        if (model == kHp4194 || model == kHp4294)
            analyzer.AnalyzerHandle = 0;
        double z = 7, theta = 8, start = 9, stop = 10, value = 11;
        analyzer.MeasureSpot(10, z, theta, 100);
        analyzer.MeasureSweep();
        analyzer.GetSweepRange(start, stop);
        analyzer.QueryNumber(QStringLiteral("START"), value);
        analyzer.PresetAnalyzer();
        analyzer.WaitComplete(0);
        analyzer.ApplyAnalyzerSettings(4, 1, 1);
        analyzer.SelectFunction(3);
        EXPECT_TRUE(trace.isEmpty()) << model;
        EXPECT_EQ(z, 7);
        EXPECT_EQ(theta, 8);
        EXPECT_EQ(start, 9);
        EXPECT_EQ(value, 11);
        analyzer.AnalyzerHandle = handle;
    }
    analyzer.AnalyzerModel = 0;
    analyzer.AnalyzerSession = nullptr;
    analyzer.SetSweepMode(true);
    EXPECT_TRUE(trace.isEmpty());
}

class WaitCompleteTest : public InstrumentTest {};

TEST_F(WaitCompleteTest, Hp4194PollsOnceASecondUntilTheSweepEnds) {
    connect(kHp4194);
    analyzer.PresetAnalyzer();
    trace.clear();
    const qint64 start = clock::nowMs();
    analyzer.SendCommand(QStringLiteral("swm2;swtrg")); // timeout 0: until service request
    const qint64 waited = clock::nowMs() - start;
    const qint64 sweep = simulated().sweepDurationMs();
    // The first poll after the sweep's end sees the request.
    EXPECT_GE(waited, sweep);
    EXPECT_LE(waited, sweep + 1100);
    QByteArrayList polls = lines("ireadstb");
    EXPECT_EQ(polls.last(), "ireadstb 1 0x40 rc=0");
    EXPECT_EQ(polls.size(), 2 + int((sweep + 1000) / 1001));
}

TEST_F(WaitCompleteTest, Hp4194GivesUpAfterTheRoundThatBeganPastTheTimeout) {
    connect(kHp4194, QStringLiteral("fault = no-srq"));
    analyzer.PresetAnalyzer();
    trace.clear();
    const qint64 start = clock::nowMs();
    analyzer.WaitComplete(5000);
    const qint64 waited = clock::nowMs() - start;
    EXPECT_GE(waited, 6000);
    EXPECT_LE(waited, 6100);
    EXPECT_EQ(lines("ireadstb").size(), 6);
}

TEST_F(WaitCompleteTest, Hp4194ChecksTheTimeoutTakenAtTheStartOfEachRound) {
    connect(kHp4194);
    const qint64 start = clock::nowMs();
    analyzer.WaitComplete(1); // the first round began at 0 ms, which is not past 1 ms
    EXPECT_GE(clock::nowMs() - start, 2000);
    EXPECT_LE(clock::nowMs() - start, 2100);
}

TEST_F(WaitCompleteTest, Hp4294WaitsForTheOperationCompleteReply) {
    connect(kHp4294);
    analyzer.SetSweepRange(100, 300);
    const qint64 start = clock::nowMs();
    analyzer.SendCommand(QStringLiteral("SING"));
    analyzer.WaitComplete(30000);
    const qint64 waited = clock::nowMs() - start;
    EXPECT_GE(waited, simulated().sweepDurationMs());
    EXPECT_LE(waited, simulated().sweepDurationMs() + 50);
    EXPECT_EQ(lines("itimeout").last(), "itimeout 1 2000 rc=0");
}

TEST_F(WaitCompleteTest, Hp4294EndsOnItsTimeoutAndRestoresTwoSeconds) {
    connect(kHp4294, QStringLiteral("fault = drop-reply *OPC?"));
    const qint64 start = clock::nowMs();
    analyzer.WaitComplete(5000);
    const qint64 waited = clock::nowMs() - start;
    EXPECT_GE(waited, 5000);
    EXPECT_LE(waited, 5100);
    EXPECT_EQ(lines("itimeout"), QByteArrayList({"itimeout 1 5000 rc=0", "itimeout 1 2000 rc=0"}));
    EXPECT_EQ(lines("iread"), QByteArrayList({"iread 1 \"\" rc=4"}));
}

TEST_F(WaitCompleteTest, SweepTimeGrowsWithPointsAndAveraging) {
    connect(kHp4194);
    const qint64 base = simulated().sweepDurationMs();
    analyzer.ApplyAnalyzerSettings(4, 0, 0.5);
    EXPECT_GT(simulated().sweepDurationMs(), 3 * base);
    connect(kHp4294);
    analyzer.SendCommand(QStringLiteral("POIN 401"));
    const qint64 points401 = simulated().sweepDurationMs();
    analyzer.SendCommand(QStringLiteral("POIN 101"));
    EXPECT_LT(simulated().sweepDurationMs(), points401);
}

} // namespace
} // namespace ymt
