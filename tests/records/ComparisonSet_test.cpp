// The comparison set without the window: reading files for it (good, foreign and broken ones),
// choosing and filling entries, the curve group, the range fields and the zoom rule.
#include "records/ComparisonSet.h"
#include "tests/support/SpectrumFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ymt {
namespace {

using test::SpectrumFileOptions;
using Status = ComparisonFile::Status;

class ComparisonFileRead : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(test::WriteBytes(path, bytes));
        return path;
    }
    QString writeSpectrum(const QString& name, const SpectrumFileOptions& options = {}) {
        return write(name, test::SpectrumFileBytes(options));
    }
    QTemporaryDir dir;
};

TEST_F(ComparisonFileRead, ReadsEveryRowOfASavedSpectrumWithBothLineEndsAndLanguages) {
    const ComparisonFile english = ReadComparisonFile(writeSpectrum("en.txt"));
    ASSERT_EQ(english.status, Status::Read);
    ASSERT_EQ(english.points.size(), 401u);
    EXPECT_DOUBLE_EQ(english.points.front().frequency, 100.0);
    EXPECT_DOUBLE_EQ(english.points.back().frequency, 300.0);
    EXPECT_NEAR(english.points[0].magnitude, 1000 + 500 * std::sin(10.0), 1e-4);

    SpectrumFileOptions germanLf;
    germanLf.german = true;
    germanLf.lineEnd = "\n";
    germanLf.points = 7;
    const ComparisonFile german = ReadComparisonFile(writeSpectrum("de.txt", germanLf));
    ASSERT_EQ(german.status, Status::Read);
    EXPECT_EQ(german.points.size(), 7u);
}

TEST_F(ComparisonFileRead, AFileWithoutColumnTitlesEndsAtItsEndAsUnknownFormat) {
    // A series file of the repeat measurement: its first line has the title, no "Ohm".
    const ComparisonFile series = ReadComparisonFile(write(
        "series.txt", "Low Field Impedance Analysis\r\nT [C]\tC [nF]\tf [kHz]\r\n1\t2\t3\r\n"));
    EXPECT_EQ(series.status, Status::UnknownFormat);
    EXPECT_TRUE(series.missingColumnTitles);
    EXPECT_TRUE(series.points.empty());
}

TEST_F(ComparisonFileRead, AFirstLineWithoutTheTitleIsUnknownFormat) {
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("\x00\x01\xff\xfe binary\x00 Ohm theta", 22),
          QByteArray("f\t|Z| [Ohm]\ttheta\r\n1 2 3\r\n")}) {
        const ComparisonFile file = ReadComparisonFile(write("x.txt", bytes));
        EXPECT_EQ(file.status, Status::UnknownFormat);
        EXPECT_FALSE(file.missingColumnTitles);
    }
}

TEST_F(ComparisonFileRead, MissingFilesAndFoldersAreFileErrorsNamingThePath) {
    const QString missing = dir.filePath("missing.txt");
    const ComparisonFile absent = ReadComparisonFile(missing);
    EXPECT_EQ(absent.status, Status::FileError);
    EXPECT_TRUE(absent.error.contains(missing));
    const ComparisonFile folder = ReadComparisonFile(dir.path());
    EXPECT_EQ(folder.status, Status::FileError);
    EXPECT_TRUE(folder.error.contains(dir.path()));
}

TEST_F(ComparisonFileRead, TruncatedNanAndOverflowingRowsAreFileErrorsNotPoints) {
    for (const char* row : {" 1.0E+0002\t 1.0E+0003", " 1.0E+0002\tnan\t 1.0E+0000",
                            " 1.0E+0002\t 1.0E+0999\t 1.0E+0000"}) {
        SpectrumFileOptions options;
        options.points = 3;
        options.extraRows = {QString::fromLatin1(row), QStringLiteral(" 5.0E+0002 1 1")};
        const ComparisonFile file = ReadComparisonFile(writeSpectrum("bad.txt", options));
        EXPECT_EQ(file.status, Status::FileError) << row;
        // 21 header lines and 3 good rows come before it.
        EXPECT_TRUE(file.error.contains(QStringLiteral("line 25"))) << file.error.toStdString();
        EXPECT_TRUE(file.points.empty());
    }
}

TEST_F(ComparisonFileRead, TenMegabytesOfRowsAreReadWhole) {
    SpectrumFileOptions header;
    header.points = 0;
    const QByteArray row(" 1.0000000E+0002\t 1.0000000E+0003\t-8.0000000E+0001\r\n");
    const QString path = write("large.txt", test::SpectrumFileBytes(header) + row.repeated(199999) +
                                                " 1.0000000E+0005\t 1.0E+0003\t 0.0E+0000\r\n");
    ASSERT_GT(QFileInfo(path).size(), 10'000'000);
    const ComparisonFile file = ReadComparisonFile(path);
    ASSERT_EQ(file.status, Status::Read);
    ASSERT_EQ(file.points.size(), 200000u);
    EXPECT_DOUBLE_EQ(file.points.back().frequency, 100000.0);
}

TEST_F(ComparisonFileRead, AHeaderWithoutRowsReadsAsAnEmptySpectrum) {
    SpectrumFileOptions options;
    options.points = 0;
    const ComparisonFile file = ReadComparisonFile(writeSpectrum("empty.txt", options));
    EXPECT_EQ(file.status, Status::Read);
    EXPECT_TRUE(file.points.empty());
}

CurveStore readingOf(int points, double offset) {
    CurveStore reading;
    for (int i = 0; i < points; ++i) {
        reading.AddPoint(1, offset + i, 100 + i);
        reading.AddPoint(2, offset + i, -i);
    }
    return reading;
}

TEST(ComparisonEntries, FilesGoToTheFirstFreeEntryAndTheEleventhReplacesEntryTen) {
    CurveStore set;
    for (int file = 1; file <= 10; ++file) {
        const int entry = ChooseEntry(set);
        EXPECT_EQ(entry, file);
        FillEntry(set, entry, readingOf(file, 1000.0 * file));
    }
    EXPECT_EQ(set.pointCount(ImpedanceCurveOf(10)), 10);
    EXPECT_EQ(ChooseEntry(set), 10);
    FillEntry(set, 10, readingOf(3, 50000));
    // Entry 10 holds the eleventh spectrum alone, not a mix of two.
    ASSERT_EQ(set.pointCount(ImpedanceCurveOf(10)), 3);
    ASSERT_EQ(set.pointCount(PhaseCurveOf(10)), 3);
    EXPECT_EQ(set.point(ImpedanceCurveOf(10), 0).x, 50000.0);
    EXPECT_EQ(set.curve(ImpedanceCurveOf(10)).MinX, 50000.0);
    EXPECT_EQ(set.point(PhaseCurveOf(10), 2).y, -2.0);
    EXPECT_EQ(set.pointCount(ImpedanceCurveOf(9)), 9);
}

TEST(ComparisonEntries, AnEntryWithoutPointsIsChosenAgain) {
    CurveStore set;
    FillEntry(set, 1, readingOf(2, 0));
    FillEntry(set, ChooseEntry(set), readingOf(0, 0));
    EXPECT_EQ(ChooseEntry(set), 2);
    set.ClearAll();
    EXPECT_EQ(ChooseEntry(set), 1);
}

TEST(ComparisonEntries, CurveGroupShowsOneCurveOfEveryCheckedEntry) {
    CurveStore set;
    std::array<bool, kComparisonEntries> checked{};
    checked[0] = checked[2] = true;
    ApplyCurveGroup(set, false, checked);
    EXPECT_TRUE(set.curve(1).Visible);
    EXPECT_FALSE(set.curve(2).Visible);
    EXPECT_FALSE(set.curve(3).Visible);
    EXPECT_TRUE(set.curve(5).Visible);
    ApplyCurveGroup(set, true, checked);
    for (int curve = 1; curve <= 20; ++curve)
        EXPECT_EQ(set.curve(curve).Visible, curve == 2 || curve == 6) << curve;
    EXPECT_EQ(CurveGroupAxisTitle(false, QStringLiteral("Impedance")),
              QStringLiteral("Impedance |Z| [Ohm]"));
    EXPECT_EQ(CurveGroupAxisTitle(true, QStringLiteral("Impedance")),
              QString::fromUtf8("Phase theta [°]"));
}

TEST(ComparisonRange, TypedLimitsAreKeptWithinTheAnalyzerSpanAndWordsAreRefused) {
    EXPECT_EQ(ComparisonRangeValue(QStringLiteral("0.001")), 0.04);
    EXPECT_EQ(ComparisonRangeValue(QStringLiteral("200000")), 110000.0);
    EXPECT_EQ(ComparisonRangeValue(QStringLiteral(" 123.5 ")), 123.5);
    EXPECT_FALSE(ComparisonRangeValue(QStringLiteral("abc")));
    EXPECT_FALSE(ComparisonRangeValue(QStringLiteral("nan")));
    EXPECT_FALSE(ComparisonRangeValue(QString()));
}

TEST(ComparisonZoom, SixPixelsZoomFivePixelsDoNotAndTheFirstPixelIsTheMinimum) {
    EXPECT_FALSE(ComparisonZoomBand(100, 105, 50, 550, 0, 1000));
    EXPECT_FALSE(ComparisonZoomBand(105, 100, 50, 550, 0, 1000));
    const auto band = ComparisonZoomBand(156, 100, 50, 550, 0, 1000);
    ASSERT_TRUE(band);
    EXPECT_DOUBLE_EQ(band->Low, 100.0);
    EXPECT_DOUBLE_EQ(band->High, 212.0);
    const auto fromEdge = ComparisonZoomBand(51, 300, 50, 550, 10, 1010);
    ASSERT_TRUE(fromEdge);
    EXPECT_DOUBLE_EQ(fromEdge->Low, 10.0);
    EXPECT_DOUBLE_EQ(fromEdge->High, 510.0);
    // Released on the right edge or past it (kept one pixel out): exactly the maximum.
    for (const int release : {550, 551}) {
        const auto toEdge = ComparisonZoomBand(300, release, 50, 550, 0.04, 110000);
        ASSERT_TRUE(toEdge);
        EXPECT_EQ(toEdge->High, 110000.0) << release;
    }
}

} // namespace
} // namespace ymt
