// Scale computation: tick steps, label decimals, tick positions and the value-to-pixel mapping.
#include "plot/curves/AxisScale.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <cmath>

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
    // As many decimals as the step has, not one more.
    EXPECT_EQ(LabelDecimals(0.5), 1);
    EXPECT_EQ(LabelDecimals(0.2), 1);
    EXPECT_EQ(LabelDecimals(0.1), 1);
    EXPECT_EQ(LabelDecimals(0.05), 2);
    EXPECT_EQ(LabelDecimals(0.01), 2);
    EXPECT_EQ(LabelDecimals(0.002), 3);
    EXPECT_EQ(LabelDecimals(0.001), 3);
    EXPECT_EQ(LabelDecimals(1e-5), 5);
    EXPECT_EQ(DecadeLabelDecimals(-2), 2);
    EXPECT_EQ(DecadeLabelDecimals(3), 0);
}

TEST(LinearAxis, ZoomAroundTheResonanceLabelsWithTheStepsDecimals) {
    // 199.99..200.01 kHz: step 0.002 reads "199.990", "199.992" ...; step 0.1 reads "200.1".
    const AxisDivision fine = DivideLinearAxis(199.99, 200.01, horizontal(45, 773, 818), 60);
    EXPECT_NEAR(fine.MajorStep, 0.002, 1e-15) << labelsOf(fine).join(' ').toStdString();
    EXPECT_EQ(fine.Major.front().label, QStringLiteral("199.990"));
    const AxisDivision coarse = DivideLinearAxis(199.5, 200.5, horizontal(45, 773, 818), 60);
    EXPECT_NEAR(coarse.MajorStep, 0.1, 1e-15) << labelsOf(coarse).join(' ').toStdString();
    EXPECT_TRUE(labelsOf(coarse).contains(QStringLiteral("200.1")));
}

// 8 pixels per character, a gap of one character.
LabelMetrics eightPixelCharacters() {
    return {[](const QString& text) { return 8.0 * text.size(); }, 8};
}

// Labels of neighbouring ticks keep the metrics' gap.
void expectLabelsApart(const AxisDivision& d, const LabelMetrics& metrics) {
    for (size_t i = 1; i < d.Major.size(); ++i) {
        const double room = std::abs(d.Major[i].pixel - d.Major[i - 1].pixel);
        const double needed =
            (metrics.width(d.Major[i].label) + metrics.width(d.Major[i - 1].label)) / 2 +
            metrics.gap;
        EXPECT_GE(room, needed) << d.Major[i - 1].label.toStdString() << " and "
                                << d.Major[i].label.toStdString();
    }
}

TEST(LinearAxis, MeasuredLabelsWithDecimalsAndSignsKeepACharacterApart) {
    // The estimate counts "-0MM" only; the real labels "-0.00002" are far wider.
    const LabelMetrics metrics = eightPixelCharacters();
    const AxisDivision d =
        DivideLinearAxis(-0.0000123, 0.0000871, vertical(30, 545, 590), 32, metrics);
    ASSERT_GE(d.Major.size(), 2u);
    expectLabelsApart(d, metrics);
    // Still the finest step that fits: the next finer one would not.
    const AxisDivision finer = DivideLinearAxis(-0.0000123, 0.0000871, vertical(30, 545, 590), 32);
    EXPECT_LT(finer.MajorStep, d.MajorStep);
}

TEST(LogAxis, LessThanADecadeGetsLabelsAtTheTwoAndFiveMultiples) {
    // theta 10..87 degrees: only the decade 10 lies inside.
    const AxisDivision d = DivideLogAxis(10, 87, vertical(30, 545, 590), eightPixelCharacters());
    EXPECT_EQ(labelsOf(d), (QStringList{"10", "20", "50"}));
}

TEST(LogAxis, NarrowRangeGetsTheLabelsOfALinearAxisOnTheLogScale) {
    // |Z| 5.30..5.32 ohm: no decade and no 2 or 5 multiple inside.
    const LabelMetrics metrics = eightPixelCharacters();
    const AxisDivision d = DivideLogAxis(5.30, 5.32, vertical(30, 545, 590), metrics);
    ASSERT_GE(d.Major.size(), 2u);
    EXPECT_EQ(d.Major.front().label.left(4), QStringLiteral("5.30"));
    for (const AxisTick& tick : d.Major) {
        // Each label sits where the log scale puts its value.
        const double expected = 545 - (std::log10(tick.value) - std::log10(5.30)) * d.Scale;
        EXPECT_NEAR(tick.pixel, expected, 0.5001);
    }
    expectLabelsApart(d, metrics);
}

TEST(LogAxis, HundredsOfDecadesLabelEveryKthDecadeAndThinTheMinorTicks) {
    // A |Z| of 0 read as 1e-300: 306 decades on 515 pixels.
    const LabelMetrics metrics = eightPixelCharacters();
    const AxisDivision d = DivideLogAxis(1e-300, 1e6, vertical(30, 545, 590), metrics);
    ASSERT_GE(d.Major.size(), 2u);
    EXPECT_LE(d.Major.size(), 20u);
    expectLabelsApart(d, metrics);
    EXPECT_TRUE(labelsOf(d).contains(QStringLiteral("1E-300")));
    std::vector<int> ticks = pixelsOf(d.Major);
    const std::vector<int> minor = pixelsOf(d.Minor);
    ticks.insert(ticks.end(), minor.begin(), minor.end());
    std::sort(ticks.begin(), ticks.end());
    for (size_t i = 1; i < ticks.size(); ++i)
        EXPECT_GE(ticks[i] - ticks[i - 1], kMinimumMinorTickDistance) << "at " << ticks[i];
}

TEST(LogAxis, AFullSweepsConductanceKeepsSeveralDecadeLabels) {
    // G of a 0.04-110000 kHz sweep: 9.7 decades on 300 pixels.
    const LabelMetrics metrics = eightPixelCharacters();
    const AxisDivision d = DivideLogAxis(2.5e-10, 1.2, vertical(30, 330, 380), metrics);
    EXPECT_GE(d.Major.size(), 4u) << labelsOf(d).join(' ').toStdString();
    expectLabelsApart(d, metrics);
    // Every other decade: the labels step evenly.
    for (size_t i = 2; i < d.Major.size(); ++i)
        EXPECT_NEAR(d.Major[i].pixel - d.Major[i - 1].pixel,
                    d.Major[i - 1].pixel - d.Major[i - 2].pixel, 1);
}

TEST(LogAxis, OneAxisWritesAllItsLabelsInOneNotation) {
    // Decades from 1e-9 to 1e-3: "0.001" beside "1E-9" would be two notations.
    EXPECT_EQ(labelsOf(DivideLogAxis(1e-9, 1e-3, vertical(30, 545, 590))),
              (QStringList{"1E-9", "1E-8", "1E-7", "1E-6", "1E-5", "1E-4", "1E-3"}));
    // The 2 and 5 multiples of a narrow range far down.
    EXPECT_EQ(labelsOf(DivideLogAxis(1.5e-8, 9e-8, vertical(30, 545, 590))),
              (QStringList{"2E-8", "5E-8"}));
    // Within the short fixed texts nothing changes.
    EXPECT_EQ(labelsOf(DivideLogAxis(1e-6, 1e-3, vertical(30, 545, 590))),
              (QStringList{"0.000001", "0.00001", "0.0001", "0.001"}));
}

TEST(PlaceAxisLabels, EndLabelsMoveInsideTheirSpaceAndNoLabelCoversAnother) {
    const LabelMetrics metrics = eightPixelCharacters();
    std::vector<AxisTick> ticks{{100, 0, "3000"}, {160, 0, "3050"}, {200, 0, "3100"}};
    // "3100" (32 px) at 200 would reach 216: moved to end at 210 it would start at 178, nearer
    // than 8 px to "3050", which ends at 176.
    const auto centres = PlaceAxisLabels(ticks, metrics, 0, 210);
    ASSERT_EQ(centres.size(), 3u);
    EXPECT_EQ(centres[0], 100);
    EXPECT_EQ(centres[1], 160);
    EXPECT_FALSE(centres[2].has_value());
    const auto wide = PlaceAxisLabels(ticks, metrics, 0, 300);
    EXPECT_EQ(wide[2], 200);
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
