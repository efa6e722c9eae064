// The simulated analyzers: the sample model, the sweep grid, ranges and presets, the
// measurement functions, and the faults they inject, seen through the command sets.
#include "InstrumentTestSupport.h"
#include "tests/support/Tolerance.h"

#include "instrument/analyzer/MeasurementFunctions.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using ymt::testing::InstrumentTest;

namespace ymt {
namespace {

constexpr int kHp4194 = 0;
constexpr int kHp4294 = 1;

TEST(SampleModelTest, DefaultBranchElementsFollowFromFsC1AndQm) {
    const SampleModel sample = DefaultSampleModel();
    ASSERT_EQ(sample.branches.size(), 2u);
    const double omega = 2 * std::numbers::pi * 200e3;
    EXPECT_NEAR(BranchInductanceH(sample.branches[0]), 1 / (omega * omega * 0.30e-9), 1e-12);
    EXPECT_NEAR(BranchResistanceOhm(sample.branches[0]), 1 / (omega * 0.30e-9 * 500), 1e-9);
    EXPECT_NEAR(BranchResistanceOhm(sample.branches[0]), 5.305, 1e-3);
}

TEST(SampleModelTest, FarBelowResonanceTheSampleIsItsTotalCapacitance) {
    const SampleModel sample = DefaultSampleModel();
    const double f = 0.1; // kHz
    const double c = (1.50 + 0.30 + 0.10) * 1e-9;
    const ImpedancePolar z = SampleZTheta(sample, f);
    EXPECT_NEAR(z.magnitudeOhm, 1 / (2 * std::numbers::pi * f * 1e3 * c), 1e-2 * z.magnitudeOhm);
    EXPECT_NEAR(z.thetaDeg, -90, 0.5);
}

TEST(SampleModelTest, SeriesResonanceIsResistiveAndNearR1) {
    const ImpedancePolar z = SampleZTheta(DefaultSampleModel(), 200.0);
    // C0 in parallel pulls the phase slightly; the magnitude stays near R1.
    EXPECT_NEAR(z.magnitudeOhm, 5.3, 0.3);
    EXPECT_NEAR(z.thetaDeg, 0, 15);
}

TEST(MeasurementFunctionsTest, DerivedQuantitiesOfAKnownImpedance) {
    const std::complex<double> z(30.0, -40.0); // |Z| = 50
    const double f = 1000;
    const double omega = 2 * std::numbers::pi * f;
    const TracePairValues zTheta = MeasurementFunctionValues(1, z, f);
    EXPECT_DOUBLE_EQ(zTheta.traceA, 50);
    EXPECT_NEAR(zTheta.traceB, -53.130102, 1e-6);
    const TracePairValues rx = MeasurementFunctionValues(2, z, f);
    EXPECT_DOUBLE_EQ(rx.traceA, 30);
    EXPECT_DOUBLE_EQ(rx.traceB, -40);
    const TracePairValues csD = MeasurementFunctionValues(7, z, f);
    EXPECT_NEAR(csD.traceA, 1 / (omega * 40), 1e-12);
    EXPECT_NEAR(csD.traceB, 0.75, 1e-12);
    const TracePairValues yTheta = MeasurementFunctionValues(8, z, f);
    EXPECT_NEAR(yTheta.traceA, 0.02, 1e-15);
    EXPECT_NEAR(yTheta.traceB, 53.130102, 1e-6);
    const TracePairValues gb = MeasurementFunctionValues(9, z, f);
    EXPECT_NEAR(gb.traceA, 0.012, 1e-15);
    EXPECT_NEAR(gb.traceB, 0.016, 1e-15);
    const TracePairValues cpRp = MeasurementFunctionValues(20, z, f);
    EXPECT_NEAR(cpRp.traceA, 0.016 / omega, 1e-15);
    EXPECT_NEAR(cpRp.traceB, 1 / 0.012, 1e-9);
    EXPECT_DOUBLE_EQ(MeasurementFunctionValues(21, z, f).traceA, 50);
}

class SimulatedSweepTest : public InstrumentTest {};

TEST_F(SimulatedSweepTest, DefaultSampleMinimumLiesWithinOneGridStepOfTwoHundredKilohertz) {
    for (int model : {kHp4194, kHp4294}) {
        for (const auto& [low, high] : {std::pair{100.0, 300.0}, std::pair{0.1, 1000.0}}) {
            connect(model);
            analyzer.CompletionTimeout = 30000;
            analyzer.PresetAnalyzer();
            analyzer.SetSweepRange(low, high);
            analyzer.MeasureSweep();
            const auto minimum = std::min_element(analyzer.TraceA.begin(), analyzer.TraceA.end());
            const double step = (high - low) / 400;
            const double fMin = low + step * double(minimum - analyzer.TraceA.begin());
            EXPECT_LE(std::fabs(fMin - 200), step) << model << " " << high;
            EXPECT_LT(*minimum, 20.0);
        }
    }
}

TEST_F(SimulatedSweepTest, TracesFollowTheGridFromStartToStop) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model);
        analyzer.CompletionTimeout = 30000;
        analyzer.PresetAnalyzer();
        analyzer.SetSweepRange(150, 250);
        analyzer.MeasureSweep();
        const double tolerance = ymt::test::AnalyzerDigitsTolerance(model);
        for (int i : {0, 1, 137, 399, 400}) {
            const double f = 150 + (250 - 150) * i / 400.0;
            const ImpedancePolar expected = SampleZTheta(DefaultSampleModel(), f);
            EXPECT_NEAR(analyzer.TraceA[std::size_t(i)], expected.magnitudeOhm,
                        tolerance * expected.magnitudeOhm)
                << model << " point " << i;
            EXPECT_NEAR(analyzer.TraceB[std::size_t(i)], expected.thetaDeg, tolerance * 100)
                << model << " point " << i;
        }
        EXPECT_FALSE(simulated().continuous) << "a sweep leaves single-sweep mode";
        EXPECT_TRUE(simulated().rejectedCommands.isEmpty());
    }
}

TEST_F(SimulatedSweepTest, ConfiguredSampleReplacesTheDefaultBranches) {
    connect(kHp4294, QStringLiteral("C0 = 2.0\ntand = 0.01\nbranch = 50 0.5 100\n"));
    analyzer.CompletionTimeout = 30000;
    analyzer.PresetAnalyzer();
    analyzer.SetSweepRange(40, 60);
    analyzer.MeasureSweep();
    SampleModel sample;
    sample.clampedCapacitanceNF = 2.0;
    sample.lossTangent = 0.01;
    sample.branches = {{50, 0.5, 100}};
    EXPECT_NEAR(analyzer.TraceA[200], SampleZTheta(sample, 50).magnitudeOhm, 1e-6);
    const auto minimum = std::min_element(analyzer.TraceA.begin(), analyzer.TraceA.end());
    EXPECT_NEAR(40 + 0.05 * double(minimum - analyzer.TraceA.begin()), 50, 0.05);
}

TEST_F(SimulatedSweepTest, NoiseIsReproducibleForAGivenSeed) {
    auto sweep = [this](const QString& lines) {
        connect(kHp4294, lines);
        analyzer.CompletionTimeout = 30000;
        analyzer.PresetAnalyzer();
        analyzer.SetSweepRange(100, 300);
        analyzer.MeasureSweep();
        return analyzer.TraceA;
    };
    const auto exact = sweep(QString());
    const auto first = sweep(QStringLiteral("noise = 0.01\nseed = 7"));
    const auto again = sweep(QStringLiteral("noise = 0.01\nseed = 7"));
    const auto other = sweep(QStringLiteral("noise = 0.01\nseed = 8"));
    EXPECT_EQ(first, again);
    EXPECT_NE(first, other);
    EXPECT_NE(first, exact);
    for (std::size_t i = 0; i < exact.size(); ++i)
        EXPECT_NEAR(first[i], exact[i], 0.06 * exact[i]); // six standard deviations
}

TEST_F(SimulatedSweepTest, PresetSetsTheFullRangeOfEachModel) {
    connect(kHp4294);
    analyzer.SetSweepRange(1, 2);
    analyzer.SendCommand(QStringLiteral("PRES"));
    EXPECT_DOUBLE_EQ(simulated().startHz, 40);
    EXPECT_DOUBLE_EQ(simulated().stopHz, 110e6);
    EXPECT_EQ(simulated().points, 201);
    connect(kHp4194);
    EXPECT_DOUBLE_EQ(simulated().startHz, 100);
    EXPECT_DOUBLE_EQ(simulated().stopHz, 40e6);
    EXPECT_EQ(simulated().points, 401);
}

TEST_F(SimulatedSweepTest, AutoAnalyzerTakesTheLanguageOfItsFirstCommand) {
    for (int model : {kHp4194, kHp4294}) {
        useConfig(QString()); // no file: gpib0,17 is an analyzer of either language
        analyzer.AnalyzerSession = &session;
        analyzer.AnalyzerModel = model;
        session.Open(17, analyzer.AnalyzerHandle);
        analyzer.CompletionTimeout = 30000;
        analyzer.PresetAnalyzer();
        double start = 0, stop = 0;
        analyzer.GetSweepRange(start, stop);
        EXPECT_EQ(simulated().model(),
                  model == kHp4194 ? sim::AnalyzerModel::HP4194A : sim::AnalyzerModel::HP4294A);
        EXPECT_DOUBLE_EQ(stop, model == kHp4194 ? 40000 : 110000);
    }
}

TEST_F(SimulatedSweepTest, SettingsOutliveTheSessionLikeARealInstrument) {
    connect(kHp4294);
    analyzer.SetSweepRange(10, 20);
    session.Close(analyzer.AnalyzerHandle);
    session.Open(17, analyzer.AnalyzerHandle);
    double start = 0, stop = 0;
    analyzer.GetSweepRange(start, stop);
    EXPECT_DOUBLE_EQ(start, 10);
    EXPECT_DOUBLE_EQ(stop, 20);
}

class FaultInjectionTest : public InstrumentTest {};

TEST_F(FaultInjectionTest, SpanQueriesWithoutANumberKeepTheModelsSpanWithinTheTimeout) {
    const QStringList faults = {QStringLiteral("garbage-reply"), QStringLiteral("empty-reply"),
                                QStringLiteral("drop-reply"), QStringLiteral("late-reply")};
    for (int model : {kHp4194, kHp4294}) {
        for (const QString& fault : faults) {
            connect(model,
                    QStringLiteral("fault = %1 %2").arg(fault, model == 0 ? "START?" : "STAR?"));
            double start = -1, stop = -1;
            const qint64 begin = clock::nowMs();
            analyzer.GetSweepRange(start, stop);
            const qint64 elapsed = clock::nowMs() - begin;
            EXPECT_DOUBLE_EQ(start, model == kHp4194 ? 0.1 : 0.04) << fault.toStdString();
            EXPECT_DOUBLE_EQ(stop, model == kHp4194 ? 40000 : 110000) << fault.toStdString();
            EXPECT_FALSE(analyzer.SpanReported) << fault.toStdString();
            // Two queries, each bounded by the 2000 ms session timeout (+300 ms on the 4194A).
            EXPECT_LE(elapsed, 2 * 2300 + 10) << fault.toStdString();
        }
    }
}

TEST_F(FaultInjectionTest, OversizeReplyIsCutAtTheReplyBuffer) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model, QStringLiteral("fault = oversize-reply"));
        double start = -1, stop = -1;
        analyzer.GetSweepRange(start, stop);
        const QByteArrayList reads = lines("iread");
        ASSERT_EQ(reads.size(), 2);
        EXPECT_EQ(reads[0].count(' '), 3 + 255 - 18) << "255 bytes read";
        EXPECT_DOUBLE_EQ(start, model == kHp4194 ? 0.1 : 0.04);
        EXPECT_DOUBLE_EQ(stop, model == kHp4194 ? 40000 : 110000);
    }
}

TEST_F(FaultInjectionTest, LostTracesLeaveTheEntriesAsTheyWere) {
    for (int model : {kHp4194, kHp4294}) {
        for (const QString& fault : {QStringLiteral("drop-reply"), QStringLiteral("late-reply")}) {
            connect(model,
                    QStringLiteral("fault = %1 %2").arg(fault, model == 0 ? "A?" : "OUTPDTRC?"));
            analyzer.CompletionTimeout = 30000;
            analyzer.PresetAnalyzer();
            analyzer.TraceA.fill(-1);
            analyzer.TraceB.fill(-1);
            const qint64 begin = clock::nowMs();
            analyzer.MeasureSweep();
            // The sweep and two reads, each bounded by the 2000 ms session timeout.
            EXPECT_LE(clock::nowMs() - begin, 4000 + 2 * 2000) << model << fault.toStdString();
            EXPECT_EQ(analyzer.TraceA[0], -1) << model << fault.toStdString();
            EXPECT_EQ(analyzer.SweepPointsRead, 0) << model << fault.toStdString();
            if (model == kHp4194) {
                EXPECT_NE(analyzer.TraceB[0], -1) << "trace B answered";
            }
        }
    }
}

TEST_F(FaultInjectionTest, TruncatedTraceFillsOnlyWhatCame) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model, QStringLiteral("fault = short-trace 100"));
        analyzer.CompletionTimeout = 30000;
        analyzer.PresetAnalyzer();
        analyzer.TraceA.fill(-1);
        analyzer.MeasureSweep();
        EXPECT_GT(analyzer.TraceA[99], 0) << model;
        EXPECT_EQ(analyzer.TraceA[100], -1) << model;
        EXPECT_EQ(analyzer.TraceA[400], -1) << model;
        EXPECT_EQ(analyzer.SweepPointsRead, 100) << model;
    }
}

TEST_F(FaultInjectionTest, GarbageTraceGivesZeroesNotOldValues) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model, QStringLiteral("fault = garbage-reply"));
        analyzer.CompletionTimeout = 30000;
        double z = -1, theta = -1;
        analyzer.MeasureSpot(10, z, theta, 100);
        EXPECT_EQ(z, 0.0) << model;
        EXPECT_EQ(theta, 0.0) << model;
        // A field that does not convert is stored as 0 but is no reading.
        analyzer.MeasureSweep();
        EXPECT_EQ(analyzer.SweepPointsRead, 0) << model;
    }
}

// Stops every wait at its first pause and counts what the waits reported.
class StoppingObserver : public CompletionWaitObserver {
public:
    void waitStarted() override { ++started; }
    bool pause(int) override { return true; }
    void waitEnded(bool wasStopped) override { stopped += wasStopped ? 1 : 0; }
    int started = 0;
    int stopped = 0;
};

TEST_F(FaultInjectionTest, AStoppedWaitWithoutLimitEndsAndItsSweepReadsNoTrace) {
    for (int model : {kHp4194, kHp4294}) {
        connect(model, model == kHp4194 ? QStringLiteral("fault = no-srq")
                                        : QStringLiteral("fault = drop-reply *OPC?"));
        StoppingObserver observer;
        analyzer.WaitObserver = &observer;
        analyzer.CompletionTimeout = 0;
        analyzer.MeasureSweep();
        analyzer.WaitObserver = nullptr;
        EXPECT_TRUE(analyzer.WaitStopped) << model;
        EXPECT_EQ(observer.started, 1) << model;
        EXPECT_EQ(observer.stopped, 1) << model;
        EXPECT_EQ(analyzer.SweepPointsRead, 0) << model;
        EXPECT_TRUE(lines("iread").size() <= 1) << "no trace read after the stop";
    }
}

TEST_F(FaultInjectionTest, MissingServiceRequestEndsAtTheCompletionTimeout) {
    connect(kHp4194, QStringLiteral("fault = no-srq"));
    analyzer.CompletionTimeout = 10000;
    analyzer.PresetAnalyzer();
    const qint64 begin = clock::nowMs();
    analyzer.MeasureSweep();
    const qint64 waited = clock::nowMs() - begin;
    EXPECT_GE(waited, 11000);
    EXPECT_LE(waited, 12500);
    // The data of the sweep is there all the same.
    EXPECT_GT(analyzer.TraceA[0], 0);
}

} // namespace
} // namespace ymt
