// The measurement plot's zoom driven through the built program by scripts of mouse steps: drag
// in both directions, the 5-pixel threshold, 51 zooms and 50 zoom-backs, and the range fields.
#include "tests/app/EvaluationTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

QString drag(int from, int to) {
    return QStringLiteral("mouse fastgraph1 down left %1 150\n"
                          "mouse fastgraph1 move left %2 150\n"
                          "mouse fastgraph1 move left %3 150\n"
                          "mouse fastgraph1 up left %3 150\n")
        .arg(from)
        .arg((from + to) / 2)
        .arg(to);
}

const QString kFieldsAndState = QStringLiteral("show Edit1\nshow Edit2\nshow Edit33\nshow "
                                               "Edit34\nstate\n");

} // namespace

TEST(GraphProgramZoom, DragEitherWayZoomsTheSameBandAndWritesOnlyTheMeasurementRange) {
    const ymt::test::ScriptRun run =
        ymt::test::RunScript(QStringLiteral("tab TabSheet3\n") + drag(120, 320) + kFieldsAndState +
                             QStringLiteral("mouse fastgraph1 down right 200\n"
                                            "mouse fastgraph1 up right 200\n") +
                             drag(320, 120) + kFieldsAndState + QStringLiteral("quit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    const double low = run.number(QStringLiteral("RangeStart"));
    const double high = run.number(QStringLiteral("RangeStop"));
    EXPECT_GT(low, 0.04);
    EXPECT_LT(high, 110000.0);
    EXPECT_LT(low, high);
    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth")), QStringLiteral("1"));
    EXPECT_EQ(run.value(QStringLiteral("Edit1")).toDouble(), std::round(low * 1000) / 1000);
    EXPECT_EQ(run.value(QStringLiteral("Edit2")).toDouble(), std::round(high * 1000) / 1000);
    EXPECT_EQ(run.value(QStringLiteral("Edit33")), QStringLiteral("0.040"));
    EXPECT_EQ(run.value(QStringLiteral("Edit34")), QStringLiteral("110000.000"));

    // Back to the full range, then the same band dragged from right to left.
    EXPECT_EQ(run.number(QStringLiteral("RangeStart"), 1), low);
    EXPECT_EQ(run.number(QStringLiteral("RangeStop"), 1), high);
    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth"), 1), QStringLiteral("1"));
}

TEST(GraphProgramZoom, ReleaseLeftOfThePlotSendsNoFrequencyBelowTheWindow) {
    const ymt::test::ScriptRun run =
        ymt::test::RunScript(QStringLiteral("tab TabSheet3\nmouse fastgraph1 down left 300 200\n"
                                            "mouse fastgraph1 up left 5 200\n") +
                             kFieldsAndState + QStringLiteral("quit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_EQ(run.number(QStringLiteral("RangeStart")), 0.04);
    EXPECT_EQ(run.value(QStringLiteral("Edit1")), QStringLiteral("0.040"));
    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth")), QStringLiteral("1"));
}

TEST(GraphProgramZoom, DragOfFivePixelsDoesNothingAndSixPixelsZoom) {
    const ymt::test::ScriptRun run =
        ymt::test::RunScript(QStringLiteral("tab TabSheet3\n") + drag(200, 205) + kFieldsAndState +
                             drag(206, 200) + kFieldsAndState + QStringLiteral("quit\n"));
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth")), QStringLiteral("0"));
    EXPECT_EQ(run.number(QStringLiteral("RangeStart")), 0.04);
    EXPECT_EQ(run.number(QStringLiteral("RangeStop")), 110000.0);
    EXPECT_EQ(run.value(QStringLiteral("Edit2")), QStringLiteral("110000.000"));
    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth"), 1), QStringLiteral("1"));
    EXPECT_LT(run.number(QStringLiteral("RangeStop"), 1), 110000.0);
}

TEST(GraphProgramZoom, FiftyOneZoomsAndFiftyZoomBacksEndAtTheFullRangeInBothGroups) {
    QString script = QStringLiteral("tab TabSheet3\n");
    // Each band from the left of the plot (clamped to its edge) to well inside it.
    for (int i = 0; i < 51; ++i)
        script += drag(0, 400 + i % 2);
    script += kFieldsAndState;
    script += QStringLiteral("mouse fastgraph1 down right 200\nmouse fastgraph1 up right 200\n");
    script += kFieldsAndState;
    for (int i = 0; i < 49; ++i)
        script += QStringLiteral("mouse fastgraph1 down %1 200\nmouse fastgraph1 up %1 200\n")
                      .arg(i % 2 ? QStringLiteral("middle") : QStringLiteral("right"));
    script += kFieldsAndState + QStringLiteral("quit\n");
    const ymt::test::ScriptRun run = ymt::test::RunScript(script);
    ASSERT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();

    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth"), 0), QStringLiteral("50"));
    // A press left of the plot starts the band exactly at the window minimum.
    EXPECT_EQ(run.number(QStringLiteral("RangeStart"), 0), 0.04);
    const double narrowest = run.number(QStringLiteral("RangeStop"), 0);
    EXPECT_LT(narrowest, 110000.0 / 2);

    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth"), 1), QStringLiteral("49"));
    const double back = run.number(QStringLiteral("RangeStop"), 1);
    EXPECT_GT(back, narrowest);
    EXPECT_EQ(run.value(QStringLiteral("Edit2"), 1), run.value(QStringLiteral("Edit34"), 1));
    EXPECT_EQ(run.value(QStringLiteral("Edit1"), 1), run.value(QStringLiteral("Edit33"), 1));
    EXPECT_EQ(run.value(QStringLiteral("Edit2"), 1).toDouble(), std::round(back * 1000) / 1000);

    EXPECT_EQ(run.value(QStringLiteral("ZoomDepth"), 2), QStringLiteral("0"));
    EXPECT_EQ(run.number(QStringLiteral("RangeStart"), 2), 0.04);
    EXPECT_EQ(run.number(QStringLiteral("RangeStop"), 2), 110000.0);
    EXPECT_EQ(run.value(QStringLiteral("Edit1"), 2), QStringLiteral("0.040"));
    EXPECT_EQ(run.value(QStringLiteral("Edit2"), 2), QStringLiteral("110000.000"));
    EXPECT_EQ(run.value(QStringLiteral("Edit33"), 2), QStringLiteral("0.040"));
    EXPECT_EQ(run.value(QStringLiteral("Edit34"), 2), QStringLiteral("110000.000"));
}
