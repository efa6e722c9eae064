// Scale computation: tick steps, label decimals, tick positions and the value-to-pixel mapping.
#include "plot/AxisScale.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace ymt {
namespace {

constexpr double kTolerance = 1e-12;

QStringList labelsOf(const AxisDivision& division) {
    QStringList labels;
    for (const AxisTick& tick : division.Major)
        labels << tick.label;
    return labels;
}

std::vector<int> pixelsOf(const std::vector<AxisTick>& ticks) {
    std::vector<int> pixels;
    for (const AxisTick& tick : ticks)
        pixels.push_back(tick.pixel);
    return pixels;
}

AxisGeometry horizontal(int left, int right, double extent) {
    AxisGeometry g;
    g.origin = left;
    g.direction = 1;
    g.plotLength = right - left;
    g.insideLow = left;
    g.insideHigh = right;
    g.extent = extent;
    return g;
}

AxisGeometry vertical(int top, int bottom, double extent) {
    AxisGeometry g;
    g.origin = bottom;
    g.direction = -1;
    g.plotLength = bottom - top;
    g.insideLow = top;
    g.insideHigh = bottom;
    g.extent = extent;
    return g;
}

TEST(ChooseSteps, HundredOverFiveHundredPixelsWithFiftyPixelLabelsGivesTwentyAndTen) {
    const TickSteps steps = ChooseSteps(500, 50, 100);
    EXPECT_NEAR(steps.MajorStep, 20, kTolerance);
    EXPECT_NEAR(steps.MinorStep, 10, kTolerance);
}

TEST(ChooseSteps, ReversedRangeCountsByItsSizeAndSmallRangesGetSmallSteps) {
    const TickSteps reversed = ChooseSteps(500, 50, -100);
    EXPECT_NEAR(reversed.MajorStep, 20, kTolerance);
    // 0.3 units over 1000 px with 60 px labels: candidates 0.1, 0.02 (its tenth is 6.7 px)
    // and 0.05; the smallest wins.
    const TickSteps small = ChooseSteps(1000, 60, 0.3);
    EXPECT_NEAR(small.MajorStep, 0.02, 1e-15);
    EXPECT_NEAR(small.MinorStep, 0.01, 1e-15);
}

TEST(ChooseSteps, WideLabelsGiveCoarserSteps) {
    const TickSteps steps = ChooseSteps(500, 200, 100);
    EXPECT_NEAR(steps.MajorStep, 50, kTolerance);
    EXPECT_NEAR(steps.MinorStep, 10, kTolerance);
}

TEST(ChooseSteps, ZeroOrInfiniteRangeGivesNoStepsInsteadOfLooping) {
    EXPECT_EQ(ChooseSteps(500, 50, 0).MajorStep, 0);
    EXPECT_EQ(ChooseSteps(500, 50, std::numeric_limits<double>::infinity()).MajorStep, 0);
    EXPECT_GT(ChooseSteps(500, 0, 100).MajorStep, 0); // a zero label width still terminates
}

TEST(LabelDecimals, FollowTheMajorStep) {
    EXPECT_EQ(LabelDecimals(20), 0);
    EXPECT_EQ(LabelDecimals(1), 0);
    EXPECT_EQ(LabelDecimals(0.5), 1);
    EXPECT_EQ(LabelDecimals(0.2), 2);
    EXPECT_EQ(LabelDecimals(0.1), 2);
    EXPECT_EQ(LabelDecimals(0.05), 2);
    EXPECT_EQ(LabelDecimals(0.01), 3);
    EXPECT_EQ(DecadeLabelDecimals(-2), 2);
    EXPECT_EQ(DecadeLabelDecimals(3), 0);
}

TEST(RoundHalfEven, RoundsHalvesToEvenAndClampsHugeValues) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(22.5), 22);
    EXPECT_EQ(RoundHalfEven(1e300), 1000000000);
    EXPECT_EQ(RoundHalfEven(-1e300), -1000000000);
}

TEST(AxisLimitsUsable, RejectsEmptyReversedAndNonPositiveLogLimits) {
    EXPECT_TRUE(AxisLimitsUsable(0, 100, false));
    EXPECT_FALSE(AxisLimitsUsable(100, 100, false));
    EXPECT_FALSE(AxisLimitsUsable(1e301, -1e301, false));
    EXPECT_FALSE(AxisLimitsUsable(1e301, 1e-300, true));
    EXPECT_FALSE(AxisLimitsUsable(0, 100, true));
    EXPECT_TRUE(AxisLimitsUsable(-5, 100, false));
    EXPECT_FALSE(AxisLimitsUsable(-1.7e308, 1.7e308, false));
}

TEST(LinearAxis, LabelWidthTextTakesTheLongerLimitAndMaxOnATie) {
    EXPECT_EQ(LinearLabelWidthText(-1000, 5), QStringLiteral("-1000MM"));
    EXPECT_EQ(LinearLabelWidthText(0.04, 110000), QStringLiteral("110000MM"));
    EXPECT_EQ(LinearLabelWidthText(12, 99), QStringLiteral("99MM"));
}

TEST(LinearAxis, HorizontalTicksSitAtTheirPixelsWithLabels) {
    // Extent 500 and 50 px labels give steps 20 and 10; 400 px for 100 units is 4 px per unit.
    const AxisDivision d = DivideLinearAxis(0, 100, horizontal(45, 445, 500), 50);
    EXPECT_NEAR(d.Scale, 4, kTolerance);
    EXPECT_EQ(pixelsOf(d.Major), (std::vector<int>{45, 125, 205, 285, 365, 445}));
    EXPECT_EQ(labelsOf(d), (QStringList{"0", "20", "40", "60", "80", "100"}));
    ASSERT_EQ(d.Minor.size(), 11u);
    EXPECT_EQ(d.Minor.front().pixel, 45);
    EXPECT_EQ(d.Minor[1].pixel, 85);
    EXPECT_EQ(d.Minor.back().pixel, 445);
}

TEST(LinearAxis, VerticalTicksCountFromTheBottomAndSkipTicksBelowMin) {
    // -15..85 over 400 px: major ticks from 0 (the tick at -20 lies below Min), minor from -10.
    const AxisDivision d = DivideLinearAxis(-15, 85, vertical(30, 430, 500), 50);
    EXPECT_EQ(pixelsOf(d.Major), (std::vector<int>{370, 290, 210, 130, 50}));
    EXPECT_EQ(labelsOf(d), (QStringList{"0", "20", "40", "60", "80"}));
    ASSERT_FALSE(d.Minor.empty());
    EXPECT_EQ(d.Minor.front().pixel, 410);
    EXPECT_NEAR(d.Minor.front().value, -10, kTolerance);
    EXPECT_EQ(d.Minor.back().pixel, 50);
}

TEST(LinearAxis, FractionalStepsGiveDecimalLabels) {
    const AxisDivision d = DivideLinearAxis(0, 1, horizontal(45, 945, 1000), 40);
    EXPECT_NEAR(d.MajorStep, 0.05, 1e-15);
    EXPECT_EQ(d.Decimals, 2);
    ASSERT_GE(d.Major.size(), 3u);
    EXPECT_EQ(d.Major[1].label, QStringLiteral("0.05"));
    EXPECT_EQ(d.Major[2].label, QStringLiteral("0.10"));
}

TEST(LogAxis, DecadeLabelsFromPointZeroFourToHundredTenThousand) {
    const AxisDivision d = DivideLogAxis(0.04, 110000, horizontal(45, 1555, 1600));
    EXPECT_EQ(labelsOf(d), (QStringList{"0.1", "1", "10", "100", "1000", "10000", "100000"}));
    EXPECT_NEAR(d.LogMin, std::log10(0.04), kTolerance);
    EXPECT_NEAR(d.LogMax, std::log10(110000.0), kTolerance);
    EXPECT_EQ(d.MajorStep, 1);
    // The decade below the first label contributes its minor ticks 0.05..0.09 only.
    ASSERT_GE(d.Minor.size(), 5u);
    for (int k = 5; k <= 9; ++k)
        EXPECT_NEAR(d.Minor[static_cast<size_t>(k - 5)].value, k * 0.01, 1e-12);
    EXPECT_NEAR(d.Minor[5].value, 0.2, 1e-12);
    for (const AxisTick& tick : d.Minor) {
        EXPECT_GT(tick.pixel, 45);
        EXPECT_LT(tick.pixel, 1555);
    }
}

TEST(LogAxis, DecadePixelsFollowTheScale) {
    // 1..1000 over 300 px: 100 px per decade, decades at 45, 145, 245, 345.
    const AxisDivision d = DivideLogAxis(1, 1000, horizontal(45, 345, 400));
    EXPECT_EQ(pixelsOf(d.Major), (std::vector<int>{45, 145, 245, 345}));
    EXPECT_EQ(d.Minor[0].pixel, 75); // log10(2) * 100 = 30.1
    const AxisDivision v = DivideLogAxis(1, 1000, vertical(30, 330, 400));
    EXPECT_EQ(pixelsOf(v.Major), (std::vector<int>{330, 230, 130, 30}));
    EXPECT_EQ(v.Minor[0].pixel, 301); // 330 + 1 - 30.1
}

TEST(Mapping, AscendingAndDescendingAxesRoundTheDistanceFromTheLowEnd) {
    EXPECT_EQ(MapAscending(50, 0, 4, 45), 245);
    EXPECT_EQ(MapAscending(0.625, 0, 4, 45), 47); // 2.5 rounds to 2
    EXPECT_EQ(MapDescending(50, 0, 4, 430), 230);
    EXPECT_EQ(MapDescending(0.875, 0, 4, 430), 426); // 3.5 rounds to 4
}

} // namespace
} // namespace ymt
