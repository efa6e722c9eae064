// The axis-unit values a plot keeps between drawings: log10 on a log axis, NaN for what no axis
// can show, recomputed whenever the points or the kinds of the axes change.
#include "plot/curves/CurveUnits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace ymt;

namespace {

TEST(CurveUnits, FollowThePointsAndTheKindsOfTheAxes) {
    CurveStore store;
    store.AddPoint(2, 100, 0.5);
    store.AddPoint(2, -1, 5);
    store.AddPoint(2, 10, std::numeric_limits<double>::infinity());
    CurveUnitsCache cache;
    const std::vector<CurvePoint>& units = cache.units(2, store.curve(2), true, false);
    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(units[0].x, 2);
    EXPECT_EQ(units[0].y, 0.5);
    EXPECT_TRUE(std::isnan(units[1].x)); // not positive on the log axis
    EXPECT_EQ(units[1].y, 5);
    EXPECT_EQ(units[2].x, 1);
    EXPECT_TRUE(std::isnan(units[2].y));

    // Changed in place, past the store's operations, the points are still noticed.
    store.mutableCurve(2)->Points[0].x = 1000;
    EXPECT_EQ(cache.units(2, store.curve(2), true, false)[0].x, 3);
    EXPECT_EQ(cache.units(2, store.curve(2), true, true)[0].y, std::log10(0.5));
    store.AddPoint(2, 0.01, 100);
    const std::vector<CurvePoint>& logLog = cache.units(2, store.curve(2), true, true);
    ASSERT_EQ(logLog.size(), 4u);
    EXPECT_TRUE(std::isnan(logLog[2].y));
    EXPECT_EQ(logLog[3].x, std::log10(0.01));
    EXPECT_EQ(logLog[3].y, 2);

    // Two linear axes draw the points themselves.
    EXPECT_EQ(&cache.units(2, store.curve(2), false, false), &store.curve(2).Points);
    EXPECT_EQ(cache.units(2, store.curve(2), false, true)[1].y, std::log10(5.0));
}

} // namespace
