// Drag-zoom over a plot: what a press, moves and a release leave behind.
#include "plot/DragZoom.h"

#include "plot/FastGraph.h"

#include <gtest/gtest.h>

using namespace ymt;

namespace {

struct Plot {
    TFastGraph graph;
    ZoomHistory history;
    DragZoom drag{history, DragZoomBand};

    Plot() {
        graph.PlotLeft = 100;
        graph.PlotRight = 500;
        graph.XAxis.setMin(0);
        graph.XAxis.setMax(400);
    }
};

} // namespace

TEST(DragZoom, ADragGivesItsBandAndLeavesNoBandOnThePlot) {
    Plot plot;
    ASSERT_TRUE(plot.drag.press(plot.graph, 51)); // kept over the plot
    EXPECT_EQ(plot.graph.cursorLine(), 101);
    plot.drag.move(plot.graph, 301);
    EXPECT_EQ(plot.graph.band(), std::make_pair(101, 301));
    const std::optional<FrequencyBand> band = plot.drag.release(plot.graph, 301);
    ASSERT_TRUE(band);
    EXPECT_DOUBLE_EQ(band->Low, 0);
    EXPECT_DOUBLE_EQ(band->High, 200);
    EXPECT_FALSE(plot.graph.band());
    EXPECT_FALSE(plot.drag.release(plot.graph, 301)) << "one release per drag";
    plot.drag.move(plot.graph, 200);
    EXPECT_EQ(plot.graph.cursorLine(), 200) << "without a drag the cursor line follows";
}

TEST(DragZoom, NothingStartsOnAnUndrawnPlotAndACancelledDragZoomsNot) {
    Plot plot;
    plot.graph.PlotRight = plot.graph.PlotLeft;
    EXPECT_FALSE(plot.drag.press(plot.graph, 200));
    EXPECT_FALSE(plot.drag.dragging());
    plot.graph.PlotRight = 500;
    plot.drag.press(plot.graph, 150);
    plot.drag.move(plot.graph, 400);
    EXPECT_EQ(plot.drag.cancel(plot.graph, 900), 501);
    EXPECT_FALSE(plot.graph.band());
    EXPECT_FALSE(plot.drag.release(plot.graph, 400));
}

TEST(DragZoom, StepBackWalksTheHistoryToTheFullRange) {
    Plot plot;
    plot.history.resetFullRange(1, 1000);
    plot.history.push(500, 100);
    EXPECT_EQ(plot.drag.stepBack()->High, 1000);
    EXPECT_FALSE(plot.drag.stepBack());
}

// On a log frequency axis the pixels divide the decades: the middle of 1..10000 is 100, and a
// drag to the frame's right edge ends exactly at the axis maximum.
TEST(DragZoom, OnALogAxisTheBandFollowsTheDecades) {
    Plot plot;
    plot.graph.XAxis.setMin(1);
    plot.graph.XAxis.setMax(10000);
    plot.graph.XAxis.setLog(true);
    ASSERT_TRUE(plot.drag.press(plot.graph, 301));
    std::optional<FrequencyBand> band = plot.drag.release(plot.graph, 700);
    ASSERT_TRUE(band);
    EXPECT_NEAR(band->Low, 100, 1e-9);
    EXPECT_EQ(band->High, 10000);
    ASSERT_TRUE(plot.drag.press(plot.graph, 0));
    band = plot.drag.release(plot.graph, 201);
    ASSERT_TRUE(band);
    EXPECT_EQ(band->Low, 1);
    EXPECT_NEAR(band->High, 10, 1e-9);
    // A pick on the same axis reads the frequency the same way.
    EXPECT_NEAR(FrequencyAtX(401, 100, 500, 1, 10000, true), 1000, 1e-9);
    EXPECT_EQ(FrequencyAtX(401, 100, 500, 1, 10000, false), FrequencyAtX(401, 100, 500, 1, 10000));
}
