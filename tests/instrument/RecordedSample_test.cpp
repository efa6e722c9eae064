// Recorded samples in the simulated analyzers: the interpolation between recorded points, the
// playback of a recording made from the sample model on both models (in the process and through
// the simulated adapter server), and the refusal outside the recording.
#include "InstrumentTestSupport.h"
#include "SimServerProcess.h"
#include "tests/support/Tolerance.h"

#include "core/SpectrumCsv.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/simulated/RecordedSample.h"
#include "instrument/simulated/SampleModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <numbers>

using ymt::test::IsRelativelyNear;
using ymt::testing::InstrumentTest;

namespace ymt {
namespace {

constexpr int kHp4194 = 0;
constexpr int kHp4294 = 1;

// The model at the 401 frequencies of the driver's sweep over low ... high kHz.
std::vector<SpectrumPoint> recordModel(double low, double high) {
    std::vector<SpectrumPoint> points;
    for (int i = 0; i < 401; ++i) {
        const double f = low + (high - low) * i / 400;
        const ImpedancePolar z = SampleZTheta(DefaultSampleModel(), f);
        points.push_back({f, z.magnitudeOhm, z.thetaDeg});
    }
    return points;
}

void writeCsv(const QString& path, const std::vector<SpectrumPoint>& points) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray bytes = QByteArray(kSpectrumCsvTitles) + '\n';
    for (const SpectrumPoint& point : points)
        bytes += SpectrumCsvRow(point);
    file.write(bytes);
}

TEST(RecordedSampleInterpolation, LogarithmicBetweenPointsExactAtThemNothingOutside) {
    // A capacitor: |Z| falls as 1/f, which the interpolation on logarithmic scales keeps.
    const sim::RecordedSample sample = sim::RecordedSampleOf(
        {{10, 1000, -80}, {1, 10000, -90}, {10, 1, 0}, {0, 5, 5}, {100, 100, -70}});
    ASSERT_EQ(sample.points.size(), 3u) << "sorted, the second 10 kHz and the 0 Hz point left out";
    const auto at = [&sample](double f) { return sim::RecordedImpedance(sample, f); };
    EXPECT_TRUE(IsRelativelyNear(std::abs(*at(10)), 1000, 1e-14));
    EXPECT_TRUE(IsRelativelyNear(std::arg(*at(10)) * 180 / std::numbers::pi, -80, 1e-14));
    EXPECT_TRUE(IsRelativelyNear(std::abs(*at(std::sqrt(10.0))), 10000 / std::sqrt(10.0), 1e-12));
    EXPECT_TRUE(IsRelativelyNear(std::abs(*at(3)), 10000.0 / 3, 1e-12));
    // theta halfway on the logarithmic scale is the mean of its neighbours.
    EXPECT_TRUE(
        IsRelativelyNear(std::arg(*at(std::sqrt(1000.0))) * 180 / std::numbers::pi, -75, 1e-12));
    EXPECT_TRUE(at(1));
    EXPECT_TRUE(at(100));
    EXPECT_FALSE(at(0.999));
    EXPECT_FALSE(at(100.01));
    EXPECT_FALSE(sim::RecordedImpedance(sim::RecordedSampleOf({}), 1));
    EXPECT_EQ(sim::RecordedSamplePath(QStringLiteral("file  /data/a b.csv ")),
              QStringLiteral("/data/a b.csv"));
    EXPECT_FALSE(sim::RecordedSamplePath(QStringLiteral("disc 10 1")));
}

TEST(RecordedSampleShipped, IsTheDefaultModelAtItsOwnPointsAndSaysSo) {
    const QString path = QStringLiteral(YMT_SOURCE_DIR "/dist/recorded-sample.csv");
    const std::shared_ptr<const sim::RecordedSample> sample = sim::LoadRecordedSample(path);
    ASSERT_TRUE(sample->error.isEmpty()) << sample->error.toStdString();
    ASSERT_EQ(sample->points.size(), 402u) << "401 points over 150 ... 260 kHz and 1 kHz";
    EXPECT_EQ(sample->lowestKHz(), 1.0);
    EXPECT_EQ(sample->highestKHz(), 260.0);
    for (const SpectrumPoint& point : sample->points) {
        const ImpedancePolar model = SampleZTheta(DefaultSampleModel(), point.frequency);
        // The simulated HP 4294A sends ten digits.
        ASSERT_TRUE(IsRelativelyNear(point.magnitude, model.magnitudeOhm, 1e-9)) << point.frequency;
        ASSERT_NEAR(point.phase, model.thetaDeg, 1e-7) << point.frequency;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[simulated analyzer: not a measurement]"));
}

class RecordedPlaybackTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("recording.csv"));
        recording = recordModel(150, 250);
        writeCsv(path, recording);
    }
    void connectRecorded(int model) {
        connect(model, QStringLiteral("sample = file ") + path + QLatin1Char('\n'));
        analyzer.CompletionTimeout = 30000;
        analyzer.PresetAnalyzer();
    }
    QTemporaryDir dir;
    QString path;
    std::vector<SpectrumPoint> recording;
};

TEST_F(RecordedPlaybackTest, ASweepAtTheRecordedFrequenciesGivesTheRecordedPoints) {
    for (int model : {kHp4194, kHp4294}) {
        connectRecorded(model);
        analyzer.SetSweepRange(150, 250);
        analyzer.MeasureSweep();
        ASSERT_EQ(analyzer.SweepPointsRead, 401) << model;
        const double digits = test::AnalyzerDigitsTolerance(model);
        for (std::size_t i = 0; i < recording.size(); ++i) {
            ASSERT_TRUE(IsRelativelyNear(analyzer.TraceA[i], recording[i].magnitude, 2 * digits))
                << model << " point " << i;
            ASSERT_TRUE(
                IsRelativelyNear(analyzer.TraceB[i], recording[i].phase, 2 * digits, 100 * digits))
                << model << " point " << i;
        }
        // The preset's full range was refused, the sweep over the recording was not.
        EXPECT_TRUE(simulated().refusedSweeps.filter(QStringLiteral("sweep 150 ")).isEmpty());
    }
}

TEST_F(RecordedPlaybackTest, BetweenTheRecordedPointsTheModelComesBackWithinTheInterpolation) {
    for (int model : {kHp4194, kHp4294}) {
        connectRecorded(model);
        // 0.1 kHz steps against the recording's 0.25 kHz, away from the resonances where
        // |Z| changes by more than a few per cent from one recorded point to the next.
        analyzer.SetSweepRange(150, 190);
        analyzer.MeasureSweep();
        ASSERT_EQ(analyzer.SweepPointsRead, 401) << model;
        for (int i = 0; i < 401; ++i) {
            const double f = 150 + 40.0 * i / 400;
            const ImpedancePolar expected = SampleZTheta(DefaultSampleModel(), f);
            ASSERT_TRUE(
                IsRelativelyNear(analyzer.TraceA[std::size_t(i)], expected.magnitudeOhm, 1e-4))
                << model << " at " << f << " kHz";
            ASSERT_NEAR(analyzer.TraceB[std::size_t(i)], expected.thetaDeg, 0.01) << f;
        }
        double z = 0, theta = 0;
        analyzer.MeasureSpot(5, z, theta, 175.1);
        EXPECT_EQ(analyzer.SpotReadingsRead, 5);
        EXPECT_TRUE(
            IsRelativelyNear(z, SampleZTheta(DefaultSampleModel(), 175.1).magnitudeOhm, 1e-4));
    }
}

TEST_F(RecordedPlaybackTest, OutsideTheRecordingNoValueComesAndTheRefusalIsNoted) {
    for (int model : {kHp4194, kHp4294}) {
        connectRecorded(model);
        analyzer.TraceA.fill(-1);
        analyzer.SetSweepRange(100, 200);
        analyzer.MeasureSweep();
        EXPECT_EQ(analyzer.SweepPointsRead, 0) << model;
        EXPECT_EQ(analyzer.TraceA[1], -1) << model << ": nothing was written over";
        double z = -1, theta = -1;
        analyzer.MeasureSpot(10, z, theta, 1);
        EXPECT_EQ(analyzer.SpotReadingsRead, 0) << model;
        const QStringList refused = simulated().refusedSweeps;
        EXPECT_TRUE(refused.filter(QStringLiteral("sweep 100 ... 200 kHz refused")).size() == 1)
            << refused.join('\n').toStdString();
        EXPECT_TRUE(refused.last().contains(QStringLiteral("holds 150 ... 250 kHz")))
            << refused.last().toStdString();
    }
}

TEST_F(InstrumentTest, AnUnreadableRecordingIsNamedAndAnswersNoSweep) {
    QStringList problems;
    const sim::SimAnalyzerConfig config = sim::parseSimAnalyzerConfig(
        {{QStringLiteral("sample"), QStringLiteral("file /nonexistent/rec.csv")}}, &problems);
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].startsWith(QStringLiteral("sample = file /nonexistent/rec.csv (")));
    ASSERT_TRUE(config.recording);
    EXPECT_TRUE(config.recording->empty());
    connect(kHp4294, QStringLiteral("sample = file /nonexistent/rec.csv\n"));
    analyzer.CompletionTimeout = 30000;
    analyzer.PresetAnalyzer();
    analyzer.SetSweepRange(150, 250);
    analyzer.MeasureSweep();
    EXPECT_EQ(analyzer.SweepPointsRead, 0);
    EXPECT_TRUE(simulated().refusedSweeps.last().contains(QStringLiteral("/nonexistent/rec.csv")));
}

TEST_F(RecordedPlaybackTest, ARelativePathIsTakenFromTheFolderOfSiclConf) {
    const QString conf = dir.filePath(QStringLiteral("sicl.conf"));
    QFile file(conf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[gpib0,17]\ndevice = HP4294A\nsample = file recording.csv\n");
    file.close();
    sicl::clearConfigText();
    sicl::setConfigFile(conf);
    const sim::SimAnalyzerConfig config = sim::parseSimAnalyzerConfig(
        {{QStringLiteral("sample"), QStringLiteral("file recording.csv")}});
    sicl::setConfigFile(QString());
    ASSERT_TRUE(config.recording);
    EXPECT_EQ(config.recording->path, path);
    EXPECT_EQ(config.recording->points.size(), 401u);
}

TEST_F(RecordedPlaybackTest, TheSimulatedServerPlaysTheRecordingOnBothModels) {
    for (int model : {kHp4194, kHp4294}) {
        SCOPED_TRACE(model == kHp4194 ? "HP 4194A" : "HP 4294A");
        testing::SimServerProcess server;
        ASSERT_TRUE(server.start(QStringLiteral("[gpib0,17]\ndevice = %1\nsample = file %2\n")
                                     .arg(model == kHp4194 ? "HP4194A" : "HP4294A", path)));
        useConfig(QStringLiteral("[interfaces]\ngpib0 = prologix tcp ") + server.endpoint() +
                  QLatin1Char('\n'));
        analyzer.AnalyzerSession = &session;
        analyzer.AnalyzerModel = model;
        session.Open(17, analyzer.AnalyzerHandle);
        ASSERT_GT(analyzer.AnalyzerHandle, 0) << sicl::lastOpenProblem().toStdString();
        analyzer.CompletionTimeout = 30000;
        analyzer.PresetAnalyzer();
        analyzer.SetSweepRange(150, 250);
        analyzer.MeasureSweep();
        ASSERT_EQ(analyzer.SweepPointsRead, 401);
        const double digits = test::AnalyzerDigitsTolerance(model);
        for (std::size_t i = 0; i < recording.size(); ++i)
            ASSERT_TRUE(IsRelativelyNear(analyzer.TraceA[i], recording[i].magnitude, 2 * digits))
                << i;
        analyzer.SetSweepRange(240, 260);
        analyzer.MeasureSweep();
        EXPECT_EQ(analyzer.SweepPointsRead, 0) << "beyond the recording's 250 kHz";
        session.Close(analyzer.AnalyzerHandle);
    }
}

} // namespace
} // namespace ymt
