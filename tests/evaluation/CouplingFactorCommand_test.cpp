// The "Coupling Factor" command: "No Data!", the read-more question, the order check and the
// markers it sets after the pass.
#include "evaluation/CouplingFactorCommand.h"

#include "EvaluationTestSupport.h"
#include "evaluation/CouplingFactors.h"
#include "localisation/TextTables.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

using test::SpectrumStore;

// Minimum at 110 kHz (index 10), maximum `steps` points later; 1 kHz grid from 100 kHz.
CurveStore ResonanceStore(int steps) {
    std::vector<double> f, z;
    for (int i = 0; i < 80; ++i) {
        f.push_back(100 + i);
        z.push_back(i == 10 ? 5.0 : (i == 10 + steps ? 5000.0 : 100.0));
    }
    return SpectrumStore(f, z);
}

class CouplingCommand : public ::testing::Test {
protected:
    void SetUp() override { ResetMessages(); }
};

TEST_F(CouplingCommand, NoDataWhenCurveEmptyOrNothingStrictlyInsideWindow) {
    EvaluationResults before;
    before.FMin = 1;
    before.FMax = 2;
    before.IndexMax = 3;
    const CurveStore empty;
    CouplingSearchOutcome out = SearchForCouplingFactor(empty, 0, 1000, before, "20", true);
    EXPECT_EQ(out.Next, CommandStep::Stop);
    ASSERT_TRUE(out.Message.has_value());
    EXPECT_EQ(out.Message->Text, "No Data!");
    EXPECT_EQ(out.Message->Kind, EvaluationMessageKind::Error);

    // Points only on and outside the window's edges.
    const CurveStore outside = SpectrumStore({90, 100, 200, 210}, {1, 2, 3, 4});
    out = SearchForCouplingFactor(outside, 100, 200, before, "20", true);
    EXPECT_EQ(out.Next, CommandStep::Stop);
    EXPECT_EQ(out.Message->Text, "No Data!");
    EXPECT_EQ(out.Results.FMin, 1);
    EXPECT_EQ(out.Results.FMax, 2);
    EXPECT_EQ(out.Results.IndexMax, 3);
}

TEST_F(CouplingCommand, AsksToReadMoreBelowTwiceTheThreshold) {
    const EvaluationResults none;
    CouplingSearchOutcome out =
        SearchForCouplingFactor(ResonanceStore(39), 0, 1e6, none, "20", true);
    EXPECT_EQ(out.Steps, 39);
    EXPECT_EQ(out.Next, CommandStep::AskReadMore);
    ASSERT_TRUE(out.Message.has_value());
    EXPECT_EQ(out.Message->Text, "Very few measurement points! Read More?");
    EXPECT_EQ(out.Message->Buttons, EvaluationButtons::OKAbortIgnore);
    EXPECT_EQ(out.Message->Kind, EvaluationMessageKind::Warning);
    EXPECT_EQ(out.Results.FMin, 110); // the search's values stand even if the operator aborts

    out = SearchForCouplingFactor(ResonanceStore(40), 0, 1e6, none, "20", true);
    EXPECT_EQ(out.Next, CommandStep::Evaluate);
    EXPECT_FALSE(out.Message.has_value());
}

TEST_F(CouplingCommand, NoQuestionWithoutReadMoreOrAfterReadingMore) {
    const EvaluationResults none;
    EXPECT_EQ(SearchForCouplingFactor(ResonanceStore(5), 0, 1e6, none, "20", false).Next,
              CommandStep::Evaluate);
    EXPECT_EQ(SearchForCouplingFactor(ResonanceStore(5), 0, 1e6, none, "20", true, true).Next,
              CommandStep::Evaluate);
    EXPECT_EQ(SearchForCouplingFactor(CurveStore(), 0, 1e6, none, "20", true, true).Next,
              CommandStep::Stop);
}

TEST_F(CouplingCommand, IgnoredQuestionWithTwentyOneStepsStillComputesFactors) {
    const EvaluationResults none;
    const CurveStore store = ResonanceStore(21);
    CouplingSearchOutcome search = SearchForCouplingFactor(store, 0, 1e6, none, "20", true);
    EXPECT_EQ(search.Next, CommandStep::AskReadMore);
    PassInputs in;
    in.ModePosition = ModeKt;
    const CouplingCommandOutcome out = FinishCouplingFactorCommand(store, search.Results, in);
    ASSERT_TRUE(out.PassRan);
    EXPECT_FALSE(out.Message.has_value());
    EXPECT_EQ(ResultText(out.Pass.Shown.FMin), "110.000");
    EXPECT_EQ(ResultText(out.Pass.Shown.FMax), "131.000");
    EXPECT_GT(out.Pass.Results.KEff, 0);
    EXPECT_EQ(out.MinMarker, 110);
    EXPECT_EQ(out.MaxMarker, 131);

    // 20 steps: the pass reports insufficient data.
    const CurveStore twenty = ResonanceStore(20);
    search = SearchForCouplingFactor(twenty, 0, 1e6, none, "20", true);
    const CouplingCommandOutcome refused = FinishCouplingFactorCommand(twenty, search.Results, in);
    ASSERT_TRUE(refused.Message.has_value());
    EXPECT_EQ(refused.Message->Index, Msg::InsufficientData);
    EXPECT_EQ(ResultText(refused.Pass.Shown.KEff), "---");
}

TEST_F(CouplingCommand, MaximumBelowMinimumIsRefusedWithoutPass) {
    EvaluationResults r;
    r.FMin = 200;
    r.FMax = 150;
    const CouplingCommandOutcome out = FinishCouplingFactorCommand(ResonanceStore(40), r, {});
    EXPECT_FALSE(out.PassRan);
    ASSERT_TRUE(out.Message.has_value());
    EXPECT_EQ(out.Message->Text, "Max|Z| must be higher than Min|Z|!");
    EXPECT_EQ(out.Message->Kind, EvaluationMessageKind::Error);
}

TEST_F(CouplingCommand, MessagesFollowTheLanguageTable) {
    SetMessage(Msg::VeryFewPointsReadMore, QStringLiteral("Sehr wenige Messpunkte!"));
    const CouplingSearchOutcome out =
        SearchForCouplingFactor(ResonanceStore(5), 0, 1e6, EvaluationResults(), "20", true);
    EXPECT_EQ(out.Message->Text, "Sehr wenige Messpunkte!");
    ResetMessages();
}

} // namespace
} // namespace ymt
