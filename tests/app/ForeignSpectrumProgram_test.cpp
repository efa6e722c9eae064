// Spectra in and out through the built program: an analyzer data file made from the sample
// model opened, evaluated and fitted; the reversed fixture told once; a refused file changing
// nothing; a spectrum saved as CSV and opened again bit for bit; and a recording played back by
// the simulated analyzer and measured again.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/support/Tolerance.h"

#include "core/SpectrumCsv.h"
#include "instrument/simulated/SampleModel.h"

#include <gtest/gtest.h>

#include <cmath>

using ymt::test::IsRelativelyNear;
using ymt::test::SimulatorRun;

namespace {

// The default sample at 401 points over 150 ... 300 kHz as the analyzer saves an admittance
// measurement: |Y| in trace A, its phase in trace B.
QByteArray admittanceFileOfTheModel() {
    QByteArray file = "4294A REV1.11\r\n\"DATE: Jun 11 2002\"\r\n\r\n\r\n"
                      "\"MEASURE PARAMETER: ADMITTANCE MAG PHASE (DEG)\"\r\n"
                      "\"SWEEP TYPE: LIN FREQ\"\r\n\"NUMBER of POINTS: 401\"\r\n\r\n\r\n";
    for (int trace = 0; trace < 2; ++trace) {
        file += trace == 0 ? "\"TRACE: A\"\r\n" : "\"TRACE: B\"\r\n";
        file +=
            "\"FORMAT: LOG\"\r\n\r\n\"Frequency\"\t\"Data Trace Real\"\t\"Data Trace Imag\"\r\n";
        for (int i = 0; i < 401; ++i) {
            const double f = 150 + 150.0 * i / 400;
            const ymt::ImpedancePolar z = ymt::SampleZTheta(ymt::DefaultSampleModel(), f);
            file += QString::asprintf("%.11e\t%.9e\t0.000000e+00\r\n", f * 1000,
                                      trace == 0 ? 1 / z.magnitudeOhm : -z.thetaDeg)
                        .toLatin1();
        }
        file += "\r\n\r\n";
    }
    return file;
}

class ForeignSpectrumProgram : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static QString sampleFile(const char* name) {
        return QStringLiteral(YMT_SOURCE_DIR "/tests/core/analyzer-files/") + QLatin1String(name);
    }
    QTemporaryDir dir;
};

TEST_F(ForeignSpectrumProgram, AnAnalyzerFileIsOpenedEvaluatedAndFittedAsAMeasuredSpectrum) {
    const QString path = write(QStringLiteral("disc.txt"), admittanceFileOfTheModel());
    const SimulatorRun run = ymt::test::RunOnSimulator(
        QStringLiteral("file %1 #2\nclick ffnen1\nshow Edit4\nshow Edit6\ncurve fastgraph1 3\n"
                       "type Edit1 150\ntype Edit2 300\nclick Button10\nstate\n"
                       "click FitCircuitButton\nstate\nquit\n")
            .arg(path));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QString text = run.output.join('\n');
    EXPECT_TRUE(text.contains(QStringLiteral("Edit4=disc"))) << text.left(2000).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("DATE: Jun 11 2002; MEASURE PARAMETER: ADMITTANCE")));
    EXPECT_TRUE(run.linesStartingWith(QStringLiteral("message ")).isEmpty())
        << run.linesStartingWith(QStringLiteral("message ")).join('\n').toStdString();
    const std::vector<ymt::test::CurvePointText> points = run.curve(0);
    ASSERT_EQ(points.size(), 401u);
    for (const auto& point : points)
        ASSERT_TRUE(IsRelativelyNear(
            point.y, ymt::SampleZTheta(ymt::DefaultSampleModel(), point.x).magnitudeOhm, 1e-8))
            << point.x;
    // The resonances of the default sample's first branch (fs 200 kHz) on a 0.375 kHz grid.
    EXPECT_NEAR(run.number(QStringLiteral("FMin")), 200, 0.4);
    // fp = fs sqrt(1 + C1 / C), C the clamped capacitance and the second branch's C1 below it.
    EXPECT_NEAR(run.number(QStringLiteral("FMax")), 200 * std::sqrt(1 + 0.30 / 1.60), 0.4);
    const QStringList fs = run.linesStartingWith(QStringLiteral("fit.fs="));
    ASSERT_EQ(fs.size(), 2);
    EXPECT_NEAR(fs[1].mid(7).toDouble(), 200, 0.05) << fs[1].toStdString();
}

TEST_F(ForeignSpectrumProgram, PhasesBeyondNinetyDegreesAreKeptAndToldOnce) {
    const SimulatorRun run = ymt::test::RunOnSimulator(
        QStringLiteral("file %1\nanswer OK\nclick ffnen1\ncurve fastgraph1 4\n"
                       "file %1 %2\ntab TabSheet5\nanswer OK\nclick Button19\nquit\n")
            .arg(sampleFile("reversed-fixture.txt"), sampleFile("impedance-log-lf.txt")));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList warnings = run.linesStartingWith(QStringLiteral("message warning"));
    ASSERT_EQ(warnings.size(), 2) << run.output.join('\n').toStdString();
    for (const QString& warning : warnings)
        EXPECT_TRUE(warning.contains(QStringLiteral("2 points have a phase outside -90 ... 90")))
            << warning.toStdString();
    const std::vector<ymt::test::CurvePointText> theta = run.curve(0);
    ASSERT_EQ(theta.size(), 2u);
    EXPECT_EQ(theta[0].y, 94.0);
}

TEST_F(ForeignSpectrumProgram, ARefusedFileNamesItsReasonAndChangesNothing) {
    const QString csv =
        write(QStringLiteral("damaged.csv"), "frequency_kHz,abs_Z_ohm,theta_deg\n1,2,3\n4;5;6\n");
    const SimulatorRun run = ymt::test::RunOnSimulator(
        QStringLiteral("file %1\nclick ffnen1\ncurve fastgraph1 3\n"
                       "file %2\nanswer OK\nclick ffnen1\ncurve fastgraph1 3\n")
            .arg(sampleFile("impedance-log-lf.txt"), sampleFile("r-x.txt")) +
        QStringLiteral("file %1\nanswer OK\nclick ffnen1\ncurve fastgraph1 3\nquit\n").arg(csv));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList errors = run.linesStartingWith(QStringLiteral("message error"));
    ASSERT_EQ(errors.size(), 2) << run.output.join('\n').toStdString();
    EXPECT_TRUE(
        errors[0].contains(QStringLiteral("r-x.txt: Line 5: the measure parameter \\\"R-X\\\"")))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[1].contains(QStringLiteral("damaged.csv: Line 3")))
        << errors[1].toStdString();
    EXPECT_EQ(run.curve(0).size(), 3u);
    EXPECT_EQ(run.curve(1).size(), 3u) << "the spectrum opened first stays";
    EXPECT_EQ(run.curve(2).size(), 3u);
}

TEST_F(ForeignSpectrumProgram, ASpectrumSavedAsCsvOpensAndComparesBitForBit) {
    const QString csv = dir.filePath(QStringLiteral("measured"));
    const SimulatorRun run = ymt::test::RunOnSimulator(
        QStringLiteral("type Edit4 S9\nenter Edit4\nanswer Cancel\nclick Button12\n"
                       "click Button6\ncurve fastgraph1 3\nshow Edit4\ncurve fastgraph1 4\n"
                       "file %1 #8\nclick Speichern1\n"
                       "answer Yes\nclick DeletePoints1\n"
                       "file %1.csv\nclick ffnen1\nshow Edit4\ncurve fastgraph1 3\nshow Edit4\n"
                       "curve fastgraph1 4\nshow Edit4\nfile %1.csv\ntab TabSheet5\n"
                       "click Button19\ncurve qgraph 1\nquit\n")
            .arg(csv));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    QFile file(csv + QStringLiteral(".csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("\n# sample: S9\n"));
    EXPECT_TRUE(bytes.contains(QByteArray("\n") + ymt::kSpectrumCsvTitles + "\n"));
    const auto measured = run.curve(0), measuredTheta = run.curve(1);
    ASSERT_GT(measured.size(), 800u);
    const auto reopened = run.curve(2), reopenedTheta = run.curve(3), compared = run.curve(4);
    ASSERT_EQ(reopened.size(), measured.size());
    ASSERT_EQ(compared.size(), measured.size());
    // The printed points carry 17 digits, so equal texts are equal doubles.
    for (std::size_t i = 0; i < measured.size(); ++i) {
        ASSERT_EQ(reopened[i].x, measured[i].x) << i;
        ASSERT_EQ(reopened[i].y, measured[i].y) << i;
        ASSERT_EQ(reopenedTheta[i].y, measuredTheta[i].y) << i;
        ASSERT_EQ(compared[i].y, measured[i].y) << i;
    }
    EXPECT_TRUE(run.output.join('\n').contains(QStringLiteral("Edit4=S9")));
}

} // namespace

namespace {

TEST(RecordedSampleProgram, AReadNewSpectrumOnTheShippedRecordingGivesItsPointsAndRefusesBeyond) {
    const QString recording = QStringLiteral(YMT_SOURCE_DIR "/dist/recorded-sample.csv");
    const SimulatorRun run = ymt::test::RunOnSimulator(
        ymt::test::ConnectSteps(1) +
            QStringLiteral("check CheckBox24 0\ntype Edit36 150\ntype Edit37 260\nclick Button6\n"
                           "curve fastgraph1 3\nstate\ntype Edit37 300\nanswer OK\nclick Button6\n"
                           "curve fastgraph1 3\nquit\n"),
        QStringLiteral("[gpib0,17]\ndevice = HP4294A\nsample = file %1\n").arg(recording));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    QFile file(recording);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    std::vector<std::pair<double, double>> recorded;
    for (const QByteArray& row : rows) {
        const QList<QByteArray> fields = row.split(',');
        if (fields.size() == 3 && !row.startsWith('#') && !row.startsWith("frequency"))
            recorded.emplace_back(fields[0].toDouble(), fields[1].toDouble());
    }
    ASSERT_EQ(recorded.size(), 402u);
    const std::vector<ymt::test::CurvePointText> measured = run.curve(0);
    ASSERT_EQ(measured.size(), 402u) << run.output.join('\n').toStdString();
    for (std::size_t i = 0; i < measured.size(); ++i) {
        ASSERT_TRUE(IsRelativelyNear(measured[i].x, recorded[i].first, 1e-12)) << i;
        ASSERT_TRUE(IsRelativelyNear(measured[i].y, recorded[i].second, 2e-9)) << i;
    }
    // The capacitance at 1 kHz is the recorded point's: C = 1 / (omega |Z|) for theta near -90.
    const double z1k = recorded.front().second;
    EXPECT_TRUE(IsRelativelyNear(run.number(QStringLiteral("CapNF")),
                                 1e9 / (2 * 3.141592653589793 * 1000 * z1k), 1e-4));
    // Up to 300 kHz lies beyond the recording: the analyzer sends no value of that sweep.
    const QStringList messages = run.linesStartingWith(QStringLiteral("message "));
    EXPECT_TRUE(messages.join('\n').contains(
        QStringLiteral("no trace came back from the analyzer for range 1; no points stored")))
        << messages.join('\n').toStdString();
    // Only the capacitance point at 1 kHz, inside the recording, was measured.
    const std::vector<ymt::test::CurvePointText> after = run.curve(1);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].x, 1.0);
    EXPECT_TRUE(IsRelativelyNear(after[0].y, z1k, 2e-9));
}

} // namespace
