// Mouse logic of the measurement plot: zoom history, frequencies of mouse positions, clamps,
// the 5-pixel rule, the nearest measured point and the reading of typed line widths.
#include "plot/curves/GraphInteraction.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

TEST(ZoomHistory, StartsAtTheFullAnalyzerRange) {
    ZoomHistory history;
    EXPECT_EQ(history.depth(), 0);
    EXPECT_EQ(history.current().Low, 0.04);
    EXPECT_EQ(history.current().High, 110000);
    EXPECT_FALSE(history.back());
    EXPECT_EQ(history.depth(), 0);
}

TEST(ZoomHistory, FiftyOneZoomsOverwriteTheLastEntryAndFiftyBacksReturnToTheFullRange) {
    ZoomHistory history;
    for (int i = 1; i <= 51; ++i)
        history.push(1000.0 + i, static_cast<double>(i));
    EXPECT_EQ(history.depth(), 50);
    EXPECT_EQ(history.current().Low, 51);
    EXPECT_EQ(history.current().High, 1051);
    EXPECT_EQ(history.entry(49).Low, 49);
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(history.back());
    EXPECT_EQ(history.depth(), 0);
    EXPECT_EQ(history.current().Low, 0.04);
    EXPECT_FALSE(history.back());
}

TEST(ZoomHistory, ConnectingAndOpeningAFileSetTheirEntries) {
    ZoomHistory history;
    history.push(300, 100);
    history.resetFullRange(0.01, 15000);
    EXPECT_EQ(history.depth(), 0);
    EXPECT_EQ(history.current().High, 15000);
    history.setEntry(1, 400, 50);
    EXPECT_EQ(history.depth(), 1);
    EXPECT_EQ(history.current().Low, 50);
    EXPECT_TRUE(history.back());
    EXPECT_EQ(history.current().Low, 0.01);
}

TEST(FrequencyAtX, LeftEdgeOfTheScreenPlotIsExactlyXMin) {
    EXPECT_EQ(FrequencyAtX(46, 45, 755, 0.04, 110000), 0.04);
    EXPECT_NEAR(FrequencyAtX(756, 45, 755, 100, 300), 300, 1e-12);
    EXPECT_NEAR(FrequencyAtX(401, 45, 755, 100, 300), 200, 1e-12);
}

TEST(Clamps, PressMoveAndReleaseKeepTheMouseOverThePlot) {
    EXPECT_EQ(ClampPressX(10, 45, 755), 46);
    EXPECT_EQ(ClampPressX(900, 45, 755), 754);
    EXPECT_EQ(ClampPressX(45, 45, 755), 46);
    EXPECT_EQ(ClampMoveX(45, 45, 755), 46);
    EXPECT_EQ(ClampMoveX(900, 45, 755), 755);
    EXPECT_EQ(ClampReleaseX(10, 45, 755), 46);
    EXPECT_EQ(ClampReleaseX(900, 45, 755), 756);
    EXPECT_EQ(ClampReleaseX(300, 45, 755), 300);
}

TEST(FrequencyAtX, NoPositionGivesAFrequencyOutsideTheWindow) {
    // A release left of a 0.04..110000 kHz plot once gave -214.385 kHz.
    const int released = ClampReleaseX(5, 45, 558);
    EXPECT_EQ(FrequencyAtX(released, 45, 558, 0.04, 110000), 0.04);
    EXPECT_EQ(FrequencyAtX(ClampReleaseX(2000, 45, 558), 45, 558, 0.04, 110000), 110000);
    for (int x = -5; x < 600; ++x) {
        const double f = FrequencyAtX(x, 45, 558, 0.04, 110000);
        ASSERT_GE(f, 0.04) << x;
        ASSERT_LE(f, 110000) << x;
    }
}

TEST(DragZoom, BandsOfFivePixelsOrLessDoNothing) {
    EXPECT_FALSE(IsZoomBand(100, 105));
    EXPECT_FALSE(IsZoomBand(105, 100));
    EXPECT_TRUE(IsZoomBand(100, 106));
    EXPECT_FALSE(DragZoomBand(200, 205, 45, 755, 0, 710).has_value());
}

TEST(DragZoom, StopsAtAWindowWhoseLabelsStayDistinct) {
    // 200 kHz across 710 px: a millionth of the centre is 0.0002 kHz, 0.7 px at 0.2 kHz/px.
    EXPECT_DOUBLE_EQ(MinimumZoomSpan(199.9999, 200.0001), 2e-4);
    EXPECT_DOUBLE_EQ(MinimumZoomSpan(0, 0.0001), 1e-6); // never below 1 mHz
    EXPECT_TRUE(DragZoomBand(46, 746, 45, 755, 200, 200.0008).has_value());
    EXPECT_FALSE(DragZoomBand(46, 746, 45, 755, 200, 200.0002).has_value());
    EXPECT_FALSE(DragZoomBand(46, 746, 45, 755, 0.04, 0.0400009).has_value());
}

TEST(DragZoom, BothDirectionsGiveTheSameBand) {
    // 710 px for 710 kHz: 1 kHz per pixel from x = 46.
    const auto rightwards = DragZoomBand(146, 346, 45, 755, 0, 710);
    const auto leftwards = DragZoomBand(346, 146, 45, 755, 0, 710);
    ASSERT_TRUE(rightwards && leftwards);
    EXPECT_NEAR(rightwards->Low, 100, 1e-12);
    EXPECT_NEAR(rightwards->High, 300, 1e-12);
    EXPECT_EQ(leftwards->Low, rightwards->Low);
    EXPECT_EQ(leftwards->High, rightwards->High);
}

TEST(NearestPoint, FirstOfEqualDistancesWins) {
    CurveStore store;
    for (double x : {100.0, 110.0, 120.0, 130.0})
        store.AddPoint(3, x, 1);
    EXPECT_EQ(NearestPointIndex(store, 3, 114), 1);
    EXPECT_EQ(NearestPointIndex(store, 3, 115), 1); // 110 and 120 are both 5 away
    EXPECT_EQ(NearestPointIndex(store, 3, 1e6), 3);
    EXPECT_EQ(NearestPointIndex(store, 5, 100), -1); // empty curve
}

TEST(LineWidth, TypedTextReadsAsAWholeNumberWithinLimits) {
    EXPECT_EQ(ReadLineWidth(QStringLiteral("2")), 2);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("300")), 1);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("-5")), 1);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("3x")), 3);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("  +7")), 7);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("abc")), 0);
    EXPECT_EQ(ReadLineWidth(QString()), 0);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("256")), 256);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("257")), 1);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("99999999999999999999")), 1);
    EXPECT_EQ(ReadLineWidth(QStringLiteral("-0")), 0);
}

} // namespace
} // namespace ymt
