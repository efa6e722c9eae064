// Reading of the point-threshold edits by their exit handlers and by the evaluation pass.
#include "evaluation/Thresholds.h"

#include "localisation/TextTables.h"

#include <gtest/gtest.h>

#include <climits>

namespace ymt {
namespace {

TEST(ThresholdEdit, ReadsLeadingDigitsAndRaisesToOne) {
    EXPECT_EQ(ReadThresholdText("25"), 25);
    EXPECT_EQ(ReadThresholdText("  30abc"), 30);
    EXPECT_EQ(ReadThresholdText("12.7"), 12);
    EXPECT_EQ(ReadThresholdText("abc"), 1);
    EXPECT_EQ(ReadThresholdText(""), 1);
    EXPECT_EQ(ReadThresholdText("0"), 1);
    EXPECT_EQ(ReadThresholdText("-5"), 1);
    EXPECT_EQ(ReadThresholdText("99999999999999"), INT_MAX);
}

TEST(ThresholdEdit, WarnsBelowTwentyAndRewritesText) {
    ThresholdEditOutcome low = ThresholdEditExit(" 19x");
    EXPECT_EQ(low.Value, 19);
    EXPECT_EQ(low.Text, "19");
    ASSERT_TRUE(low.Warning.has_value());
    EXPECT_EQ(low.Warning->Kind, EvaluationMessageKind::Warning);
    EXPECT_EQ(low.Warning->Text, "Warning: Less than 20 points for evaluation will severely "
                                 "decrease the precision of calculations!");
    EXPECT_EQ(low.Warning->Text, Message(Msg::FewPointsPrecisionWarning));

    ThresholdEditOutcome empty = ThresholdEditExit("");
    EXPECT_EQ(empty.Text, "1");
    EXPECT_TRUE(empty.Warning.has_value());

    ThresholdEditOutcome fine = ThresholdEditExit("20");
    EXPECT_EQ(fine.Value, 20);
    EXPECT_FALSE(fine.Warning.has_value());
}

TEST(ThresholdAtUse, WholeNumbersAsTheyStandOtherTextsLikeTheExitHandler) {
    EXPECT_EQ(ThresholdValue("20"), 20);
    EXPECT_EQ(ThresholdValue(" 21 "), 21);
    EXPECT_EQ(ThresholdValue("0"), 0);
    EXPECT_EQ(ThresholdValue("-3"), -3);
    EXPECT_EQ(ThresholdValue("12a"), 12);
    EXPECT_EQ(ThresholdValue("2.5"), 2);
    EXPECT_EQ(ThresholdValue(""), 1);
    EXPECT_EQ(ThresholdValue("x"), 1);
}

} // namespace
} // namespace ymt
