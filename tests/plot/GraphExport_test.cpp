// Plot pictures checked by readers that are not ours (Qt's image readers, `file`, emf2svg,
// pdfinfo, Qt's SVG renderer), and the byte layout of the graph file.
#include "plot/GraphExport.h"

#include "plot/FastGraph.h"
#include "tests/plot/PlotTestSupport.h"

#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

namespace ymt {
namespace {

class PlotPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        graph_.resize(640, 400);
        graph_.setTitle(QStringLiteral("Sample 7"));
        graph_.XAxis.setTitle(QStringLiteral("Frequency [kHz]"));
        graph_.XAxis.setMin(50);
        graph_.XAxis.setMax(400);
        graph_.YAxis.setTitle(QStringLiteral("|Z| [Ohm]"));
        graph_.Y2Axis.setTitle(QStringLiteral("theta [°]"));
        graph_.YAxis.setAutoscale(true);
        graph_.Y2Axis.setAutoscale(true);
        test::AddSyntheticSpectrum(graph_.store(), 1, 2, 401);
        graph_.store().setVisible(1, true);
        graph_.store().setVisible(2, true);
        graph_.store().setAxis(2, 1);
    }
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    static QString run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return QStringLiteral("failed: ") + QString::fromUtf8(process.readAllStandardError());
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    void save(GraphImageType type, const QString& file) {
        QString error;
        ASSERT_TRUE(SaveGraphImage(graph_, type, file, &error)) << error.toStdString();
    }

    QTemporaryDir dir_;
    TFastGraph graph_;
};

TEST_F(PlotPictures, BitmapJpegAndPngOpenInQtsReadersAtThePlotsSize) {
    const struct {
        GraphImageType type;
        const char* file;
        const char* format;
    } cases[] = {{GraphImageType::Bmp, "p.bmp", "bmp"},
                 {GraphImageType::Jpeg, "p.txt", "jpeg"}, // JPEG whatever the name says
                 {GraphImageType::Png, "p.png", "png"}};
    for (const auto& c : cases) {
        save(c.type, path(c.file));
        QImageReader reader(path(c.file));
        EXPECT_EQ(reader.format(), c.format) << c.file;
        const QImage image = reader.read();
        EXPECT_EQ(image.size(), QSize(640, 400)) << c.file;
        // Not a blank picture: the curves, axes and texts are drawn.
        int drawn = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                drawn += qGray(image.pixel(x, y)) < 160;
        EXPECT_GT(drawn, 2000) << c.file;
    }
    const QString jpegType = run(QStringLiteral("file"), {path("p.txt")});
    EXPECT_TRUE(jpegType.contains(QStringLiteral("JPEG image data"))) << jpegType.toStdString();
    EXPECT_TRUE(jpegType.contains(QStringLiteral("baseline"))) << jpegType.toStdString();
    EXPECT_TRUE(jpegType.contains(QStringLiteral("components 3"))) << jpegType.toStdString();
}

TEST_F(PlotPictures, MetafileConvertsToSvgWithTheTitleAndAxisTexts) {
    save(GraphImageType::Emf, path("p.wmf"));
    EXPECT_TRUE(run(QStringLiteral("file"), {path("p.wmf")})
                    .contains(QStringLiteral("Windows Enhanced Metafile")));
    const QString svgPath = path("from-emf.svg");
    EXPECT_FALSE(run(QStringLiteral("emf2svg-conv"),
                     {QStringLiteral("-i"), path("p.wmf"), QStringLiteral("-o"), svgPath})
                     .startsWith(QStringLiteral("failed")));
    QFile svg(svgPath);
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(svg.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("Sample 7")));
    EXPECT_TRUE(text.contains(QStringLiteral("Frequency [kHz]")));
    EXPECT_GT(text.count(QStringLiteral("<path")) + text.count(QStringLiteral("<polyline")), 10);
    EXPECT_TRUE(QSvgRenderer(svgPath).isValid());
}

TEST_F(PlotPictures, SvgAndPdfOpenInIndependentReaders) {
    save(GraphImageType::Svg, path("p.svg"));
    QSvgRenderer renderer(path("p.svg"));
    EXPECT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 640, 400));

    save(GraphImageType::Pdf, path("p.pdf"));
    const QString info = run(QStringLiteral("pdfinfo"), {path("p.pdf")});
    EXPECT_TRUE(info.contains(QStringLiteral("Pages:           1"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("480 x 300 pts"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Title:           Sample 7")));
}

TEST_F(PlotPictures, AFailedPictureIsReportedAndTheOldFileStays) {
    QFile old(path("keep.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QString error;
    EXPECT_FALSE(SaveGraphImage(graph_, GraphImageType::Emf, path("no/such/folder/p.wmf"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("p.wmf")));
    EXPECT_FALSE(SaveGraphImage(graph_, GraphImageType::Png, path("no/such.png"), &error));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

TEST(GraphFileLayout, RecordSizesFollowTheFieldLists) {
    TFastGraph graph;
    graph.setTitle(QStringLiteral("Repeat"));
    graph.store().AddPoint(1, 20.5, 1.5);
    graph.store().AddPoint(1, 21.5, 1.6);
    graph.store().AddPoint(3, 20.5, 200.0);
    graph.Comments = {QStringLiteral("first"), QString(250, QLatin1Char('c'))};
    const QByteArray bytes = GraphFileBytes(graph);

    EXPECT_EQ(kGraphAxisRecordSize, 81 + 8 + 8 + 5 + 4);
    EXPECT_EQ(kGraphCurveRecordSize, 1 + 4 + 4 + 1 + 4 + 6 * 8);
    const int header = 7 + 81 + 1 + 4 * 4 + 3 * kGraphAxisRecordSize + 25 * 4;
    const int curves = 2 * kGraphCurveRecordSize + 3 * 16;
    ASSERT_EQ(bytes.size(), header + curves + 4 + 2 * 201);

    EXPECT_EQ(bytes.left(7), QByteArray("\x06"
                                        "FG1.0g"));
    EXPECT_EQ(bytes.mid(7, 7), QByteArray("\x06"
                                          "Repeat"));
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + header - 100), 2); // curve 1
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + header - 92), 1);  // curve 3
    // Curve 1's points follow its record: x then y of the first point.
    EXPECT_EQ(qFromLittleEndian<double>(bytes.constData() + header + kGraphCurveRecordSize), 20.5);
    const int comments = header + curves;
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + comments), 2);
    EXPECT_EQ(static_cast<quint8>(bytes.at(comments + 4 + 201)), 200); // cut to 200 characters
}

TEST(SpectrumSaveTypes, FilterIndexGivesTheFileKindAndMissingExtension) {
    const SpectrumSaveType text = SpectrumSaveTypeAt(1);
    EXPECT_FALSE(text.image);
    EXPECT_EQ(text.extension, QStringLiteral("txt"));
    EXPECT_FALSE(SpectrumSaveTypeAt(0).image); // outside the filter: the nearest type
    EXPECT_EQ(SpectrumSaveTypeAt(3).image, GraphImageType::Bmp);
    EXPECT_EQ(SpectrumSaveTypeAt(7).image, GraphImageType::Pdf);
    EXPECT_EQ(SpectrumSaveTypeAt(7).extension, QStringLiteral("pdf"));
    EXPECT_FALSE(SpectrumSaveTypeAt(7).csv);
    EXPECT_TRUE(SpectrumSaveTypeAt(9).csv); // the last type, CSV
    EXPECT_FALSE(SpectrumSaveTypeAt(9).image);
    EXPECT_EQ(SpectrumSaveTypeAt(9).extension, QStringLiteral("csv"));
    const SpectrumSaveType png = SpectrumSaveTypeAt(5);
    EXPECT_EQ(png.image, GraphImageType::Png);
    EXPECT_EQ(WithSaveExtension(QStringLiteral("/data/run.1/sample"), png),
              QStringLiteral("/data/run.1/sample.png"));
    EXPECT_EQ(WithSaveExtension(QStringLiteral("/data/sample.TXT"), png),
              QStringLiteral("/data/sample.TXT"));
}

} // namespace
} // namespace ymt
