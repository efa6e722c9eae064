// The printout page: where its texts stand, when the quality-control block appears, where the
// plot goes, and a real PDF page read back with the poppler tools, the plot on it in screen
// units; and the print job that replaces a PDF only when the page is complete.
#include "plot/DrawingUnits.h"
#include "plot/FastGraph.h"
#include "plot/PlotInstances.h"
#include "plot/PrintJob.h"
#include "plot/Printout.h"
#include "tests/support/PdfText.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ymt {
namespace {

// A sample with no result determined, and what the page takes beside it.
struct SamplePage {
    ResultsSnapshot snapshot;
    PrintoutExtras extras;
    PageLayout layOut(bool landscape, int width, int height) const {
        return LayOutPrintoutPage(snapshot, extras, landscape, width, height);
    }
};

SamplePage samplePage() {
    SamplePage page;
    ResultsSnapshot& s = page.snapshot;
    s.Sample.Material = QStringLiteral("PZT");
    s.SampleNameText = QStringLiteral("Disc 7");
    s.Sample.MeasuredBy = QStringLiteral("Vazaz");
    s.TandUnit = QStringLiteral("[1e-4]");
    s.ModeCaption = QStringLiteral("kt         [%]");
    PrintoutExtras& t = page.extras;
    t.ProductLine = QStringLiteral("Zelvanor Ymt 2.4.5");
    t.DateTime = QStringLiteral("09.12.26 / 01:00");
    t.Geometry = QStringLiteral("Ring");
    t.QualityControl = {QStringLiteral("---"), QStringLiteral("---"), QStringLiteral("---"),
                        QStringLiteral("---"), QStringLiteral("---")};
    return page;
}

const PageText* findText(const PageLayout& layout, const QString& text) {
    for (const PageText& t : layout.Texts)
        if (t.Text == text)
            return &t;
    return nullptr;
}

TEST(PrintoutLayout, PortraitPlacesHeaderSampleAndResonanceBlocks) {
    const PageLayout page = samplePage().layOut(false, 2000, 2870);
    const PageText* title = findText(page, QStringLiteral("Low Field Impedance Analysis"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->At, QPoint(180, -100));
    EXPECT_EQ(title->Height, 70);
    const PageText* name = findText(page, QStringLiteral(": Disc 7"));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->At, QPoint(630, -250));
    // An empty field prints as the colon and blank alone.
    ASSERT_TRUE(findText(page, QStringLiteral(": ")));
    const PageText* sample = findText(page, QStringLiteral("Sample"));
    ASSERT_TRUE(sample);
    EXPECT_EQ(sample->At, QPoint(200, -1750));
    EXPECT_TRUE(sample->Bold && sample->Underline);
    const PageText* mode = findText(page, QStringLiteral("kt  [%]"));
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->At, QPoint(1180, -2100));
    EXPECT_TRUE(mode->Bold);
    const PageText* footer = findText(page, QStringLiteral("Zelvanor Ymt 2.4.5"));
    ASSERT_TRUE(footer);
    EXPECT_EQ(footer->At, QPoint(180, -2870 + 90));
    ASSERT_EQ(page.Frames.size(), 1u);
    EXPECT_EQ(page.Frames[0].To, QPoint(1980, -2770));
    ASSERT_EQ(page.Lines.size(), 2u);
    EXPECT_EQ(page.Lines[1].x1(), 180 + 1800 / 2);
}

TEST(PrintoutLayout, LandscapeHasTwoFramesAndTheBlocksOnTheRight) {
    const PageLayout page = samplePage().layOut(true, 2870, 2000);
    ASSERT_EQ(page.Frames.size(), 2u);
    EXPECT_EQ(page.Frames[1].From, QPoint(1830, -150));
    EXPECT_EQ(page.Frames[1].To, QPoint(2840, -1900));
    EXPECT_TRUE(page.Lines.empty());
    EXPECT_EQ(findText(page, QStringLiteral("Sample"))->At, QPoint(1860, -200));
    EXPECT_EQ(findText(page, QStringLiteral("Resonance Measurement"))->At, QPoint(1860, -1100));
    EXPECT_EQ(findText(page, QStringLiteral("Material"))->At, QPoint(100, -200));
}

TEST(PrintoutLayout, QualityControlBlockOnlyWhenALabelShowsAVerdict) {
    SamplePage texts = samplePage();
    EXPECT_FALSE(findText(texts.layOut(false, 2000, 2870), QStringLiteral("Quality Control")));
    texts.extras.QualityControl[3] = QStringLiteral("OK");
    const PageLayout page = texts.layOut(false, 2000, 2870);
    const PageText* block = findText(page, QStringLiteral("Quality Control"));
    ASSERT_TRUE(block);
    EXPECT_EQ(block->At, QPoint(1180, -1750 - 450));
    EXPECT_EQ(findText(page, QStringLiteral("krel [%]"))->At, QPoint(1180, -1750 - 650));
    EXPECT_EQ(findText(page, QStringLiteral(": OK"))->At, QPoint(1680, -1750 - 650));
}

TEST(PrintoutLayout, GermanLabelsAndLongTextsCutToFiftyCharacters) {
    SamplePage texts = samplePage();
    texts.extras.Language = 1;
    texts.snapshot.Sample.Material = QString(60, QLatin1Char('M'));
    const PageLayout page = texts.layOut(false, 2000, 2870);
    EXPECT_TRUE(findText(page, QStringLiteral("Kleinsignalimpedanzmessung")));
    EXPECT_TRUE(findText(page, QStringLiteral("Resonanzmessung")));
    EXPECT_TRUE(findText(page, QStringLiteral(": ") + QString(50, QLatin1Char('M'))));
}

TEST(PrintoutLayout, PlotRectIsTheA4FractionOfThePage) {
    // A4 portrait at 600 dpi: 4961 x 7016 pixels.
    EXPECT_EQ(PrintoutPlotRect(false, 4961, 7016), QRect(472, 1299, 4394, 2599));
    EXPECT_EQ(PrintoutPlotRect(true, 7016, 4961), QRect(307, 1299, 4016, 3071));
}

// A measurement-like plot with two curves, drawn once for the screen at 600 x 400.
struct ScreenPlot {
    ScreenPlot() {
        ApplyFastgraph1Defaults(graph);
        SetUpMeasurementPlot(graph, 0x0000FF, 2, 0xFF0000, 2);
        graph.resize(600, 400);
        for (int i = 0; i <= 100; ++i) {
            graph.store().AddPoint(1, 1000 + i * 100, 100 + i * 10);
            graph.store().AddPoint(2, 1000 + i * 100, -90 + i);
        }
        graph.XAxis.setMin(1000);
        graph.XAxis.setMax(11000);
        QImage screen(600, 400, QImage::Format_RGB32);
        QPainter painter(&screen);
        graph.DrawGraph(painter, QRect(1, 1, 599, 399));
    }
    TFastGraph graph;
};

TEST(PrintoutPdf, PlotLabelsKeepTheirScreenSizeOnA600DpiPageAndTheScreenStateStays) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plot.pdf"));
    ScreenPlot plot;
    const int left = plot.graph.PlotLeft, right = plot.graph.PlotRight;
    const double xScale = plot.graph.XAxis.Scale, yScale = plot.graph.YAxis.Scale;

    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(600);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    const QRect rect = PrintoutPlotRect(false, printer.width(), printer.height());
    DrawPlotInScreenUnits(painter, plot.graph, rect, 600.0 / 96, 600.0 / 96);
    ASSERT_TRUE(painter.end());

    EXPECT_EQ(plot.graph.PlotLeft, left);
    EXPECT_EQ(plot.graph.PlotRight, right);
    EXPECT_EQ(plot.graph.XAxis.Scale, xScale);
    EXPECT_EQ(plot.graph.YAxis.Scale, yScale);

    const std::vector<test::PdfWord> words = test::PdfWords(path);
    // Labels of 15 screen pixels are 15 / 96 inch = 11.25 pt; the 16 pt title stays 16 pt.
    const test::PdfWord axisTitle = test::FindPdfWord(words, QStringLiteral("Frequency"));
    ASSERT_FALSE(axisTitle.text.isEmpty());
    EXPECT_NEAR(axisTitle.yMax - axisTitle.yMin, 11.25 * 1.15, 2.5);
    const test::PdfWord plotTitle = test::FindPdfWord(words, QStringLiteral("Coupling"));
    ASSERT_FALSE(plotTitle.text.isEmpty());
    EXPECT_NEAR(plotTitle.yMax - plotTitle.yMin, 16 * 1.15, 3.5);
    // The title stands above the plot, inside the rectangle of 186 x 110 mm at 55 mm.
    const double mm = 72 / 25.4;
    EXPECT_GT(plotTitle.yMin, 55 * mm - 5);
    EXPECT_LT(plotTitle.yMax, 110 * mm);
}

TEST(PrintoutPdf, PageTextsStandWhereTheLayoutPutsThemInMillimetres) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QPainter painter(&printer);
    const double unit = printer.logicalDpiX() / 254.0;
    DrawPrintoutPage(
        painter,
        samplePage().layOut(false, int(printer.width() / unit), int(printer.height() / unit)), unit,
        unit);
    ASSERT_TRUE(painter.end());

    const test::PdfInfo info = test::ReadPdfInfo(path);
    EXPECT_EQ(info.pages, 1);
    EXPECT_TRUE(info.pageSize.contains(QStringLiteral("A4"))) << info.pageSize.toStdString();
    const std::vector<test::PdfWord> words = test::PdfWords(path);
    const test::PdfWord material = test::FindPdfWord(words, QStringLiteral("Material"));
    const test::PdfWord geometry = test::FindPdfWord(words, QStringLiteral("Ring"));
    ASSERT_FALSE(material.text.isEmpty());
    ASSERT_FALSE(geometry.text.isEmpty());
    const double mm = 72 / 25.4;
    // "Material" 20 mm below the top, the geometry 180 mm: 160 mm apart, 5 mm tall.
    EXPECT_NEAR(geometry.yMin - material.yMin, 160 * mm, 1.5);
    EXPECT_NEAR(material.yMax - material.yMin, 5 * mm, 1.5);
    EXPECT_NEAR(geometry.xMin - material.xMin, 2 * mm, 0.5);
}

TEST(PrintJob, ReplacesAPdfOnlyWhenThePageIsComplete) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.pdf"));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier printout");
    old.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    {
        PrintJob job(printer);
        QPainter painter;
        ASSERT_TRUE(job.begin(painter));
        painter.drawText(100, 100, QStringLiteral("unfinished"));
        // The job ends without finish(), as when drawing the page fails.
        painter.end();
    }
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("earlier printout"));
    kept.close();
    EXPECT_EQ(printer.outputFileName(), path);

    PrintJob job(printer);
    QPainter painter;
    ASSERT_TRUE(job.begin(painter));
    painter.drawText(100, 100, QStringLiteral("complete"));
    ASSERT_TRUE(job.finish(painter)) << job.error().toStdString();
    EXPECT_TRUE(test::PdfText(path).contains(QStringLiteral("complete")));
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files, QStringList{QStringLiteral("out.pdf")}) << files.join(' ').toStdString();
}

TEST(PrintJob, UnwritableFolderOrNoPrinterIsAnErrorNotASuccess) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("/nonexistent-folder/out.pdf"));
    PrintJob job(printer);
    QPainter painter;
    EXPECT_FALSE(job.begin(painter));
    EXPECT_TRUE(job.error().contains(QStringLiteral("/nonexistent-folder/out.pdf")));
    EXPECT_FALSE(painter.isActive());

    QTemporaryDir dir;
    printer.setOutputFileName(dir.path());
    PrintJob intoFolder(printer);
    EXPECT_FALSE(intoFolder.begin(painter));
    EXPECT_FALSE(intoFolder.error().isEmpty());
}

TEST(PrintJob, ProtocolLinesGoOntoAsManyPagesAsTheyNeed) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("protocol.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("line%1\t12.5\t0.33").arg(i);
    PrintJob job(printer);
    QPainter painter;
    ASSERT_TRUE(job.begin(painter));
    PrintTextLines(painter, printer, lines, QStringLiteral("Courier New"), 8);
    ASSERT_TRUE(job.finish(painter));
    EXPECT_GE(test::ReadPdfInfo(path).pages, 2);
    const QString text = test::PdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("line1 ")));
    EXPECT_TRUE(text.contains(QStringLiteral("line200")));
}

} // namespace
} // namespace ymt
