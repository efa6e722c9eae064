// The sweeps and the spot measurement against the simulated analyzer, without a window: what is
// stored after a short trace or a stop, what is noted, and when the operator is asked.
#include "measurement/SpectrumAcquisition.h"

#include "tests/instrument/InstrumentTestSupport.h"

namespace ymt {
namespace {

// Answers every box with one button and keeps the texts.
class AnsweringDialogs : public DialogInterface {
public:
    explicit AnsweringDialogs(DialogButton answer) : answer_(answer) {}
    DialogButton showMessage(MessageKind, const QString& text, ButtonSet) override {
        texts << text;
        return answer_;
    }
    FileDialogResult openFile(const FileDialogOptions&) override { return {}; }
    FileDialogResult saveFile(const FileDialogOptions&) override { return {}; }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
    QStringList texts;

private:
    DialogButton answer_;
};

// The operator presses Stop as soon as a completion wait begins.
class StoppingObserver : public CompletionWaitObserver {
public:
    void waitStarted() override {}
    bool pause(int) override { return true; }
    void waitEnded(bool) override {}
};

class AcquisitionTest : public testing::InstrumentTest {
protected:
    CurveStore store;
    AnsweringDialogs dialogs{DialogButton::Cancel};
    SpectrumAcquisition acquisition{analyzer, store, dialogs};

    // The simulated HP 4294A at gpib0,17, preset to 401 points as Connect leaves it.
    void connectPreset(const QString& extraLines = QString()) {
        connect(1, extraLines);
        analyzer.PresetAnalyzer();
    }
};

TEST_F(AcquisitionTest, AShortTraceStoresWhatCameBackAndIsNotedOnce) {
    connectPreset(QStringLiteral("fault = short-trace 300\n"));
    const AcquisitionRun run = acquisition.readMorePoints(100, 200);
    EXPECT_FALSE(run.stopped);
    EXPECT_EQ(run.pointsStored, 300);
    EXPECT_EQ(store.pointCount(3), 300);
    // The points keep the frequencies of the 401-point grid the analyzer measured.
    EXPECT_DOUBLE_EQ(store.x(3, 299), GridFrequency(100, 200, 299, 401));
    const AcquisitionNotes notes = acquisition.takeNotes();
    EXPECT_EQ(notes.failures, notes.log);
    ASSERT_EQ(notes.failures.size(), 1);
    EXPECT_TRUE(notes.failures[0].contains("ended after 300 of 401 points"));
    EXPECT_TRUE(acquisition.takeNotes().log.isEmpty());
}

TEST_F(AcquisitionTest, AStoppedSweepStoresNothingAndAReplacingOneLeavesNoOldBand) {
    connectPreset();
    ASSERT_GT(acquisition.sweep(100, 200, true).points, 0);
    StoppingObserver stopper;
    analyzer.WaitObserver = &stopper;
    const SweepOutcome kept = acquisition.sweep(300, 400, true);
    EXPECT_TRUE(kept.stopped);
    EXPECT_EQ(store.pointCount(3), 401);
    const SweepOutcome replaced = acquisition.sweep(300, 400, true, true);
    EXPECT_TRUE(replaced.stopped);
    EXPECT_EQ(replaced.points, 0);
    EXPECT_EQ(store.pointCount(3), 0);
    EXPECT_TRUE(acquisition.takeNotes().log.isEmpty());
    analyzer.WaitObserver = nullptr;
}

TEST_F(AcquisitionTest, RangesOutsideTheSpanAreSkippedAndNoRangeAsksBeforeTheOverview) {
    connectPreset();
    acquisition.analyzerMin = 0.04;
    acquisition.analyzerMax = 110000;
    const AcquisitionRun run = acquisition.readNewSpectrum({{1, 200000, 300000}, {2, 100, 200}});
    EXPECT_EQ(run.pointsStored, 401);
    const QStringList log = acquisition.takeNotes().log;
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].startsWith("Range 1 (200000.000 ... 300000.000 kHz) lies outside"));
    EXPECT_TRUE(dialogs.texts.isEmpty());

    // Cancelled, the overview is not swept.
    store.ClearAll();
    EXPECT_EQ(acquisition.readNewSpectrum({}).pointsStored, 0);
    EXPECT_EQ(dialogs.texts.size(), 1);
    EXPECT_EQ(store.pointCount(3), 0);
}

} // namespace
} // namespace ymt
