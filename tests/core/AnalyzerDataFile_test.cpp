// The analyzer's data files: the sample files beside this test (both measure parameters, both
// column layouts, LF and CR LF) against an independent reading by Python, and what a damaged or
// foreign file gives instead of points.
#include "core/AnalyzerDataFile.h"

#include "core/TextFile.h"
#include "tests/support/DebianPython.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

QString sampleFile(const char* name) {
    return QStringLiteral(YMT_SOURCE_DIR "/tests/core/analyzer-files/") + QLatin1String(name);
}

AnalyzerDataRead readSample(const char* name) {
    QByteArray bytes;
    EXPECT_TRUE(ReadWholeFile(sampleFile(name), bytes));
    return ParseAnalyzerDataFile(bytes);
}

// A file of the given measure parameter with traces A and B of the given rows ("hz\tvalue"),
// LF line ends.
QByteArray analyzerFile(const QByteArray& measure, const QList<QByteArray>& rowsA,
                        const QList<QByteArray>& rowsB, const QByteArray& extraHeader = {}) {
    QByteArray file = "4294A REV1.11\n\"DATE: Jun 11 2002\"\n\n\n\"MEASURE PARAMETER: " + measure +
                      "\"\n" + extraHeader + "\n\n";
    const QList<QByteArray>* traces[] = {&rowsA, &rowsB};
    for (int t = 0; t < 2; ++t) {
        file += QByteArray("\"TRACE: ") + (t == 0 ? "A" : "B") + "\"\n\"FORMAT: LOG\"\n\n";
        file += "\"Frequency\"\t\"Data Trace Real\"\t\"Data Trace Imag\"\n";
        for (const QByteArray& row : *traces[t])
            file += row + "\t0.000000e+00\n";
        file += "\n\n";
    }
    return file;
}

TEST(AnalyzerDataFile, EverySampleFileGivesThePointsAnIndependentReaderFinds) {
    for (const char* name :
         {"impedance-log-lf.txt", "admittance-lin-memory-crlf.txt", "reversed-fixture.txt"}) {
        SCOPED_TRACE(name);
        const AnalyzerDataRead read = readSample(name);
        ASSERT_TRUE(read.ok) << read.error.toStdString();
        const test::PythonRun python = test::RunDebianPython(
            {QStringLiteral(YMT_SOURCE_DIR "/tests/support/independent_reader.py"),
             sampleFile(name)});
        ASSERT_EQ(python.exitCode, 0) << python.errors.toStdString();
        const std::vector<SpectrumPoint> expected = test::HexPoints(python.output);
        ASSERT_EQ(read.file.points.size(), expected.size());
        ASSERT_FALSE(expected.empty());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(read.file.points[i].frequency, expected[i].frequency) << i;
            EXPECT_EQ(read.file.points[i].magnitude, expected[i].magnitude) << i;
            EXPECT_EQ(read.file.points[i].phase, expected[i].phase) << i;
        }
    }
}

TEST(AnalyzerDataFile, AdmittanceGivesTheInverseMagnitudeAndTheNegatedPhase) {
    const AnalyzerDataRead read = readSample("admittance-lin-memory-crlf.txt");
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    EXPECT_TRUE(read.file.admittance);
    ASSERT_EQ(read.file.points.size(), 4u);
    EXPECT_EQ(read.file.points[0].frequency, 40.0);
    EXPECT_EQ(read.file.points[0].magnitude, 1 / 2.5e-3);
    EXPECT_EQ(read.file.points[0].phase, -86.1);
    EXPECT_EQ(read.file.phasesOutside90, 0);
}

TEST(AnalyzerDataFile, DateAndSettingsGoIntoOneNotesLineAndAWrongDateIsKept) {
    const AnalyzerDataRead wrong = readSample("admittance-lin-memory-crlf.txt");
    ASSERT_TRUE(wrong.ok);
    EXPECT_EQ(wrong.file.date, QStringLiteral("52 -100"));
    const AnalyzerDataRead read = readSample("impedance-log-lf.txt");
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(
        AnalyzerDataNotes(read.file),
        QStringLiteral("4294A REV1.11, DATE: Jun 11 2002; MEASURE PARAMETER: IMPEDANCE MAG "
                       "PHASE (DEG); ADAPTER: 7mm; SWEEP TYPE: LOG FREQ; NUMBER of POINTS: "
                       "3; POINT DELAY TIME: 0 Sec; SWEEP DELAY TIME: 0 Sec; OSC LEVEL: 500 "
                       "mVolt; DC BIAS: OFF; BW: 5; SWEEP AVERAGING: 16; POINT AVERAGING: 4"));
}

TEST(AnalyzerDataFile, PhasesBeyondNinetyDegreesAreKeptAndCounted) {
    const AnalyzerDataRead read = readSample("reversed-fixture.txt");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.file.points.size(), 2u);
    EXPECT_EQ(read.file.points[0].phase, 94.0);
    EXPECT_EQ(read.file.phasesOutside90, 2);
}

TEST(AnalyzerDataFile, OtherMeasureParametersAreRefusedByName) {
    const AnalyzerDataRead read = readSample("r-x.txt");
    EXPECT_FALSE(read.ok);
    EXPECT_TRUE(read.file.points.empty());
    EXPECT_TRUE(read.error.contains(QStringLiteral("\"R-X\""))) << read.error.toStdString();
    EXPECT_TRUE(read.error.startsWith(QStringLiteral("Line 5:")));
    const AnalyzerDataRead cs =
        ParseAnalyzerDataFile(analyzerFile("CS-RS", {"1e3\t1"}, {"1e3\t2"}));
    EXPECT_TRUE(cs.error.contains(QStringLiteral("\"CS-RS\""))) << cs.error.toStdString();
}

TEST(AnalyzerDataFile, DamagedFilesNameTheLineAndGiveNoPoints) {
    const QByteArray z = "IMPEDANCE MAG PHASE (DEG)";
    struct Case {
        QByteArray bytes;
        const char* error;
    };
    const Case cases[] = {
        // Line 11 holds trace A's titles, 12 its first row; trace B starts at line 16.
        {analyzerFile(z, {"1e3\t5", "2e3\t6"}, {"1e3\t-80"}), "Line 16: trace A holds 2 points"},
        {analyzerFile(z, {"1e3\t5", "2e3\t6"}, {"1e3\t-80", "2.5e3\t-81"}),
         "Line 21: trace B is at 2500 Hz where trace A is at 2000 Hz"},
        {analyzerFile(z, {"1e3\t5", "2e3 six"}, {"1e3\t-80", "2e3\t-81"}),
         "Line 13: a data row must hold 3 numbers"},
        {analyzerFile(z, {"1e3\t5", "2e3"}, {"1e3\t-80", "2e3\t-81"}),
         "Line 13: a data row must hold 3 numbers"},
        {analyzerFile(z, {"1e3\t5", "2e3\tnan"}, {"1e3\t-80", "2e3\t-81"}),
         "Line 13: a data row must hold 3 numbers"},
        {analyzerFile(z, {"0\t5"}, {"0\t-80"}), "Line 12: the frequency 0 Hz"},
        {analyzerFile(z, {"1e3\t-5"}, {"1e3\t-80"}), "Line 12: the magnitude -5"},
        {analyzerFile("ADMITTANCE MAG PHASE (DEG)", {"1e3\t0"}, {"1e3\t80"}),
         "Line 12: the magnitude 0"},
        {analyzerFile(z, {"1e3\t5"}, {"1e3\t-80"}, "\"NUMBER of POINTS: 401\"\n"),
         "Line 6: the file states 401 points, the traces hold 1"},
        // What the file states is shown as written, even when it looks like a placeholder.
        {analyzerFile(z, {"1e3\t5"}, {"1e3\t-80"}, "\"NUMBER of POINTS: %1\"\n"),
         "Line 6: the file states %1 points, the traces hold 1"},
        {analyzerFile(z, {}, {"1e3\t-80"}), "Line 8: trace A holds no data rows"},
        {QByteArray("4294A REV1.11\n\"MEASURE PARAMETER: ") + z + "\"\n", "no trace A"},
        {QByteArray("4294A REV1.11\n"), "no MEASURE PARAMETER"},
        {QByteArray("Low Field Impedance Analysis\n"), "not a data file of the analyzer"},
        {QByteArray("4294A REV1.11\n1e3\t5\t0\n"), "Line 2: \"1e3\t5\t0\" is not where"},
    };
    for (const Case& c : cases) {
        const AnalyzerDataRead read = ParseAnalyzerDataFile(c.bytes);
        EXPECT_FALSE(read.ok) << c.error;
        EXPECT_TRUE(read.file.points.empty()) << c.error;
        EXPECT_TRUE(read.error.contains(QString::fromLatin1(c.error)))
            << "expected \"" << c.error << "\", got \"" << read.error.toStdString() << "\"";
    }
}

TEST(AnalyzerDataFile, TracesInEitherOrderAndDescendingRowsGiveSortedPoints) {
    QByteArray file =
        analyzerFile("IMPEDANCE MAG PHASE (DEG)", {"2e3\t6", "1e3\t5"}, {"2e3\t-81", "1e3\t-80"});
    // Trace B first: swap the two blocks.
    const qsizetype b = file.indexOf("\"TRACE: B\"");
    const qsizetype a = file.indexOf("\"TRACE: A\"");
    file = file.left(a) + file.mid(b) + file.mid(a, b - a);
    const AnalyzerDataRead read = ParseAnalyzerDataFile(file);
    ASSERT_TRUE(read.ok) << read.error.toStdString();
    ASSERT_EQ(read.file.points.size(), 2u);
    EXPECT_EQ(read.file.points[0].frequency, 1.0);
    EXPECT_EQ(read.file.points[0].magnitude, 5.0);
    EXPECT_EQ(read.file.points[1].phase, -81.0);
}

} // namespace
} // namespace ymt
