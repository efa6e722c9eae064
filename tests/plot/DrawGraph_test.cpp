// Drawing of the plot component: plot rectangle, axis texts, curves and their clipping, the
// screen overlay, and the four plot instances rendered with a synthetic spectrum.
#include "PlotTestSupport.h"

#include "plot/PlotInstances.h"
#include "plot/PlotMarkers.h"
#include "plot/curves/AxisScale.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>

namespace ymt {
namespace {

using test::RecordingDevice;
using RecordedTextList = std::vector<test::RecordedText>;

QImage render(TFastGraph& graph, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    graph.DrawGraph(painter, QRect(0, 0, width, height));
    return image;
}

void recordInto(TFastGraph& graph, RecordingDevice& device, int width, int height) {
    QPainter painter(&device);
    graph.DrawGraph(painter, QRect(0, 0, width, height));
}

// A plot with fixed linear axes 0..100 and the instances' font (c = 15).
void linearPlot(TFastGraph& graph) {
    ApplyTmpgraphDefaults(graph);
    graph.XAxis.setMax(100);
    graph.XAxis.setMin(0);
    graph.YAxis.setMin(0);
    graph.YAxis.setMax(100);
    graph.Y2Axis.setMin(0);
}

TEST(PlotRectangle, MarginsComeFromTheCharacterHeight) {
    TFastGraph graph;
    linearPlot(graph);
    render(graph, 800, 600);
    EXPECT_EQ(graph.PlotLeft, 45);
    EXPECT_EQ(graph.PlotTop, 30);
    EXPECT_EQ(graph.PlotRight, 755);
    EXPECT_EQ(graph.PlotBottom, 555);

    graph.Y2Axis.setVisible(false);
    graph.XAxis.setVisible(false);
    render(graph, 800, 600);
    EXPECT_EQ(graph.PlotRight, 797);
    EXPECT_EQ(graph.PlotBottom, 597);

    graph.YAxis.setCentered(true);
    graph.XAxis.setVisible(true);
    graph.XAxis.setCentered(true);
    render(graph, 800, 600);
    EXPECT_EQ(graph.PlotLeft, 18);
    EXPECT_EQ(graph.PlotBottom, 582);
}

TEST(PlotRectangle, ScreenDrawsOnePixelInAndOnePixelSmaller) {
    TFastGraph graph;
    linearPlot(graph);
    graph.resize(800, 600);
    const QImage grabbed = graph.grab().toImage();
    EXPECT_EQ(graph.PlotRight, 799 - 45);
    EXPECT_EQ(graph.PlotBottom, 599 - 45);
    // The plot's white background starts at (1, 1); column 0 keeps the panel colour.
    EXPECT_EQ(grabbed.pixelColor(1, 300), QColor(Qt::white));
    EXPECT_NE(grabbed.pixelColor(0, 300), QColor(Qt::white));
}

TEST(AxisTexts, LinearLabelsSitUnderTheirTicksAndTitlesInPlace) {
    TFastGraph graph;
    linearPlot(graph);
    RecordingDevice device(800, 600);
    recordInto(graph, device, 800, 600);
    // Extent 800 with a 15 px font: the x axis steps by 10 over 710 px (7.1 px per unit).
    const auto fifty = device.textsEqual(QStringLiteral("50"));
    ASSERT_FALSE(fifty.empty());
    const auto xTitle = device.textsEqual(QStringLiteral("X-axis"));
    ASSERT_EQ(xTitle.size(), 1u);
    EXPECT_NEAR(xTitle[0].rotation, 0, 1e-9);
    const auto yTitle = device.textsEqual(QStringLiteral("Y-axis"));
    ASSERT_EQ(yTitle.size(), 1u);
    EXPECT_NEAR(yTitle[0].rotation, -90, 1e-9); // runs upwards
    const auto y2Title = device.textsEqual(QStringLiteral("Y2-axis"));
    ASSERT_EQ(y2Title.size(), 1u);
    EXPECT_NEAR(y2Title[0].rotation, 90, 1e-9); // runs downwards
    // The rotated titles hang from x = PlotLeft - 40 and PlotRight + 40.
    EXPECT_GT(yTitle[0].baseline.x(), 5);
    EXPECT_LT(yTitle[0].baseline.x(), 5 + 20);
    EXPECT_LT(y2Title[0].baseline.x(), 795);
    EXPECT_GT(y2Title[0].baseline.x(), 795 - 20);
    EXPECT_NEAR(graph.XAxis.Scale, 7.1, 1e-9);
    EXPECT_NEAR(graph.XAxis.MajorStep, 10, 1e-12);
}

TEST(AxisTexts, UnusableLimitsShowTheIncorrectTextsAndNoTicks) {
    TFastGraph graph;
    ApplyFastgraph1Defaults(graph);
    graph.XAxis.setLog(true);
    graph.XAxis.setMin(0);
    graph.YAxis.setLog(true);
    graph.store().setVisible(1, true);
    graph.store().AddPoint(1, 50, -3); // nothing a log axis can show
    graph.Y2Axis.setAutoscale(false);
    graph.Y2Axis.setMin(5);
    graph.Y2Axis.setMax(5);
    RecordingDevice device(800, 600);
    recordInto(graph, device, 800, 600);
    EXPECT_EQ(device.textsEqual(QStringLiteral("X - Min And/or Max Incorrect")).size(), 1u);
    EXPECT_EQ(device.textsEqual(QStringLiteral("Y - Min And/or Max Incorrect")).size(), 1u);
    EXPECT_EQ(device.textsEqual(QStringLiteral("Y2 - Min And/or Max Incorrect")).size(), 1u);
    EXPECT_TRUE(device.textsEqual(QStringLiteral("Frequency [kHz]")).empty());
    // Only the three texts and the plot title are drawn: no tick labels.
    EXPECT_EQ(device.engine().texts.size(), 4u);
}

TEST(AxisTexts, AnEmptyPlotShowsItsFrameAndTitlesButNoIncorrectText) {
    TFastGraph graph;
    ApplyFastgraph1Defaults(graph);
    SetUpMeasurementPlot(graph, 0x0000FF, 2, 0xFF0000, 2); // visible curves, no points yet
    RecordingDevice device(800, 600);
    recordInto(graph, device, 800, 600);
    for (const RecordedTextList::value_type& t : device.engine().texts)
        EXPECT_FALSE(t.text.contains(QStringLiteral("Incorrect"))) << t.text.toStdString();
    EXPECT_EQ(device.textsEqual(QStringLiteral("|Z|")).size(), 1u);
    EXPECT_EQ(device.textsEqual(QStringLiteral("theta [°]")).size(), 1u);
    EXPECT_EQ(device.textsEqual(QStringLiteral("Frequency [kHz]")).size(), 1u);
    // The limits keep their empty values for those who read them.
    EXPECT_EQ(graph.YAxis.Min(), 1e301);
}

TEST(AxisTexts, NoLabelCoversAnotherAndTheCornerLabelsStayInTheirOwnSpace) {
    // A window ending at 3100 kHz: its last label and the right axis' bottom label meet in
    // the corner; the right axis holds signed labels with decimals.
    TFastGraph graph;
    ApplyFastgraph1Defaults(graph);
    SetUpMeasurementPlot(graph, 0x0000FF, 2, 0xFF0000, 2);
    graph.XAxis.setMin(2900);
    graph.XAxis.setMax(3100);
    for (int i = 0; i <= 100; ++i) {
        graph.store().AddPoint(1, 2900 + 2 * i, 1 + i);
        graph.store().AddPoint(2, 2900 + 2 * i, -0.0123 + 0.000994 * i);
    }
    RecordingDevice device(818, 591);
    recordInto(graph, device, 818, 591);
    const QFontMetrics metrics(graph.font(), &device);
    std::vector<QRectF> boxes;
    for (const test::RecordedText& t : device.engine().texts) {
        if (t.text == graph.Title() || t.text.contains(QLatin1Char('[')) || t.text == "|Z|")
            continue;
        const double w = metrics.horizontalAdvance(t.text);
        const QPointF p = t.baseline;
        if (t.rotation > 45) // the right axis: tops face right, text runs down
            boxes.emplace_back(QPointF(p.x() - metrics.descent(), p.y()),
                               QPointF(p.x() + metrics.ascent(), p.y() + w));
        else if (t.rotation < -45)
            boxes.emplace_back(QPointF(p.x() - metrics.ascent(), p.y() - w),
                               QPointF(p.x() + metrics.descent(), p.y()));
        else
            boxes.emplace_back(QPointF(p.x(), p.y() - metrics.ascent()),
                               QPointF(p.x() + w, p.y() + metrics.descent()));
    }
    ASSERT_GT(boxes.size(), 10u);
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(boxes[i]
                             .adjusted(0.5, 0.5, -0.5, -0.5)
                             .intersects(boxes[j].adjusted(0.5, 0.5, -0.5, -0.5)))
                << device.engine().texts[i].text.toStdString() << " / "
                << device.engine().texts[j].text.toStdString();
    EXPECT_EQ(device.textsEqual(QStringLiteral("3100")).size(), 1u);
}

TEST(AxisTexts, LogXAxisShowsItsDecadeLabels) {
    TFastGraph graph;
    ApplyFastgraph1Defaults(graph);
    graph.XAxis.setLog(true);
    RecordingDevice device(1600, 1000);
    recordInto(graph, device, 1600, 1000);
    for (const char* label : {"0.1", "1", "10", "100", "1000", "10000", "100000"})
        EXPECT_EQ(device.textsEqual(QString::fromLatin1(label)).size(), 1u) << label;
    EXPECT_TRUE(device.textsEqual(QStringLiteral("0.01")).empty());
}

TEST(Curves, PixelsOfADrawnCurveHaveItsColour) {
    TFastGraph graph;
    linearPlot(graph);
    graph.store().setVisible(5, true);
    graph.store().setColor(5, 0x00FF00);
    graph.store().AddPoint(5, 10, 50);
    graph.store().AddPoint(5, 90, 50);
    const QImage image = render(graph, 400, 300);
    // y = 50 on 0..100 over PlotTop 30..PlotBottom 255: 255 - Round(112.5) = 143.
    const int row = graph.PlotBottom - RoundHalfEven(50 * graph.YAxis.Scale);
    EXPECT_EQ(row, 143);
    EXPECT_EQ(image.pixelColor(200, row), QColor(0, 255, 0));
    EXPECT_NE(image.pixelColor(200, row - 5), QColor(0, 255, 0));
}

// Two-pixel curves take a faster path than the wide pen; they must cover the same rows and
// columns as a 2-pixel QPen does.
TEST(Curves, TwoPixelCurvesCoverWhatATwoPixelPenCovers) {
    TFastGraph graph;
    linearPlot(graph);
    Curve* curve = graph.store().mutableCurve(6);
    curve->Visible = true;
    curve->Width = 2;
    curve->Color = 0xFF0000;
    graph.store().AddPoint(6, 10, 50);
    graph.store().AddPoint(6, 50, 50);
    graph.store().AddPoint(6, 50, 90);
    const QImage image = render(graph, 400, 300);
    const QPoint corner(MapAscending(50, 0, graph.XAxis.Scale, graph.PlotLeft),
                        MapDescending(50, 0, graph.YAxis.Scale, graph.PlotBottom));
    QImage reference(400, 300, QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter painter(&reference);
        painter.setPen(QPen(Qt::blue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(corner - QPoint(100, 0), corner);
        painter.drawLine(corner, corner - QPoint(0, 60));
    }
    const auto covered = [](const QImage& picture, QPoint at) {
        return picture.pixelColor(at) == QColor(Qt::blue);
    };
    for (int dy = -3; dy <= 3; ++dy) // across the horizontal piece
        EXPECT_EQ(covered(image, corner + QPoint(-50, dy)),
                  covered(reference, corner + QPoint(-50, dy)))
            << dy;
    for (int dx = -3; dx <= 3; ++dx) // across the vertical piece
        EXPECT_EQ(covered(image, corner + QPoint(dx, -30)),
                  covered(reference, corner + QPoint(dx, -30)))
            << dx;
    EXPECT_TRUE(covered(image, corner + QPoint(-50, 0)));
}

// On an image the 2-pixel curves are widened in a mask rather than stamped four times; with a
// clip the stamping stays, and the picture must not change by a pixel. The curves differ in
// extent (the mask is reused), are cut by the window and broken by a point no axis shows.
TEST(Curves, TwoPixelCurvesWidenedOnAnImageEqualTheStampedOnes) {
    TFastGraph graph;
    ApplyQgraphDefaults(graph);
    SetUpComparisonPlot(graph, 2);
    graph.XAxis.setMin(120);
    graph.XAxis.setMax(330);
    for (int n = 1; n <= 5; n += 2) {
        graph.store().setVisible(n, true);
        test::AddSyntheticSpectrum(graph.store(), n, n + 1, 3000, 40 * n, 240 + 40 * n);
    }
    graph.store().setY(3, 1500, -1);
    const auto draw = [&](bool clipped) {
        QImage image(600, 500, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        painter.translate(3, 2);
        if (clipped)
            painter.setClipRect(QRect(-3, -2, 600, 500));
        graph.DrawGraph(painter, QRect(0, 0, 594, 496));
        return image;
    };
    EXPECT_TRUE(draw(false) == draw(true));
}

TEST(Curves, PointsALogAxisCannotShowBreakTheLine) {
    TFastGraph graph;
    linearPlot(graph);
    graph.YAxis.setLog(true);
    graph.YAxis.setMin(1);
    graph.store().setVisible(5, true);
    graph.store().setColor(5, 0x0000FF);
    for (const auto& [x, y] :
         {std::pair{10.0, 10.0}, {30.0, 10.0}, {50.0, 0.0}, {70.0, 10.0}, {90.0, 10.0}})
        graph.store().AddPoint(5, x, y);
    const QImage image = render(graph, 400, 300);
    const int row = graph.PlotBottom - RoundHalfEven(1 * graph.YAxis.Scale);
    const auto columnOf = [&](double x) {
        return RoundHalfEven(x * graph.XAxis.Scale) + graph.PlotLeft;
    };
    const QColor red(255, 0, 0);
    EXPECT_EQ(image.pixelColor(columnOf(20), row), red);
    EXPECT_EQ(image.pixelColor(columnOf(80), row), red);
    EXPECT_NE(image.pixelColor(columnOf(50), row), red);
}

TEST(Curves, SegmentsToPointsOutsideTheWindowReachThePlotsEdge) {
    TFastGraph graph;
    linearPlot(graph);
    graph.XAxis.setMin(20);
    graph.XAxis.setMax(80);
    graph.store().setVisible(1, true);
    graph.store().AddPoint(1, 0, 20);   // left of the window
    graph.store().AddPoint(1, 50, 200); // above YAxis.Max
    graph.store().AddPoint(1, 100, 20); // right of the window
    RecordingDevice device(400, 300);
    recordInto(graph, device, 400, 300);
    // Two pieces: from the left edge up to the top edge, and from the top edge down to the
    // right edge.
    ASSERT_EQ(device.engine().polylines.size(), 2u);
    const QPolygonF& rising = device.engine().polylines[0];
    const QPolygonF& falling = device.engine().polylines[1];
    EXPECT_EQ(rising.first().x(), graph.PlotLeft);
    EXPECT_EQ(rising.last().y(), graph.PlotTop);
    EXPECT_EQ(falling.first().y(), graph.PlotTop);
    EXPECT_EQ(falling.last().x(), graph.PlotRight);
    // At x = 20 the line from (0, 20) to (50, 200) is at y = 92.
    EXPECT_EQ(rising.first().y(), graph.PlotBottom - RoundHalfEven(92 * graph.YAxis.Scale));
}

// Autoscaled limits are the data's extremes, so the curve touches the frame there: it is drawn
// over the frame, not hidden under it.
TEST(Curves, ACurveAtItsAxisLimitsShowsOverTheFrame) {
    TFastGraph graph;
    linearPlot(graph);
    graph.YAxis.setAutoscale(true);
    CurveStore& store = graph.store();
    store.setVisible(1, true);
    store.setColor(1, 0x00FF00);
    store.setWidth(1, 2);
    for (const auto& [x, y] : {std::pair{0.0, 10.0}, {40.0, 90.0}, {60.0, 90.0}, {100.0, 10.0}})
        store.AddPoint(1, x, y);
    const QImage image = render(graph, 400, 300);
    const int x = graph.PlotLeft + RoundHalfEven(50 * graph.XAxis.Scale);
    EXPECT_EQ(image.pixelColor(x, graph.PlotTop), QColor(0, 255, 0));
    // The last point, on the right frame.
    EXPECT_EQ(image.pixelColor(graph.PlotRight, graph.PlotBottom), QColor(0, 255, 0));
}

// A window between two measured points (or a zoom deeper than their spacing) shows the
// segment that crosses it, from edge to edge.
TEST(Curves, AWindowBetweenTwoPointsShowsTheSegmentCrossingIt) {
    TFastGraph graph;
    linearPlot(graph);
    graph.XAxis.setMin(40);
    graph.XAxis.setMax(41);
    graph.YAxis.setAutoscale(true);
    graph.store().setVisible(1, true);
    graph.store().AddPoint(1, 0, 10);
    graph.store().AddPoint(1, 100, 110);
    RecordingDevice device(400, 300);
    recordInto(graph, device, 400, 300);
    ASSERT_EQ(device.engine().polylines.size(), 1u);
    const QPolygonF& line = device.engine().polylines[0];
    EXPECT_EQ(line.first(), QPointF(graph.PlotLeft, graph.PlotBottom));
    EXPECT_EQ(line.last(), QPointF(graph.PlotRight, graph.PlotTop));
}

// On a log frequency axis a full sweep (0.04-110000 kHz, with the points read around the
// resonance) shows the resonance and the anti-resonance apart where the decades put them; on
// the linear axis both lie within the first three columns.
TEST(Curves, AFullSweepOnALogFrequencyAxisShowsItsResonancesApart) {
    TFastGraph graph;
    ApplyFastgraph1Defaults(graph);
    SetUpMeasurementPlot(graph, 0x0000FF, 1, 0xFF0000, 0);
    test::AddSyntheticSpectrum(graph.store(), 1, 2, 401, 0.04, 5000);
    test::AddSyntheticSpectrum(graph.store(), 1, 2, 401, 150, 300);
    test::AddSyntheticSpectrum(graph.store(), 1, 2, 401, 5000, 110000);
    graph.store().SortCurve(1);
    graph.XAxis.setLog(true);
    const QImage image = render(graph, 1600, 1000);
    const double width = graph.PlotRight - graph.PlotLeft;
    const int at =
        graph.PlotLeft + RoundHalfEven(std::log10(200 / 0.04) / std::log10(110000 / 0.04) * width);
    // The lowest and the highest red pixel within 20 columns of 200 kHz.
    int top = image.height(), bottom = -1, topX = -1, bottomX = -1;
    for (int y = graph.PlotTop; y <= graph.PlotBottom; ++y)
        for (int x = at - 20; x <= at + 20; ++x)
            if (image.pixelColor(x, y) == QColor(255, 0, 0)) {
                if (y < top)
                    top = y, topX = x;
                if (y > bottom)
                    bottom = y, bottomX = x;
            }
    EXPECT_NEAR(bottomX, at, 1); // |Z| minimum at 200 kHz
    // The maximum near 214.5 kHz: log10(214.5 / 200) of a decade further right.
    EXPECT_NEAR(topX - bottomX, std::log10(214.5 / 200) / std::log10(110000 / 0.04) * width, 2);
    EXPECT_GE(topX - bottomX, 5);
    EXPECT_GT(bottom - top, 200); // the dip and the peak span much of the plot's height
    // The f(min) marker line stands on the dip.
    EXPECT_NEAR(MarkerX(graph, 200), bottomX, 1);

    graph.XAxis.setLog(false);
    EXPECT_LE(MarkerX(graph, 214.5) - graph.PlotLeft, 3);
}

TEST(Curves, SegmentsBetweenBreaksGoOutAsOnePolylineEach) {
    TFastGraph graph;
    linearPlot(graph);
    graph.store().setVisible(1, true);
    for (int i = 0; i <= 100; ++i)
        graph.store().AddPoint(1, i, i == 40 ? -5.0 : i * 0.5);
    RecordingDevice device(800, 600);
    recordInto(graph, device, 800, 600);
    // The point below the window splits the curve; each piece runs on to the bottom edge.
    ASSERT_EQ(device.engine().polylines.size(), 2u);
    EXPECT_EQ(device.engine().polylines[0].size(), 41);
    EXPECT_EQ(device.engine().polylines[0].last().y(), graph.PlotBottom);
    EXPECT_EQ(device.engine().polylines[1].size(), 61);
    EXPECT_EQ(device.engine().polylines[1].first().y(), graph.PlotBottom);
}

TEST(Curves, NonFiniteValuesLiftThePenAndLeaveTheAxisUsable) {
    TFastGraph graph;
    ApplyFastgraph1Defaults(graph);
    SetUpMeasurementPlot(graph, 0x0000FF, 1, 0xFF0000, 0);
    graph.YAxis.setLog(false);
    graph.XAxis.setMin(0);
    graph.XAxis.setMax(100);
    for (int i = 0; i <= 100; ++i)
        graph.store().AddPoint(1, i, i == 50 ? -std::numeric_limits<double>::infinity() : i);
    RecordingDevice device(800, 600);
    recordInto(graph, device, 800, 600);
    EXPECT_TRUE(device.textsEqual(QStringLiteral("Y - Min And/or Max Incorrect")).empty());
    EXPECT_EQ(graph.YAxis.Min(), 0);
    EXPECT_EQ(graph.YAxis.Max(), 100);
    ASSERT_EQ(device.engine().polylines.size(), 2u);
    EXPECT_EQ(device.engine().polylines[0].size(), 50);
    EXPECT_EQ(device.engine().polylines[1].size(), 50);
}

TEST(Curves, APointWithoutDrawnNeighboursGetsAPointMark) {
    TFastGraph graph;
    linearPlot(graph);
    graph.store().setVisible(5, true);
    graph.store().setColor(5, 0x0000FF);
    graph.store().AddPoint(5, 50, 50);
    graph.store().AddPoint(5, 60, std::nan("")); // no neighbour to join
    const QImage image = render(graph, 400, 300);
    const QPoint at(MapAscending(50, 0, graph.XAxis.Scale, graph.PlotLeft),
                    MapDescending(50, 0, graph.YAxis.Scale, graph.PlotBottom));
    int red = 0;
    for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy)
            red += image.pixelColor(at + QPoint(dx, dy)) == QColor(255, 0, 0);
    EXPECT_GE(red, 8); // the outline of a 5 x 5 square
}

TEST(Overlay, CursorLineAndBandDoNotRedrawThePlot) {
    TFastGraph graph;
    linearPlot(graph);
    graph.resize(400, 300);
    graph.show();
    QApplication::processEvents();
    const int drawn = graph.screenDrawCount();
    ASSERT_GE(drawn, 1);
    graph.setCursorLine(100);
    QApplication::processEvents();
    graph.setBand(80, 200);
    QApplication::processEvents();
    graph.clearBand();
    graph.clearCursorLine();
    QApplication::processEvents();
    EXPECT_EQ(graph.screenDrawCount(), drawn);
    graph.replot();
    QApplication::processEvents();
    EXPECT_EQ(graph.screenDrawCount(), drawn + 1);
}

TEST(Overlay, CursorLineAndBandInvertThePicture) {
    TFastGraph graph;
    linearPlot(graph);
    graph.resize(400, 300);
    graph.setCursorLine(100);
    graph.setBand(200, 260);
    const QImage image = graph.grab().toImage();
    const int middle = (graph.PlotTop + graph.PlotBottom) / 2;
    EXPECT_EQ(image.pixelColor(100, middle), QColor(Qt::black)); // white background inverted
    EXPECT_EQ(image.pixelColor(230, middle), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(150, middle), QColor(Qt::white));
}

TEST(AfterPaint, RunsAfterTheFrameWithTheDrawingPainter) {
    TFastGraph graph;
    linearPlot(graph);
    int calls = 0;
    graph.OnAfterPaint = [&](TFastGraph& sender, QPainter& painter) {
        ++calls;
        EXPECT_EQ(&sender, &graph);
        EXPECT_FALSE(sender.drawingForScreen());
        painter.fillRect(QRect(0, 0, 5, 5), Qt::blue);
    };
    const QImage image = render(graph, 200, 150);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::blue));
}

TEST(Markers, MinAndMaxLinesSitAtTheirFrequenciesWithTheirTextsBesideThem) {
    TFastGraph graph;
    linearPlot(graph);
    graph.resize(400, 300);
    graph.grab(); // the screen draws one pixel in
    RecordingDevice device(400, 300);
    {
        QPainter painter(&device);
        DrawMarkersAndPrompt(graph, painter, 25, 75, true, QStringLiteral("Please wait"));
    }
    // The line at 25 lies on the pixel the curves put 25 on.
    EXPECT_EQ(MarkerX(graph, 25), 1 + graph.PlotLeft + RoundHalfEven(25 * graph.XAxis.Scale));
    ASSERT_EQ(device.engine().lines.size(), 2u);
    EXPECT_EQ(device.engine().lines[0].x1(), MarkerX(graph, 75)); // MAX first
    EXPECT_EQ(device.engine().lines[1].x1(), MarkerX(graph, 25));
    EXPECT_EQ(device.engine().lines[0].y1(), 1 + graph.PlotTop);
    EXPECT_EQ(device.engine().lines[0].y2(), 1 + graph.PlotBottom + 1);
    const auto max = device.textsEqual(QStringLiteral("MAX"));
    ASSERT_EQ(max.size(), 1u);
    EXPECT_GE(max[0].baseline.x(), MarkerX(graph, 75) + 3) << "text clear of its line";
    EXPECT_EQ(device.textsEqual(QStringLiteral("MIN")).size(), 1u);
    EXPECT_EQ(device.textsEqual(QStringLiteral("Please wait")).size(), 1u);
}

TEST(Markers, EqualMarkersShowOneTextAndMarkersOutsideTheWindowNone) {
    TFastGraph graph;
    linearPlot(graph);
    graph.XAxis.setMin(10);
    render(graph, 400, 300);
    const std::vector<MarkerLabel> equal = MarkerLabels(graph, 50, 50);
    ASSERT_EQ(equal.size(), 1u);
    EXPECT_EQ(equal[0].text, QStringLiteral("MIN/MAX"));
    const std::vector<MarkerLabel> outside = MarkerLabels(graph, 50, 0); // MAX not yet picked
    ASSERT_EQ(outside.size(), 1u);
    EXPECT_EQ(outside[0].text, QStringLiteral("MIN"));
    EXPECT_TRUE(MarkerLabels(graph, 5, 150).empty());
}

// The four instances with a synthetic spectrum. Set YMT_PLOT_PNG_DIR to keep the pictures.
TEST(PlotInstances, EachInstanceDrawsItsCurvesAndAxes) {
    const QString pngDir = qEnvironmentVariable("YMT_PLOT_PNG_DIR");
    TFastGraph fastgraph1, qgraph, dauergraph, tmpgraph;
    ApplyFastgraph1Defaults(fastgraph1);
    SetUpMeasurementPlot(fastgraph1, 0x0000FF, 2, 0xFF0000, 2);
    fastgraph1.XAxis.setMin(50);
    fastgraph1.XAxis.setMax(400);
    test::AddSyntheticSpectrum(fastgraph1.store(), 1, 2, 1203);
    fastgraph1.OnAfterPaint = [](TFastGraph& g, QPainter& p) {
        DrawMarkersAndPrompt(g, p, 200, 215, true, QStringLiteral("Please click on |Z| minimum"));
    };

    ApplyQgraphDefaults(qgraph);
    SetUpComparisonPlot(qgraph, 2);
    qgraph.XAxis.setMin(50);
    qgraph.XAxis.setMax(400);
    for (int n = 1; n <= 20; n += 2) {
        qgraph.store().setVisible(n, true);
        test::AddSyntheticSpectrum(qgraph.store(), n, n + 1, 401, 50 + n, 400 + n);
    }

    ApplyDauergraphDefaults(dauergraph);
    SetUpRepeatPlot(dauergraph);
    for (int i = 0; i < 60; ++i) {
        const double temperature = 20 + i * 2.5;
        dauergraph.store().AddPoint(1, temperature, 1.2 + 0.004 * i);
        dauergraph.store().AddPoint(2, temperature, 200 - 0.05 * i);
        dauergraph.store().AddPoint(3, temperature, 215 - 0.04 * i);
    }

    ApplyTmpgraphDefaults(tmpgraph);

    const struct {
        TFastGraph* graph;
        const char* name;
        int width, height;
    } cases[] = {{&fastgraph1, "fastgraph1", 900, 560},
                 {&qgraph, "qgraph", 900, 560},
                 {&dauergraph, "dauergraph", 900, 560},
                 {&tmpgraph, "tmpgraph", 129, 43}};
    for (const auto& c : cases) {
        const QImage image = render(*c.graph, c.width, c.height);
        if (!pngDir.isEmpty())
            image.save(QDir(pngDir).filePath(QStringLiteral("%1.png").arg(c.name)));
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white)) << c.name;
    }
    // Autoscale took the exact data extremes of the visible curves.
    EXPECT_NEAR(dauergraph.XAxis.Min(), 20, 1e-12);
    EXPECT_NEAR(dauergraph.XAxis.Max(), 20 + 59 * 2.5, 1e-12);
    EXPECT_NEAR(dauergraph.Y2Axis.Min(), 200 - 0.05 * 59, 1e-9); // curves 2 and 3
    EXPECT_NEAR(dauergraph.Y2Axis.Max(), 215, 1e-12);
    EXPECT_GT(fastgraph1.YAxis.Min(), 0);
    EXPECT_LT(fastgraph1.Y2Axis.Min(), -80);
    EXPECT_GT(fastgraph1.Y2Axis.Max(), 80);
}

} // namespace
} // namespace ymt
