// Tab "Spectrum Comparison" driven through the built program: adding files (several at once,
// eleven, bad ones among good ones), the curve group, New Set, the range fields, zoom on qgraph
// and Save Set in each image type.
#include "tests/app/EvaluationTestSupport.h"
#include "tests/support/PdfText.h"
#include "tests/support/SpectrumFiles.h"

#include <QFile>
#include <QImageReader>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using ymt::test::RunScript;
using ymt::test::ScriptRun;

class ComparisonProgram : public ::testing::Test {
protected:
    // A spectrum file of n points in the test folder; returns its absolute path, quoted.
    QString spectrum(const QString& name, int points = 401, double from = 100, double to = 300) {
        ymt::test::SpectrumFileOptions options;
        options.points = points;
        options.fromKHz = from;
        options.toKHz = to;
        const QString path = dir.filePath(name);
        EXPECT_TRUE(ymt::test::WriteSpectrumFile(path, options));
        return QLatin1Char('"') + path + QLatin1Char('"');
    }
    QString file(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(ymt::test::WriteBytes(path, bytes));
        return QLatin1Char('"') + path + QLatin1Char('"');
    }
    static QString entry(const ScriptRun& run, int k, int n = 0) {
        return run.value(QStringLiteral("compare.%1").arg(k), n);
    }
    QTemporaryDir dir;
};

TEST_F(ComparisonProgram, ThreeFilesAtOnceFillEntriesOneToThreeAndTheCurveGroupSwitches) {
    const QString files = spectrum("a.txt", 401) + ' ' + spectrum("b.txt", 201, 150, 250) + ' ' +
                          spectrum("c.txt", 11);
    const ScriptRun run = RunScript(QStringLiteral("tab TabSheet5\nfile %1\nclick Button19\nstate\n"
                                                   "select RadioGroup1 1\nstate\n"
                                                   "check CheckBox4 0\nstate\n"
                                                   "select RadioGroup1 0\nstate\n"
                                                   "curve qgraph 3\nquit\n")
                                        .arg(files));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    // caption | checked | |Z| points | |Z| visible | theta visible
    EXPECT_EQ(entry(run, 1), QStringLiteral("a.txt|1|401|1|0"));
    EXPECT_EQ(entry(run, 2), QStringLiteral("b.txt|1|201|1|0"));
    EXPECT_EQ(entry(run, 3), QStringLiteral("c.txt|1|11|1|0"));
    EXPECT_EQ(entry(run, 4), QStringLiteral("empty|0|0|0|0"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.YTitle")), QStringLiteral("Impedance |Z| [Ohm]"));
    EXPECT_EQ(run.value(QStringLiteral("tmpgraph.points")), QStringLiteral("0"));
    // Phase theta: only theta curves, of checked entries.
    EXPECT_EQ(entry(run, 1, 1), QStringLiteral("a.txt|1|401|0|1"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.YTitle"), 1), QString::fromUtf8("Phase theta [°]"));
    EXPECT_EQ(entry(run, 2, 2), QStringLiteral("b.txt|0|201|0|0"));
    EXPECT_EQ(entry(run, 3, 2), QStringLiteral("c.txt|1|11|0|1"));
    // Back to |Z|: the unchecked entry stays hidden.
    EXPECT_EQ(entry(run, 2, 3), QStringLiteral("b.txt|0|201|0|0"));
    EXPECT_EQ(entry(run, 1, 3), QStringLiteral("a.txt|1|401|1|0"));
    const std::vector<double> xs = run.curveX(0);
    ASSERT_EQ(xs.size(), 201u);
    EXPECT_DOUBLE_EQ(xs.front(), 150.0);
    EXPECT_DOUBLE_EQ(xs.back(), 250.0);
}

TEST_F(ComparisonProgram, NewSetEmptiesEverythingAndTheNextFileGoesToEntryOne) {
    const ScriptRun run =
        RunScript(QStringLiteral("tab TabSheet5\nfile %1 %2\nclick Button19\n"
                                 "answer No\nclick Button20\nstate\n"
                                 "answer Yes\nclick Button20\nstate\n"
                                 "file %3\nclick Button19\nstate\nquit\n")
                      .arg(spectrum("a.txt"), spectrum("b.txt"), spectrum("c.txt", 5)));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_TRUE(run.lines.contains(QStringLiteral("message confirmation \"Delete set?\" -> No")));
    EXPECT_EQ(entry(run, 2, 0), QStringLiteral("b.txt|1|401|1|0"));
    EXPECT_EQ(entry(run, 1, 1), QStringLiteral("empty|0|0|0|0"));
    EXPECT_EQ(entry(run, 2, 1), QStringLiteral("empty|0|0|0|0"));
    EXPECT_EQ(entry(run, 1, 2), QStringLiteral("c.txt|1|5|1|0"));
    EXPECT_EQ(entry(run, 2, 2), QStringLiteral("empty|0|0|0|0"));
}

TEST_F(ComparisonProgram, TheEleventhFileReplacesEntryTenInsteadOfMixingTwoSpectra) {
    QString files;
    for (int i = 1; i <= 11; ++i)
        files += spectrum(QStringLiteral("s%1.txt").arg(i), 10 + i, 100 * i, 100 * i + 50) + ' ';
    const ScriptRun run = RunScript(
        QStringLiteral(
            "tab TabSheet5\nfile %1\nanswer OK\nclick Button19\nstate\ncurve qgraph 19\nquit\n")
            .arg(files));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    // s10.txt went into entry 10 and was replaced by s11.txt of the same selection: named.
    EXPECT_TRUE(run.lines.contains(
        QStringLiteral("message warning \"The set holds ten spectra. Not added: s10.txt\" -> OK")))
        << run.lines.join('\n').toStdString();
    EXPECT_EQ(entry(run, 9), QStringLiteral("s9.txt|1|19|1|0"));
    EXPECT_EQ(entry(run, 10), QStringLiteral("s11.txt|1|21|1|0"));
    const std::vector<double> xs = run.curveX(0);
    ASSERT_EQ(xs.size(), 21u);
    EXPECT_DOUBLE_EQ(xs.front(), 1100.0);
}

TEST_F(ComparisonProgram, BadFilesAmongGoodOnesGiveTheirMessageAndKeepTheOtherEntries) {
    const QString good1 = spectrum("good1.txt", 20);
    const QString series =
        file("series.txt", "Low Field Impedance Analysis\r\nT\tC\tf\r\n20.5\t1.5\t200\r\n");
    const QString good2 = spectrum("good2.txt", 30);
    const QString foreign = file("foreign.txt", "f\tZ\r\n1 2 3\r\n");
    const QString good3 = spectrum("good3.txt", 40);
    ymt::test::SpectrumFileOptions nanRow;
    nanRow.points = 5;
    nanRow.extraRows = {QStringLiteral(" 1.0E+0003\tnan\t 1.0E+0000")};
    const QString broken = file("nan.txt", ymt::test::SpectrumFileBytes(nanRow));
    const QString missing = QLatin1Char('"') + dir.filePath("missing.txt") + QLatin1Char('"');

    const ScriptRun run = RunScript(
        QStringLiteral("tab TabSheet5\n"
                       // A series file is passed over; the foreign first line ends the selection.
                       "file %1 %2 %3 %4 %5\nanswer OK\nanswer OK\nclick Button19\nstate\n"
                       "file %6 %5\nanswer OK\nclick Button19\nstate\n"
                       "file %7\nanswer OK\nclick Button19\n"
                       "file \"%8\"\nanswer OK\nclick Button19\nstate\nquit\n")
            .arg(good1, series, good2, foreign, good3, broken, missing, dir.path()));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_EQ(
        run.lines.count(QStringLiteral("message error \"Error! Unknown file format!\" -> OK")), 2);
    EXPECT_EQ(entry(run, 1), QStringLiteral("good1.txt|1|20|1|0"));
    EXPECT_EQ(entry(run, 2), QStringLiteral("good2.txt|1|30|1|0"));
    EXPECT_EQ(entry(run, 3), QStringLiteral("empty|0|0|0|0"));
    // The row with nan is a file error: nothing of that file, nothing after it in the selection.
    bool nanMessage = false;
    for (const QString& line : run.lines)
        nanMessage |=
            line.startsWith(QStringLiteral("message error \"Error! \\\"nan.txt\\\", line 27"));
    EXPECT_TRUE(nanMessage) << run.lines.join('\n').toStdString();
    EXPECT_EQ(entry(run, 3, 1), QStringLiteral("empty|0|0|0|0"));
    // A missing file and a folder each give a file error and change nothing.
    EXPECT_EQ(entry(run, 1, 2), QStringLiteral("good1.txt|1|20|1|0"));
    EXPECT_EQ(entry(run, 2, 2), QStringLiteral("good2.txt|1|30|1|0"));
    EXPECT_EQ(entry(run, 3, 2), QStringLiteral("empty|0|0|0|0"));
    EXPECT_EQ(run.value(QStringLiteral("tmpgraph.points"), 2), QStringLiteral("0"));
}

TEST_F(ComparisonProgram, RangeFieldsAreClampedAndAutoscaleLocksThem) {
    const ScriptRun run = RunScript(QStringLiteral("tab TabSheet5\n"
                                                   "type Edit18 0.001\nenter Edit18\n"
                                                   "type Edit19 200000\nenter Edit19\nstate\n"
                                                   "type Edit18 150\nenter Edit18\n"
                                                   "type Edit19 abc\nenter Edit19\nstate\n"
                                                   "show Edit18\nshow Edit19\n"
                                                   "check CheckBox16 1\nstate\n"
                                                   "check CheckBox16 0\nstate\n"
                                                   "check CheckBox14 0\nstate\nquit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMin")), 0.04);
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMax")), 110000.0);
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMin"), 1), 150.0);
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMax"), 1), 110000.0);
    EXPECT_EQ(run.value(QStringLiteral("Edit18")), QStringLiteral("150"));
    EXPECT_EQ(run.value(QStringLiteral("Edit19")), QStringLiteral("110000"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.XAutoscale"), 2), QStringLiteral("1"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.XAutoscale"), 3), QStringLiteral("0"));
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMin"), 3), 150.0);
    EXPECT_EQ(run.value(QStringLiteral("qgraph.YLog"), 3), QStringLiteral("1"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.YLog"), 4), QStringLiteral("0"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.ZoomDepth"), 4), QStringLiteral("0"));
}

QString dragOnQgraph(int from, int to) {
    return QStringLiteral("mouse qgraph down left %1 150\nmouse qgraph move left %2 150\n"
                          "mouse qgraph up left %2 150\n")
        .arg(from)
        .arg(to);
}

TEST_F(ComparisonProgram, ZoomOnQgraphAndBackThroughFiftyEntries) {
    QString script =
        QStringLiteral("tab TabSheet5\nfile %1\nclick Button19\nwait 50\n").arg(spectrum("a.txt"));
    script += dragOnQgraph(200, 205) + QStringLiteral("state\n");
    script += dragOnQgraph(206, 200) + QStringLiteral("state\n");
    script += QStringLiteral("mouse qgraph down right 200\nmouse qgraph up right 200\nstate\n");
    for (int i = 0; i < 51; ++i)
        script += dragOnQgraph(0, 400 + i % 2);
    script += QStringLiteral("state\n");
    for (int i = 0; i < 50; ++i)
        script += QStringLiteral("mouse qgraph down right 200\nmouse qgraph up right 200\n");
    script += QStringLiteral("state\nmouse qgraph down middle 200\nstate\n");
    // Released right of the plot: the axis maximum exactly.
    script += dragOnQgraph(200, 5000) + QStringLiteral("state\nquit\n");
    const ScriptRun run = RunScript(script);
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    // Five pixels: nothing; six pixels: one step in.
    EXPECT_EQ(run.value(QStringLiteral("qgraph.ZoomDepth"), 0), QStringLiteral("0"));
    EXPECT_EQ(run.value(QStringLiteral("qgraph.ZoomDepth"), 1), QStringLiteral("1"));
    EXPECT_LT(run.number(QStringLiteral("qgraph.XMax"), 1), 110000.0);
    EXPECT_GT(run.number(QStringLiteral("qgraph.XMin"), 1), 0.04);
    // Zoom back returns to the full range.
    EXPECT_EQ(run.value(QStringLiteral("qgraph.ZoomDepth"), 2), QStringLiteral("0"));
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMin"), 2), 0.04);
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMax"), 2), 110000.0);
    // 51 zooms stop at depth 50; a drag from the left edge keeps the minimum.
    EXPECT_EQ(run.value(QStringLiteral("qgraph.ZoomDepth"), 3), QStringLiteral("50"));
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMin"), 3), 0.04);
    EXPECT_LT(run.number(QStringLiteral("qgraph.XMax"), 3), 1.0);
    EXPECT_EQ(run.value(QStringLiteral("qgraph.ZoomDepth"), 4), QStringLiteral("0"));
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMax"), 4), 110000.0);
    EXPECT_EQ(run.value(QStringLiteral("qgraph.ZoomDepth"), 5), QStringLiteral("0"));
    EXPECT_EQ(run.number(QStringLiteral("qgraph.XMax"), 6), 110000.0);
    EXPECT_GT(run.number(QStringLiteral("qgraph.XMin"), 6), 0.04);
    // The measurement plot's history is its own.
    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth"), 3), QStringLiteral("0"));
}

TEST_F(ComparisonProgram, SaveSetWritesEachImageTypeAndAsksBeforeReplacing) {
    const QString bmp = dir.filePath("set.bmp");
    const QString jpg = dir.filePath("set.jpg");
    const QString wmf = dir.filePath("set.wmf");
    const ScriptRun run =
        RunScript(QStringLiteral("tab TabSheet5\nfile %1\nclick Button19\n"
                                 "file \"%5\" #1\nclick Button21\n"
                                 "file \"%2\" #2\nclick Button21\n"
                                 "file \"%3\" #3\nclick Button21\n"
                                 "file \"%2\" #2\nanswer Cancel\nclick Button21\n"
                                 "file \"%4\" #2\nanswer OK\nclick Button21\nquit\n")
                      .arg(spectrum("a.txt"), bmp, jpg, dir.filePath("no-folder/set.bmp"), wmf));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    // A write that fails says so.
    bool reported = false;
    for (const QString& line : run.lines)
        reported |= line.startsWith(QStringLiteral("message error \"Error!")) &&
                    line.contains(QStringLiteral("no-folder/set.bmp"));
    EXPECT_TRUE(reported) << run.lines.join('\n').toStdString();
    EXPECT_TRUE(run.lines.contains(
        QStringLiteral("message confirmation \"Overwrite existing file?\" -> Cancel")));
    QImageReader bmpReader(bmp);
    EXPECT_EQ(bmpReader.format(), QByteArray("bmp"));
    const QImage bmpImage = bmpReader.read();
    ASSERT_FALSE(bmpImage.isNull());
    QImageReader jpgReader(jpg);
    EXPECT_EQ(jpgReader.format(), QByteArray("jpeg"));
    const QImage jpgImage = jpgReader.read();
    ASSERT_FALSE(jpgImage.isNull());
    EXPECT_EQ(jpgImage.size(), bmpImage.size());
    // The metafile as file(1) knows it: an enhanced metafile whatever its extension.
    EXPECT_TRUE(ymt::test::RunTool(QStringLiteral("file"), {QStringLiteral("-b"), wmf})
                    .contains(QStringLiteral("Enhanced Metafile")));
    // Another reader renders it whole, at the bitmap's size.
    const QString svg = dir.filePath("set.svg");
    ymt::test::RunTool(QStringLiteral("emf2svg-conv"),
                       {QStringLiteral("-i"), wmf, QStringLiteral("-o"), svg});
    QSvgRenderer fromMetafile(svg);
    ASSERT_TRUE(fromMetafile.isValid());
    EXPECT_EQ(fromMetafile.defaultSize(), bmpImage.size());
    EXPECT_EQ(fromMetafile.viewBoxF(), QRectF(QPointF(0, 0), QSizeF(bmpImage.size())));
    // New pictures get the permissions of any other new file.
    EXPECT_EQ(QFile::permissions(wmf), QFile::permissions(bmp));
    EXPECT_TRUE(QFile::permissions(wmf) & QFile::ReadOther);
    // The |Z| curve of entry 1 is drawn in red.
    int red = 0;
    for (int y = 0; y < bmpImage.height(); ++y)
        for (int x = 0; x < bmpImage.width(); ++x)
            red += bmpImage.pixel(x, y) == qRgb(255, 0, 0);
    EXPECT_GT(red, 50);
}

} // namespace
