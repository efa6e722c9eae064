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
