// The plot instances of the window: their starting settings and the line widths the operator
// types, which show or hide a curve with its axis.
#include "plot/PlotInstances.h"

#include "plot/FastGraph.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

TEST(LineWidth, ZeroHidesTheCurveAndItsAxisAndAllWidthsReachTheComparisonPlot) {
    TFastGraph measurement, comparison;
    ApplyFastgraph1Defaults(measurement);
    SetUpMeasurementPlot(measurement, 0x0000FF, 2, 0xFF0000, 2);
    ApplyLineWidth(measurement, 2, 0, &comparison);
    EXPECT_FALSE(measurement.store().curve(2).Visible);
    EXPECT_FALSE(measurement.Y2Axis.Visible());
    EXPECT_TRUE(measurement.YAxis.Visible());
    EXPECT_EQ(comparison.store().curve(20).Width, 0);
    ApplyLineWidth(measurement, 1, 3, &comparison);
    EXPECT_TRUE(measurement.store().curve(1).Visible);
    EXPECT_EQ(measurement.store().curve(1).Width, 3);
    EXPECT_EQ(comparison.store().curve(1).Width, 3);
    EXPECT_EQ(comparison.store().curve(21).Width, 1); // only curves 1-20
    ApplyLineWidth(measurement, 2, 1, nullptr);
    EXPECT_TRUE(measurement.Y2Axis.Visible());
}

TEST(PlotSetUp, InstancesGetTheirStartingLimitsCurvesAndColours) {
    TFastGraph fastgraph1, qgraph, dauergraph;
    ApplyFastgraph1Defaults(fastgraph1);
    SetUpMeasurementPlot(fastgraph1, 0x123456, 0, 0xFF0000, 2);
    EXPECT_EQ(fastgraph1.XAxis.Min(), 0.04);
    EXPECT_TRUE(fastgraph1.YAxis.Log());
    EXPECT_EQ(fastgraph1.YAxis.TitleColor(), 0x0000FFu);
    EXPECT_EQ(fastgraph1.store().curve(1).Color, 0x123456u);
    EXPECT_FALSE(fastgraph1.store().curve(1).Visible);
    EXPECT_FALSE(fastgraph1.YAxis.Visible());
    EXPECT_EQ(fastgraph1.store().curve(2).Axis, 1);
    EXPECT_EQ(fastgraph1.font().pixelSize(), 15);

    ApplyQgraphDefaults(qgraph);
    SetUpComparisonPlot(qgraph, 4);
    EXPECT_FALSE(qgraph.Y2Axis.Visible());
    EXPECT_EQ(qgraph.store().curve(3).Color, 0xFF0000u);
    EXPECT_EQ(qgraph.store().curve(4).Color, 0xFF0000u);
    EXPECT_EQ(qgraph.store().curve(20).Color, 0x008080u);
    EXPECT_EQ(qgraph.store().curve(20).Width, 4);

    ApplyDauergraphDefaults(dauergraph);
    SetUpRepeatPlot(dauergraph);
    EXPECT_TRUE(dauergraph.XAxis.Autoscale());
    EXPECT_EQ(dauergraph.YAxis.Title(), QStringLiteral("Capacitance [nF]"));
    EXPECT_EQ(dauergraph.store().curve(3).Color, 0x008000u);
    EXPECT_EQ(dauergraph.store().curve(3).Axis, 1);
}

} // namespace
} // namespace ymt
