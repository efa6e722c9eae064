// Autoscaling: exact data extremes of visible curves, x window for the value axes, log rules.
#include "plot/curves/Autoscale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ymt {
namespace {

struct Axes {
    TFastAxis x{QStringLiteral("X"), 1, 100};
    TFastAxis y{QStringLiteral("Y"), 1, 100};
    TFastAxis y2{QStringLiteral("Y2"), 1, 10};
};

TEST(Autoscale, ValueAxesTakeTheExactExtremesInsideTheXWindow) {
    CurveStore store;
    Axes axes;
    axes.x.setMin(10);
    axes.x.setMax(20);
    axes.y.setAutoscale(true);
    axes.y2.setAutoscale(true);
    store.setVisible(1, true);
    store.setVisible(2, true);
    store.setAxis(2, 1);
    store.AddPoint(1, 5, -1000); // left of the window
    store.AddPoint(1, 10, 3.25); // on the edge: counts
    store.AddPoint(1, 15, -2.5);
    store.AddPoint(1, 20.5, 999); // right of the window
    store.AddPoint(2, 12, 7);
    store.AddPoint(2, 20, 8.125);
    store.AddPoint(3, 15, 1e6); // invisible
    AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_EQ(axes.y.Min(), -2.5);
    EXPECT_EQ(axes.y.Max(), 3.25);
    EXPECT_EQ(axes.y2.Min(), 7);
    EXPECT_EQ(axes.y2.Max(), 8.125);
    EXPECT_EQ(axes.x.Min(), 10); // not autoscaled
}

TEST(Autoscale, LogAxesIgnoreValuesThatAreNotPositive) {
    CurveStore store;
    Axes axes;
    axes.x.setLog(true);
    axes.x.setAutoscale(true);
    axes.y.setLog(true);
    axes.y.setAutoscale(true);
    store.setVisible(1, true);
    store.AddPoint(1, -4, 50);
    store.AddPoint(1, 0, 60);
    store.AddPoint(1, 0.5, 0);
    store.AddPoint(1, 2, -3);
    store.AddPoint(1, 8, 0.25);
    AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_EQ(axes.x.Min(), 0.5); // MinPosX
    EXPECT_EQ(axes.x.Max(), 8);
    // The raw x window 0.5..8 holds only the points at 0.5, 2 and 8, and only 0.25 counts: a
    // single value is opened to 1 % around it.
    EXPECT_DOUBLE_EQ(axes.y.Min(), 0.25 * 0.99);
    EXPECT_DOUBLE_EQ(axes.y.Max(), 0.25 * 1.01);
}

TEST(Autoscale, NonFiniteValuesTakeNoPartAndASingleValueIsOpened) {
    CurveStore store;
    Axes axes;
    axes.y.setAutoscale(true);
    axes.y2.setAutoscale(true);
    store.setVisible(1, true);
    store.setVisible(2, true);
    store.setAxis(2, 1);
    store.AddPoint(1, 10, -std::numeric_limits<double>::infinity()); // Cs where |Z| = theta = 0
    store.AddPoint(1, 20, 3.5);
    store.AddPoint(1, 30, std::nan(""));
    store.AddPoint(1, 40, -1.5);
    store.AddPoint(2, 50, 0);
    const AutoscaleOutcome outcome = AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_EQ(axes.y.Min(), -1.5);
    EXPECT_EQ(axes.y.Max(), 3.5);
    EXPECT_EQ(axes.y2.Min(), -1); // one value 0: a unit around it
    EXPECT_EQ(axes.y2.Max(), 1);
    EXPECT_FALSE(outcome.YEmpty);
    EXPECT_FALSE(outcome.Y2Empty);
}

TEST(Autoscale, AxesWithoutAnyValueAreEmptyButValuesALogAxisCannotShowAreNot) {
    CurveStore store;
    Axes axes;
    axes.y.setAutoscale(true);
    axes.y.setLog(true);
    axes.y2.setAutoscale(true);
    store.setVisible(1, true);
    store.AddPoint(1, 50, -20); // on the log axis: data that cannot be shown
    store.setVisible(2, true);
    store.setAxis(2, 1);
    store.AddPoint(2, 500, 1); // outside the x window 1..100
    const AutoscaleOutcome outcome = AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_FALSE(outcome.YEmpty);
    EXPECT_TRUE(outcome.Y2Empty);
    EXPECT_EQ(axes.y2.Min(), kAutoscaleEmptyMin);
}

// A window that holds no point shows the segment crossing it: the value axes take the
// segment's values at the window's edges, interpolated as it is drawn (in axis units).
TEST(Autoscale, AWindowBetweenTwoPointsTakesTheCrossingSegmentsValuesAtItsEdges) {
    CurveStore store;
    Axes axes;
    axes.x.setMin(40);
    axes.x.setMax(41);
    axes.y.setAutoscale(true);
    axes.y2.setAutoscale(true);
    axes.y2.setLog(true);
    store.setVisible(1, true);
    store.AddPoint(1, 0, 10);
    store.AddPoint(1, 100, 110);
    store.setVisible(2, true);
    store.setAxis(2, 1);
    store.AddPoint(2, 0, 1);
    store.AddPoint(2, 100, 1e4); // straight on the log axis: 10^(4 x / 100)
    const AutoscaleOutcome outcome = AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_FALSE(outcome.YEmpty);
    EXPECT_FALSE(outcome.Y2Empty);
    EXPECT_DOUBLE_EQ(axes.y.Min(), 50);
    EXPECT_DOUBLE_EQ(axes.y.Max(), 51);
    EXPECT_NEAR(axes.y2.Min(), std::pow(10.0, 1.6), 1e-9);
    EXPECT_NEAR(axes.y2.Max(), std::pow(10.0, 1.64), 1e-9);

    // A log x axis interpolates in decades: a deep zoom between 100 and 1000 Hz.
    axes.x.setLog(true);
    axes.x.setMin(std::sqrt(1e5) * 0.9999999);
    axes.x.setMax(std::sqrt(1e5));
    store.ClearAll();
    store.setVisible(1, true);
    store.AddPoint(1, 100, 0);
    store.AddPoint(1, 1000, 10);
    AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_NEAR(axes.y.Max(), 5, 1e-9);
    EXPECT_LT(axes.y.Min(), axes.y.Max());
    EXPECT_TRUE(AutoscaleAxes(store, axes.x, axes.y, axes.y2).Y2Empty); // no curve on y2
}

TEST(Autoscale, NoDataLeavesTheEmptyLimits) {
    CurveStore store;
    Axes axes;
    axes.x.setAutoscale(true);
    axes.y.setAutoscale(true);
    axes.y.setLog(true);
    axes.y2.setAutoscale(true);
    store.AddPoint(1, 1, 1); // invisible curve
    store.setVisible(2, true);
    store.AddPoint(2, std::nan(""), 1); // visible, but no x to show
    const AutoscaleOutcome outcome = AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_TRUE(outcome.XEmpty);
    EXPECT_EQ(axes.x.Min(), 1e301);
    EXPECT_EQ(axes.x.Max(), -1e301);
    EXPECT_EQ(axes.y.Min(), 1e301);
    EXPECT_EQ(axes.y.Max(), 1e-300);
    EXPECT_EQ(axes.y2.Max(), -1e301);
}

TEST(Autoscale, WritesLimitsWithoutRequestingARepaint) {
    CurveStore store;
    Axes axes;
    int repaints = 0;
    axes.y.setOwnerRepaint([&] { ++repaints; });
    axes.y.setAutoscale(true);
    repaints = 0;
    store.setVisible(1, true);
    store.AddPoint(1, 50, 5);
    store.AddPoint(1, 60, 7);
    AutoscaleAxes(store, axes.x, axes.y, axes.y2);
    EXPECT_EQ(axes.y.Min(), 5);
    EXPECT_EQ(repaints, 0);
}

} // namespace
} // namespace ymt
