// "Save Spectrum..." as CSV and "Open Spectrum..." of CSV and analyzer data files: the written
// layout, the round trip of description, results and every point, README's numpy and pandas
// calls run by Debian's Python on a written file, and the content an analyzer file gives.
#include "records/SpectrumCsvFile.h"

#include "records/ComparisonSet.h"
#include "records/OpenedSpectrum.h"
#include "tests/support/DebianPython.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace ymt {
namespace {

ResultsSnapshot describedSample() {
    ResultsSnapshot s;
    s.Sample.MeasuredBy = QStringLiteral("Jörg Åström");
    s.Sample.Material = QStringLiteral("PZT-5H, poled");
    s.SampleNameText = QStringLiteral("Disc 7");
    s.NotesText = QStringLiteral("first line\nsecond: line");
    s.ElectrodeDistanceText = QStringLiteral("1.000");
    s.ElectrodeAreaText = QStringLiteral("78.540");
    s.Averaging = QStringLiteral("4");
    s.Voltage = QStringLiteral("0.5");
    s.Bias = QStringLiteral("0");
    s.CapFrequency = QStringLiteral("1.000");
    s.TandUnit = QStringLiteral("[1e-3]");
    s.ModeCaption = QStringLiteral("k31        [%]");
    s.Shown.Cap = ResultValue(1.5, 3);
    s.Shown.TanD = ResultValue(2.5, 1);
    s.Shown.Eps = ResultValue(1694, 0);
    s.Shown.FMin = ResultValue(199.8, 3);
    s.Shown.FMax = ResultValue(219, 3);
    s.Shown.KEff = ResultValue(39.68, 2);
    s.Shown.KMode = ResultValue(44.14, 2);
    s.Shown.Q3dB = ResultValue(480, 0);
    s.Shown.B3dB = ResultValue(0.416, 3);
    return s;
}

// Points whose shortest texts need many digits, also tiny, huge and negative ones.
CurveStore awkwardSpectrum() {
    CurveStore store;
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int i = 0; i < 500; ++i) {
        const double f = 0.04 * std::pow(10.0, 6.4 * i / 500) * (1 + unit(random) * 1e-6);
        store.AddPoint(3, f, std::pow(10.0, 12 * unit(random) - 3));
        store.AddPoint(4, f, 360 * unit(random) - 180);
    }
    store.AddPoint(3, 105000, 1e-300);
    store.AddPoint(4, 105000, -0.0);
    return store;
}

std::vector<SpectrumPoint> pointsOf(const CurveStore& store) {
    std::vector<SpectrumPoint> points;
    for (std::size_t i = 0; i < store.curve(3).Points.size(); ++i)
        points.push_back(
            {store.curve(3).Points[i].x, store.curve(3).Points[i].y, store.curve(4).Points[i].y});
    return points;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void expectSamePoints(const std::vector<SpectrumPoint>& read,
                      const std::vector<SpectrumPoint>& written) {
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        ASSERT_TRUE(sameBits(read[i].frequency, written[i].frequency)) << i;
        ASSERT_TRUE(sameBits(read[i].magnitude, written[i].magnitude)) << i;
        ASSERT_TRUE(sameBits(read[i].phase, written[i].phase))
            << i << ": " << read[i].phase << " " << written[i].phase;
    }
}

TEST(SpectrumCsvWrite, KeyLinesThenTitlesThenOneRowPerPoint) {
    CurveStore store;
    store.AddPoint(3, 100, 1234.5);
    store.AddPoint(4, 100, -89.1);
    store.AddPoint(3, 200.25, 0.1);
    store.AddPoint(4, 200.25, 94);
    const QByteArray bytes =
        SpectrumCsvBytes(describedSample(), QStringLiteral("2026-12-09T10:00:00"), store, {});
    const QList<QByteArray> lines = bytes.split('\n');
    EXPECT_TRUE(bytes.endsWith('\n'));
    EXPECT_FALSE(bytes.contains('\r'));
    const qsizetype titles = lines.indexOf("frequency_kHz,abs_Z_ohm,theta_deg");
    ASSERT_GT(titles, 0);
    for (qsizetype i = 0; i < titles; ++i)
        EXPECT_TRUE(lines[i].startsWith("# ")) << lines[i].data();
    EXPECT_EQ(lines.mid(titles + 1), QList<QByteArray>({"100,1234.5,-89.1", "200.25,0.1,94", ""}));
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(text.contains(QStringLiteral("\n# measured_by: Jörg Åström\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\n# notes: first line second: line\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\n# tand_1e-3: 2.5\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\n# k31_percent: 44.14\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\n# rs_ohm: ---\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("density")));
    ResultsSnapshot dense = describedSample();
    dense.Sample.DensityKgM3 = 7750.5;
    EXPECT_TRUE(QString::fromUtf8(SpectrumCsvBytes(dense, {}, store, {}))
                    .contains(QStringLiteral("\n# density_kg_m3: 7750.5\n")));
    // The visible range leaves out the points at its limits, as the text file does.
    const QByteArray visible =
        SpectrumCsvBytes(describedSample(), {}, store, std::pair(100.0, 300.0));
    EXPECT_TRUE(visible.endsWith("theta_deg\n200.25,0.1,94\n"));
}

TEST(SpectrumCsvRoundTrip, DescriptionResultsAndEveryPointComeBack) {
    const CurveStore store = awkwardSpectrum();
    const SpectrumCsvRead csv =
        ParseSpectrumCsv(SpectrumCsvBytes(describedSample(), QStringLiteral("now"), store, {}));
    ASSERT_TRUE(csv.ok) << csv.error.toStdString();
    expectSamePoints(csv.points, pointsOf(store));
    const SpectrumFileContent c = SpectrumContentOfCsv(csv);
    EXPECT_EQ(c.measuredBy, QStringLiteral("Jörg Åström"));
    EXPECT_EQ(c.material, QStringLiteral("PZT-5H, poled"));
    EXPECT_EQ(c.sampleName, QStringLiteral("Disc 7"));
    EXPECT_EQ(c.electrodeArea, QStringLiteral("78.540"));
    EXPECT_EQ(c.couplingType, 0); // k31
    const OpenedSpectrumResults opened = ResultsOfSpectrumFile(c, true);
    EXPECT_EQ(ResultText(opened.Shown.Cap), QStringLiteral("1.500"));
    EXPECT_EQ(ResultText(opened.Shown.TanD), QStringLiteral("2.5"));
    EXPECT_DOUBLE_EQ(opened.Values.TanD, 25); // the record keeps 1e-4
    EXPECT_EQ(opened.Values.FMin, 199.8);
    EXPECT_EQ(opened.Values.KMode, 44.14);
    EXPECT_TRUE(opened.HasQuality);
    EXPECT_EQ(opened.Values.B3dB, 0.416);
    // Not determined stays not determined: no 0 appears for "---".
    ResultsSnapshot blank;
    const SpectrumFileContent empty =
        SpectrumContentOfCsv(ParseSpectrumCsv(SpectrumCsvBytes(blank, {}, store, {})));
    EXPECT_FALSE(empty.hasTand);
    EXPECT_FALSE(ResultsOfSpectrumFile(empty, true).Shown.Cap.IsDetermined());
}

// The ```python block under README's heading "Spectra for Python", as it stands.
QString readmePythonBlock() {
    QFile readme(QStringLiteral(YMT_SOURCE_DIR "/README.md"));
    if (!readme.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(readme.readAll());
    static const QRegularExpression block(
        QStringLiteral("### Spectra for Python[^\n]*\n(?:[^`]|`(?!``))*```python\n(.*?)```"),
        QRegularExpression::DotMatchesEverythingOption);
    return block.match(text).captured(1);
}

TEST(SpectrumCsvInPython, ReadmesNumpyAndPandasCallsReadEveryNumberExactly) {
    const QString block = readmePythonBlock();
    ASSERT_TRUE(block.contains(QStringLiteral("numpy.loadtxt"))) << block.toStdString();
    ASSERT_TRUE(block.contains(QStringLiteral("pandas.read_csv"))) << block.toStdString();
    static const QRegularExpression fileName(QStringLiteral("\"([^\"]+\\.csv)\""));
    const QString csvName = fileName.match(block).captured(1);
    ASSERT_FALSE(csvName.isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CurveStore store = awkwardSpectrum();
    QFile csv(dir.filePath(csvName));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(SpectrumCsvBytes(describedSample(), QStringLiteral("now"), store, {}));
    csv.close();
    // README names the results `spectrum` (numpy) and `table` (pandas).
    const QString script =
        block + QStringLiteral("\nfor row in spectrum:\n"
                               "    print(' '.join(float(v).hex() for v in row))\n"
                               "print('pandas')\n"
                               "for row in zip(table['frequency_kHz'], table['abs_Z_ohm'], "
                               "table['theta_deg']):\n"
                               "    print(' '.join(float(v).hex() for v in row))\n");
    const test::PythonRun python =
        test::RunDebianPython({QStringLiteral("-c"), script}, dir.path());
    ASSERT_EQ(python.exitCode, 0) << python.errors.toStdString();
    const qsizetype split = python.output.indexOf(QStringLiteral("pandas\n"));
    ASSERT_GT(split, 0) << python.output.left(300).toStdString();
    {
        SCOPED_TRACE("numpy");
        expectSamePoints(test::HexPoints(python.output.left(split)), pointsOf(store));
    }
    SCOPED_TRACE("pandas");
    expectSamePoints(test::HexPoints(python.output.mid(split)), pointsOf(store));
}

QString analyzerSample(const char* name) {
    return QStringLiteral(YMT_SOURCE_DIR "/tests/core/analyzer-files/") + QLatin1String(name);
}

TEST(OpenAnySpectrumFile, AnalyzerFilesGiveNamedPointsWithDateAndSettingsInTheNotes) {
    const SpectrumFileRead read = ReadAnySpectrumFile(analyzerSample("impedance-log-lf.txt"));
    ASSERT_EQ(read.status, SpectrumReadStatus::Ok) << read.error.toStdString();
    const SpectrumFileContent& c = read.content;
    EXPECT_EQ(c.sampleName, QStringLiteral("impedance-log-lf"));
    EXPECT_TRUE(c.notes.startsWith(QStringLiteral("4294A REV1.11, DATE: Jun 11 2002; MEASURE "
                                                  "PARAMETER: IMPEDANCE MAG PHASE (DEG);")));
    EXPECT_TRUE(c.notes.contains(QStringLiteral("OSC LEVEL: 500 mVolt")));
    ASSERT_EQ(c.rows.points.size(), 3u);
    EXPECT_EQ(c.rows.points[2].frequency, 100.2);
    EXPECT_EQ(c.rows.points[2].magnitude, 1225.432);
    EXPECT_EQ(read.phasesOutside90, 0);
    EXPECT_FALSE(ResultsOfSpectrumFile(c, true).Shown.FMin.IsDetermined());
    CurveStore store;
    LoadSpectrumPoints(c, store);
    EXPECT_EQ(store.pointCount(3), 3);
    EXPECT_EQ(store.y(4, 0), -89.12345);

    const SpectrumFileRead reversed = ReadAnySpectrumFile(analyzerSample("reversed-fixture.txt"));
    EXPECT_EQ(reversed.status, SpectrumReadStatus::Ok);
    EXPECT_EQ(reversed.phasesOutside90, 2);
    const SpectrumFileRead refused = ReadAnySpectrumFile(analyzerSample("r-x.txt"));
    EXPECT_EQ(refused.status, SpectrumReadStatus::Refused);
    EXPECT_TRUE(refused.error.startsWith(QStringLiteral("r-x.txt: Line 5:")))
        << refused.error.toStdString();
    EXPECT_TRUE(refused.content.rows.points.empty());
}

TEST(OpenAnySpectrumFile, TheComparisonSetTakesAnalyzerAndCsvFilesAndRefusesDamagedOnes) {
    const ComparisonFile analyzer = ReadComparisonFile(analyzerSample("reversed-fixture.txt"));
    ASSERT_EQ(analyzer.status, ComparisonFile::Status::Read) << analyzer.error.toStdString();
    ASSERT_EQ(analyzer.points.size(), 2u);
    EXPECT_EQ(analyzer.points[1].magnitude, 5.3e4);
    EXPECT_EQ(analyzer.phasesOutside90, 2);
    const ComparisonFile rx = ReadComparisonFile(analyzerSample("r-x.txt"));
    EXPECT_EQ(rx.status, ComparisonFile::Status::FileError);
    EXPECT_TRUE(rx.error.contains(QStringLiteral("\"R-X\"")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const CurveStore store = awkwardSpectrum();
    file.write(SpectrumCsvBytes(describedSample(), {}, store, {}));
    file.close();
    const ComparisonFile csv = ReadComparisonFile(path);
    ASSERT_EQ(csv.status, ComparisonFile::Status::Read) << csv.error.toStdString();
    expectSamePoints(csv.points, pointsOf(store));
}

} // namespace
} // namespace ymt
