// Plot pictures checked by readers that are not ours (Qt's image readers, `file`, emf2svg,
// pdfinfo, Qt's SVG renderer), and the byte layout of the graph file.
#include "plot/GraphExport.h"

#include "plot/FastGraph.h"
#include "tests/plot/PlotTestSupport.h"
#include "tests/support/GermanTexts.h"

#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The header as a reader sizes the picture: the frame (0.01 mm) through the reference device
// (its pixels and millimetres) gives the plot's pixels.
TEST_F(PlotPictures, MetafileHeaderFrameHoldsThePlotsPixelsOfItsReferenceDevice) {
    save(GraphImageType::Emf, path("p.wmf"));
    QFile file(path("p.wmf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 88);
    auto field = [&bytes](int offset) {
        return qFromLittleEndian<qint32>(bytes.constData() + offset);
    };
    ASSERT_EQ(field(0), 1); // EMR_HEADER
    const double frameWidth = field(32) - field(24), frameHeight = field(36) - field(28);
    const double pixelsX = field(72), pixelsY = field(76);
    const double millimetresX = field(80), millimetresY = field(84);
    EXPECT_NEAR(frameWidth / 100 * pixelsX / millimetresX, 640, 0.5);
    EXPECT_NEAR(frameHeight / 100 * pixelsY / millimetresY, 400, 0.5);
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
    QSvgRenderer renderer(svgPath);
    EXPECT_TRUE(renderer.isValid());
    // The reader renders the picture at the size of the same plot's PNG, so that nothing of
    // the drawing (the x axis, its labels, the theta axis) lies outside it.
    EXPECT_EQ(renderer.defaultSize(), QSize(640, 400));
    EXPECT_EQ(renderer.viewBoxF(), QRectF(0, 0, 640, 400));
    // Also where the frame in 0.01 mm is no whole number (0.3125 mm a pixel).
    graph_.resize(641, 403);
    save(GraphImageType::Emf, path("odd.wmf"));
    run(QStringLiteral("emf2svg-conv"),
        {QStringLiteral("-i"), path("odd.wmf"), QStringLiteral("-o"), path("odd.svg")});
    EXPECT_EQ(QSvgRenderer(path("odd.svg")).defaultSize(), QSize(641, 403));
    graph_.resize(640, 400);
    // The right axis' title is the text nearest the picture's right edge; it lies inside.
    const qsizetype at = text.indexOf(QStringLiteral("theta"));
    ASSERT_GE(at, 0);
    const qsizetype open = text.lastIndexOf(QStringLiteral("<text"), at);
    const QString element = text.mid(open, at - open);
    const qsizetype x = element.indexOf(QStringLiteral(" x=\""));
    ASSERT_GE(x, 0) << element.toStdString();
    const double titleX = element.mid(x + 4).section(QLatin1Char('"'), 0, 0).toDouble();
    EXPECT_GT(titleX, 560);
    EXPECT_LT(titleX, renderer.viewBoxF().right());
}

// New picture files get the permissions every other file of the program gets (0666 less the
// umask), whatever their type.
TEST_F(PlotPictures, NewPicturesOfEveryTypeAreReadableByOthersAsOtherFilesAre) {
    // A file made the plain way gets 0666 less the umask.
    QFile plain(path("plain.txt"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QFile::Permissions expected = QFile::permissions(path("plain.txt"));
    const GraphImageType types[] = {GraphImageType::Emf, GraphImageType::Bmp, GraphImageType::Jpeg,
                                    GraphImageType::Png, GraphImageType::Svg, GraphImageType::Pdf};
    for (const GraphImageType type : types) {
        const QString file = path("new-%1").arg(static_cast<int>(type));
        save(type, file);
        EXPECT_EQ(QFile::permissions(file), expected) << static_cast<int>(type);
    }
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

// A full disk as the program meets it (here a child may write no more than 4 KiB into a file):
// the German operator reads which picture failed and why.
TEST_F(PlotPictures, APictureOnAFullDiskIsReportedInGerman) {
    const test::GermanTexts german;
    ASSERT_TRUE(german.loaded());
    const QString picture = path("plot.bmp");
    const QString report = path("report.txt");
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        const bool saved = SaveGraphImage(graph_, GraphImageType::Bmp, picture, &error);
        QFile out(report);
        _exit(!saved && out.open(QIODevice::WriteOnly) && out.write(error.toUtf8()) > 0 &&
                      out.flush()
                  ? 0
                  : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the picture must fail";
    QFile in(report);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QString error = QString::fromUtf8(in.readAll());
    EXPECT_TRUE(QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(picture) +
                                   QStringLiteral(": nur [0-9]+ von [0-9]+ Bytes konnten "
                                                  "geschrieben werden \\(ist der Datenträger "
                                                  "voll\\?\\)$"))
                    .match(error)
                    .hasMatch())
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(picture));
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
