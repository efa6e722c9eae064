// The manual determination: start, the two clicks, the nearest-point snaps and the pass.
#include "evaluation/ManualDetermination.h"

#include "EvaluationTestSupport.h"
#include "evaluation/CouplingFactors.h"
#include "localisation/TextTables.h"

#include <gtest/gtest.h>

namespace ymt {
namespace {

using test::SpectrumStore;

// 1 kHz grid from 100 kHz; |Z| = 1000 + index, so every point is recognisable.
CurveStore GridStore(int count) {
    std::vector<double> f, z;
    for (int i = 0; i < count; ++i) {
        f.push_back(100 + i);
        z.push_back(1000 + i);
    }
    return SpectrumStore(f, z);
}

class ManualPick : public ::testing::Test {
protected:
    void SetUp() override { ResetMessages(); }
};

TEST_F(ManualPick, StartWithoutPointsReportsAndKeepsState) {
    ManualPickState state;
    state.MinMarker = 5;
    const ManualStartOutcome out = StartManualDetermination(CurveStore(), state);
    ASSERT_TRUE(out.Error.has_value());
    EXPECT_EQ(out.Error->Text, "No measurement data!");
    EXPECT_FALSE(out.SelectImpedancePair);
    EXPECT_EQ(out.State.MinMarker, 5);
    EXPECT_FALSE(out.State.AwaitMinClick);
}

TEST_F(ManualPick, StartAwaitsMinimumFromAnyState) {
    ManualPickState state;
    state.AwaitMaxClick = true;
    state.MinMarker = 120;
    state.MaxMarker = 130;
    const ManualStartOutcome out = StartManualDetermination(GridStore(10), state);
    EXPECT_FALSE(out.Error.has_value());
    EXPECT_TRUE(out.SelectImpedancePair);
    EXPECT_TRUE(out.State.AwaitMinClick);
    EXPECT_FALSE(out.State.AwaitMaxClick);
    EXPECT_TRUE(out.State.ShowMarkers);
    EXPECT_EQ(out.State.MinMarker, 0);
    EXPECT_EQ(out.State.MaxMarker, 0);
    EXPECT_EQ(out.State.PlotPrompt, Message(Msg::ClickZMinimum));
    EXPECT_FALSE(out.State.PlotPrompt.isEmpty());
}

TEST_F(ManualPick, MinClickShowsFrequencyAndAsksForMaximum) {
    ManualPickState state;
    state.AwaitMinClick = true;
    state.MaxMarker = 77;
    const MinClickOutcome out = ManualMinClick(state, 123.45678);
    EXPECT_EQ(ResultText(out.FMin), "123.457");
    EXPECT_FALSE(out.State.AwaitMinClick);
    EXPECT_TRUE(out.State.AwaitMaxClick);
    EXPECT_EQ(out.State.MinMarker, 123.45678);
    EXPECT_EQ(out.State.MaxMarker, 0);
    EXPECT_EQ(out.State.PlotPrompt, "Please click on |Z| maximum f(max)... ");
}

TEST(NearestPoint, FirstOfEquallyNearPointsWins) {
    const CurveStore store = SpectrumStore({100, 101, 102}, {1, 2, 3});
    EXPECT_EQ(NearestPointIndex(store, 100.4), 0);
    EXPECT_EQ(NearestPointIndex(store, 100.5), 0);
    EXPECT_EQ(NearestPointIndex(store, 100.6), 1);
    EXPECT_EQ(NearestPointIndex(store, -50), 0);
    EXPECT_EQ(NearestPointIndex(store, 5000), 2);
    EXPECT_EQ(NearestPointIndex(CurveStore(), 100), -1);
}

TEST_F(ManualPick, MaxClickSnapsBothClicksAndUsesClickedFrequencies) {
    const CurveStore store = GridStore(100);
    ManualPickState state = ManualMinClick({}, 110.4).State; // nearest: index 10
    EvaluationResults stale;                                 // no automatic search ran
    PassInputs in;
    in.ModePosition = ModeKp;
    const MaxClickOutcome out = ManualMaxClick(store, state, stale, 149.6, in); // index 50
    EXPECT_FALSE(out.State.AwaitMaxClick);
    EXPECT_EQ(out.State.MaxMarker, 149.6);
    EXPECT_TRUE(out.State.PlotPrompt.isEmpty());
    EXPECT_TRUE(out.State.ShowMarkers);

    const EvaluationResults& r = out.Pass.Results;
    EXPECT_EQ(r.IndexMin, 10);
    EXPECT_EQ(r.ZMin, 1010);
    EXPECT_EQ(r.FMin, 110);
    EXPECT_EQ(r.IndexMax, 50);
    EXPECT_EQ(r.ZMax, 1050);
    EXPECT_EQ(r.FMax, 150);
    // 40 steps between the snapped points: enough for the default threshold.
    EXPECT_FALSE(out.Pass.Message.has_value());
    EXPECT_EQ(ResultText(out.Pass.Shown.FMin), "110.400");
    EXPECT_EQ(ResultText(out.Pass.Shown.FMax), "149.600");
    EXPECT_EQ(ResultText(out.Pass.Shown.Rs), "1010");
    EXPECT_DOUBLE_EQ(out.Pass.Results.KMode, ComputeCouplingFactors(149.6, 110.4, ModeKp).KMode);
    EXPECT_DOUBLE_EQ(out.Pass.Results.KEff, ComputeCouplingFactors(149.6, 110.4, ModeKp).KEff);
}

TEST_F(ManualPick, ReversedClicksAreEvaluatedInOrder) {
    const CurveStore store = GridStore(100);
    ManualPickState state = ManualMinClick({}, 150).State;
    const MaxClickOutcome out = ManualMaxClick(store, state, {}, 110, PassInputs{});
    EXPECT_FALSE(out.Pass.Message.has_value());
    EXPECT_EQ(out.Pass.Results.IndexMin, 10);
    EXPECT_EQ(out.Pass.Results.IndexMax, 50);
    EXPECT_EQ(ResultText(out.Pass.Shown.FMin), "110.000");
    EXPECT_EQ(ResultText(out.Pass.Shown.FMax), "150.000");
    EXPECT_EQ(ResultText(out.Pass.Shown.Rs), "1010");
}

TEST_F(ManualPick, ClicksTooCloseOrEqualAreRefusedByThePass) {
    const CurveStore store = GridStore(100);
    ManualPickState state = ManualMinClick({}, 120).State;
    MaxClickOutcome out = ManualMaxClick(store, state, {}, 130, PassInputs{});
    ASSERT_TRUE(out.Pass.Message.has_value());
    EXPECT_EQ(out.Pass.Message->Index, Msg::InsufficientData);
    out = ManualMaxClick(store, state, {}, 120, PassInputs{});
    ASSERT_TRUE(out.Pass.Message.has_value());
    EXPECT_EQ(out.Pass.Message->Index, Msg::MinimumEqualsMaximum);
    EXPECT_EQ(ResultText(out.Pass.Shown.KEff), "---");
}

TEST_F(ManualPick, CurveEmptiedBeforeSecondClickDoesNotCrash) {
    ManualPickState state = ManualMinClick({}, 120).State;
    EvaluationResults stale;
    stale.IndexMin = 40;
    stale.IndexMax = 90;
    stale.ZMin = 3;
    stale.ZMax = 30;
    const MaxClickOutcome out = ManualMaxClick(CurveStore(), state, stale, 130, PassInputs{});
    test::ExpectNoNonFiniteLabel(out.Pass.Shown);
    EXPECT_EQ(ResultText(out.Pass.Shown.B3dB), "---");
}

} // namespace
} // namespace ymt
