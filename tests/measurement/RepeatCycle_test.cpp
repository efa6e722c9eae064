// Cycles of a repeat series against the simulated HP 4294A and thermometer, without a window:
// the row and the plot points of a cycle, a stop during the sweep, a thermometer that falls
// silent, and the names of the per-cycle files.
#include "measurement/RepeatCycle.h"

#include "core/TextFile.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/thermometer/Thermometer.h"
#include "tests/instrument/InstrumentTestSupport.h"

#include <QRegularExpression>
#include <QTemporaryDir>

namespace ymt {
namespace {

class NoDialogs : public DialogInterface {
public:
    DialogButton showMessage(MessageKind, const QString&, ButtonSet) override {
        return DialogButton::Cancel;
    }
    FileDialogResult openFile(const FileDialogOptions&) override { return {}; }
    FileDialogResult saveFile(const FileDialogOptions&) override { return {}; }
    std::optional<Color> chooseColor(Color) override { return std::nullopt; }
    bool printDialog(QPrinter&) override { return false; }
};

// The operator presses Stop in the second completion wait (the first is the spot measurement).
class StopInSecondWait : public CompletionWaitObserver {
public:
    void waitStarted() override { ++waits; }
    bool pause(int) override { return waits >= 2; }
    void waitEnded(bool) override {}
    int waits = 0;
};

class RepeatCycleTest : public testing::InstrumentTest {
protected:
    // A series of two cycles every half minute into series.txt, the files of each cycle kept.
    void startSeries(int thermometerKind) {
        series.seriesFile = dir.filePath(QStringLiteral("series.txt"));
        series.folder = dir.filePath(QStringLiteral("series/"));
        series.thermometerKind = thermometerKind;
        series.saveEachSpectrum = true;
        series.saveEachDiagram = true;
        cycle.settings.bandStart = 250;
        cycle.settings.bandStop = 150;
        cycle.settings.refine = true;
        cycle.settings.electrodeDistanceMm = 1;
        cycle.settings.electrodeAreaMm2 = 100;
        cycle.settings.pass.ModePosition = 1;
        cycle.settings.pass.RepeatTimerRunning = true;
        cycle.hooks.log = [this](const QString& line) { log << line; };
        cycle.hooks.evaluated = [this](const PassOutcome& pass) { passes << pass.Results; };
        cycle.hooks.writeSpectrum = [this](const QString& path, QString*) {
            files << path;
            return true;
        };
        cycle.hooks.writeDiagram = [this](const QString& path, QString*) {
            files << path;
            return true;
        };
        series.previousMs = clock::nowMs();
        series.previousValue = cycle.readTemperature(series);
        series.schedule.start(clock::nowMs(), 0.5, 1);
    }

    // The next cycle when it is due, as the timer runs it.
    RepeatCycleOutcome nextCycle() {
        clock::sleepMs(series.schedule.nextDueMs() - clock::nowMs());
        EXPECT_TRUE(series.schedule.beginCycle(false));
        return cycle.run(series);
    }

    QStringList seriesFileRows() const {
        QStringList lines;
        ReadTextFile(series.seriesFile, lines);
        return lines;
    }

    QTemporaryDir dir;
    CurveStore spectrum;
    CurveStore seriesPlot;
    NoDialogs dialogs;
    RepeatCycle cycle{analyzer, spectrum, seriesPlot, dialogs};
    RepeatSeriesRun series;
    QStringList log;
    QStringList files;
    QList<EvaluationResults> passes;
};

TEST_F(RepeatCycleTest, ACycleRefinesTheResonanceWritesItsRowAndPlotsIt) {
    connect(1);
    analyzer.PresetAnalyzer();
    startSeries(0);
    const RepeatCycleOutcome first = nextCycle();
    EXPECT_TRUE(first.rowWritten);
    EXPECT_FALSE(first.last);
    EXPECT_TRUE(first.problemLine.isEmpty()) << first.problemLine.toStdString();

    // Without a thermometer the series value counts the cycles.
    const SeriesRow& row = first.row;
    EXPECT_EQ(row.temperature, 1.0);
    ASSERT_TRUE(row.fMin && row.fMax && row.capNF && row.kEff);
    EXPECT_NEAR(*row.fMin, 200, 1);
    EXPECT_NEAR(*row.fMax, 218, 1);
    EXPECT_NEAR(*row.capNF, 1.9, 0.0015);
    // The pass ran once, on the refined sweep; its results are the row's.
    ASSERT_EQ(passes.size(), 1);
    EXPECT_EQ(passes[0].KEff, *row.kEff);
    // The spectrum left is that of the refining sweep, inside the tab's band.
    ASSERT_EQ(spectrum.pointCount(3), 401);
    EXPECT_GT(spectrum.x(3, 0), 150);
    EXPECT_LT(spectrum.x(3, 400), 250);
    // One point per cycle in each of the repeat plot's curves.
    for (int curve = 1; curve <= 3; ++curve)
        ASSERT_EQ(seriesPlot.pointCount(curve), 1) << curve;
    EXPECT_EQ(seriesPlot.x(2, 0), 1.0);
    EXPECT_EQ(seriesPlot.y(2, 0), *row.fMin);
    EXPECT_EQ(files, (QStringList{series.folder + "0001.txt", series.folder + "xseries_0001.dia"}));

    const RepeatCycleOutcome second = nextCycle();
    EXPECT_EQ(second.row.temperature, 2.0);
    EXPECT_TRUE(second.last);
    EXPECT_EQ(seriesFileRows().filter(QRegularExpression("^[12]\\.0\\t")).size(), 2);
}

TEST_F(RepeatCycleTest, AStopInTheSweepEndsTheMeasuringAndTheRowKeepsWhatWasMeasured) {
    connect(1);
    analyzer.PresetAnalyzer();
    startSeries(0);
    StopInSecondWait stopper;
    analyzer.WaitObserver = &stopper;
    const RepeatCycleOutcome outcome = nextCycle();
    analyzer.WaitObserver = nullptr;
    EXPECT_EQ(stopper.waits, 2) << "no refining sweep after the stop";
    EXPECT_TRUE(outcome.rowWritten);
    EXPECT_TRUE(outcome.row.capNF);
    EXPECT_FALSE(outcome.row.fMin);
    EXPECT_FALSE(outcome.row.kEff);
    EXPECT_TRUE(passes.isEmpty());
    EXPECT_EQ(outcome.problemLine, "Repeat measurement, cycle 1: stopped by the operator; the "
                                   "rest of the cycle is not measured.");
    // The spectrum file of a stopped sweep is not written; the diagram is.
    EXPECT_EQ(files, QStringList{series.folder + "xseries_0001.dia"});
}

TEST_F(RepeatCycleTest, ASilentThermometerGivesDashesAndOneLogLineUntilItAnswers) {
    // Silent for the reading at the start and both of the first cycle (six queries each).
    connect(1, "[COM2]\ndevice = Almemo 2290-2\ntemperature = 20\nfault = silent 18\n");
    analyzer.PresetAnalyzer();
    cycle.settings.thermometerHandle = sicl::iopen("COM2");
    ASSERT_GT(cycle.settings.thermometerHandle, 0);
    ASSERT_TRUE(configureThermometerLine(cycle.settings.thermometerHandle, kAlmemo2290_2));
    startSeries(kAlmemo2290_2);
    const RepeatCycleOutcome silent = nextCycle();
    EXPECT_FALSE(silent.row.temperature);
    EXPECT_FALSE(silent.row.rate);
    EXPECT_TRUE(silent.row.fMin) << "the analyzer's results are still there";
    EXPECT_EQ(log, QStringList{"Thermometer: no reading; the series shows \"---\" until it "
                               "answers again."});

    const RepeatCycleOutcome answering = nextCycle();
    ASSERT_TRUE(answering.row.temperature);
    EXPECT_NEAR(*answering.row.temperature, 20, 0.05);
    EXPECT_EQ(log.size(), 2);
    EXPECT_EQ(log.last(), "Thermometer: readings again.");
    EXPECT_EQ(seriesPlot.pointCount(1), 1) << "a cycle without a temperature has no point";
    // Files of a cycle without a temperature are named by the cycle alone.
    EXPECT_EQ(files, (QStringList{series.folder + "0001.txt", series.folder + "xseries_0001.dia",
                                  series.folder + "0002_020.0°C.txt",
                                  series.folder + "xseries_0002_020.0°C.dia"}));
}

} // namespace
} // namespace ymt
