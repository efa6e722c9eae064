// The measurement plot with every display pair, log and linear, in the views operators use and
// the ones that used to become unreadable: no label may cover another, and every usable axis
// shows at least two labels. Set YMT_PICTURE_DIR to keep each view as a PNG.
#include "tests/app/EvaluationTestSupport.h"
#include "tests/plot/PlotTestSupport.h"

#include "evaluation/DisplayQuantities.h"
#include "evaluation/SampleDescription.h"
#include "plot/PlotInstances.h"
#include "plot/PlotMarkers.h"
#include "plot/curves/AxisScale.h"

#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using ymt::TFastGraph;

enum class View { FullRange, ResonanceWindow, NarrowImpedance, ZeroImpedance };

const char* viewName(View view) {
    switch (view) {
    case View::FullRange:
        return "full";
    case View::ResonanceWindow:
        return "resonance2kHz";
    case View::NarrowImpedance:
        return "z0.02ohm";
    case View::ZeroImpedance:
        return "zeroZ";
    }
    return "";
}

// Curves 3 and 4 as a sweep over the full span plus the two default ranges would leave them.
void fillSpectrum(TFastGraph& graph, View view) {
    if (view == View::NarrowImpedance) {
        // |Z| 5.30..5.32 ohm, theta 10..87 degrees.
        for (int i = 0; i < 401; ++i) {
            const double f = 199 + 2.0 * i / 400;
            graph.store().AddPoint(3, f, 5.30 + 0.02 * i / 400);
            graph.store().AddPoint(4, f, 10 + 77.0 * i / 400);
        }
        return;
    }
    std::vector<double> grid = ymt::test::LinearGrid(0.04, 110000, 401);
    for (const double f : ymt::test::LinearGrid(100, 300, 401))
        grid.push_back(f);
    for (const double f : ymt::test::LinearGrid(1900, 2100, 401))
        grid.push_back(f);
    std::sort(grid.begin(), grid.end());
    ymt::test::FillModelSpectrum(graph, grid);
    if (view == View::ZeroImpedance) {
        graph.store().setY(3, 500, 0);
        graph.store().setY(4, 500, 0);
    }
}

void setUpView(TFastGraph& graph, View view, int pair, bool log) {
    ymt::ApplyFastgraph1Defaults(graph);
    ymt::SetUpMeasurementPlot(graph, 0x0000FF, 2, 0xFF0000, 2);
    fillSpectrum(graph, view);
    ymt::RebuildDisplayCurves(graph.store(), pair, ymt::SampleDescription{});
    const ymt::DisplayPairTexts texts = ymt::DisplayPairCaptions(pair);
    graph.YAxis.setTitle(texts.YAxisTitle);
    graph.Y2Axis.setTitle(texts.Y2AxisTitle);
    graph.YAxis.setLog(log);
    graph.Y2Axis.setLog(log);
    const bool narrow = view == View::ResonanceWindow || view == View::NarrowImpedance;
    graph.XAxis.setMin(narrow ? 199 : 0.04);
    graph.XAxis.setMax(narrow ? 201 : 110000);
}

struct LabelBox {
    QString text;
    QRectF box;
};

// The boxes of the recorded axis labels (titles left out), from the baseline and rotation.
std::vector<LabelBox> labelBoxes(const ymt::test::RecordingDevice& device, const TFastGraph& graph,
                                 const QFontMetrics& metrics) {
    const QStringList titles{graph.Title(), graph.XAxis.Title(), graph.YAxis.Title(),
                             graph.Y2Axis.Title()};
    std::vector<LabelBox> boxes;
    for (const ymt::test::RecordedText& t :
         const_cast<ymt::test::RecordingDevice&>(device).engine().texts) {
        if (titles.contains(t.text) || t.text.contains(QStringLiteral("Incorrect")))
            continue;
        const double w = metrics.horizontalAdvance(t.text);
        const double up = metrics.ascent();
        const double down = metrics.descent();
        const QPointF p = t.baseline;
        QRectF box;
        if (t.rotation < -45) // upwards: tops face left
            box = QRectF(QPointF(p.x() - up, p.y() - w), QPointF(p.x() + down, p.y()));
        else if (t.rotation > 45) // downwards: tops face right
            box = QRectF(QPointF(p.x() - down, p.y()), QPointF(p.x() + up, p.y() + w));
        else
            box = QRectF(QPointF(p.x(), p.y() - up), QPointF(p.x() + w, p.y() + down));
        boxes.push_back({t.text, box.adjusted(0.5, 0.5, -0.5, -0.5)});
    }
    return boxes;
}

int labelsWithRotation(const ymt::test::RecordingDevice& device, const TFastGraph& graph,
                       double rotation) {
    int count = 0;
    for (const ymt::test::RecordedText& t :
         const_cast<ymt::test::RecordingDevice&>(device).engine().texts)
        count += std::abs(t.rotation - rotation) < 1 && t.text != graph.YAxis.Title() &&
                 t.text != graph.Y2Axis.Title() && t.text != graph.XAxis.Title() &&
                 t.text != graph.Title();
    return count;
}

} // namespace

TEST(PlotViews, EveryPairAndViewHasReadableAxesWithoutOverlappingLabels) {
    const QString pictures = qEnvironmentVariable("YMT_PICTURE_DIR");
    const QSize sizes[] = {{818, 591}, {1600, 1000}};
    for (const View view :
         {View::FullRange, View::ResonanceWindow, View::NarrowImpedance, View::ZeroImpedance})
        for (int pair = 1; pair <= ymt::kDisplayPairCount; ++pair)
            for (const bool log : {false, true})
                for (const QSize size : sizes) {
                    const std::string what = std::string(viewName(view)) + " pair " +
                                             std::to_string(pair) + (log ? " log " : " linear ") +
                                             std::to_string(size.width());
                    TFastGraph graph;
                    setUpView(graph, view, pair, log);
                    ymt::test::RecordingDevice device(size.width(), size.height());
                    {
                        QPainter painter(&device);
                        graph.DrawGraph(painter, QRect(QPoint(0, 0), size));
                    }
                    const QFontMetrics metrics(graph.font(), &device);
                    const std::vector<LabelBox> boxes = labelBoxes(device, graph, metrics);
                    for (size_t i = 0; i < boxes.size(); ++i)
                        for (size_t j = i + 1; j < boxes.size(); ++j)
                            EXPECT_FALSE(boxes[i].box.intersects(boxes[j].box))
                                << what << ": \"" << boxes[i].text.toStdString() << "\" and \""
                                << boxes[j].text.toStdString() << "\"";
                    EXPECT_GE(labelsWithRotation(device, graph, 0), 2) << what;
                    // A value axis whose limits are usable shows at least two labels.
                    const struct {
                        const ymt::TFastAxis& axis;
                        double rotation;
                    } valueAxes[] = {{graph.YAxis, -90}, {graph.Y2Axis, 90}};
                    for (const auto& a : valueAxes) {
                        if (!ymt::AxisLimitsUsable(a.axis.Min(), a.axis.Max(), a.axis.Log()))
                            continue;
                        EXPECT_GE(labelsWithRotation(device, graph, a.rotation), 2)
                            << what << (a.rotation < 0 ? " left" : " right");
                    }

                    if (!pictures.isEmpty()) {
                        QImage image(size, QImage::Format_RGB32);
                        image.fill(Qt::white);
                        QPainter painter(&image);
                        graph.DrawGraph(painter, image.rect());
                        ymt::DrawMarkersAndPrompt(graph, painter, 200.0, 215.0, true, {});
                        image.save(QDir(pictures).filePath(
                            QStringLiteral("%1-pair%2-%3-%4x%5.png")
                                .arg(QLatin1String(viewName(view)))
                                .arg(pair, 2, 10, QLatin1Char('0'))
                                .arg(log ? QStringLiteral("log") : QStringLiteral("lin"))
                                .arg(size.width())
                                .arg(size.height())));
                    }
                }
}
