// Tab "Hardware" through the built program on the simulated analyzers: the Connect log and the
// commands on the bus, a Connect where nothing answers, a second Connect, the setting fields
// and the compensation dialogs.
#include "tests/app/ConnectionTestSupport.h"
#include "tests/support/PdfText.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using ymt::test::ConnectSteps;
using ymt::test::RunOnSimulator;
using ymt::test::SimulatorRun;

namespace {

const QStringList kConnectLog = {
    "Initializing controller interface...",
    "Transport of gpib0: sim (simulated analyzer)",
    "GPIB controller OK on adress: gpib0",
    "Initializing impedance analyzer...",
    "Impedance analyzer OK on adress: 17",
    "Average = 1 set.",
    "Voltagelevel = 0.500 set.",
    "Biaslevel = 0.000 set.",
    "Compensating sampleholder...",
    "Compensation complete.",
    "No thermal sensor attached.",
};

// The log without the lines that name where sicl.conf was looked for (they hold the paths).
QStringList withoutConfigLines(const QStringList& log) {
    QStringList lines;
    for (const QString& line : log)
        if (!line.startsWith(QStringLiteral("sicl.conf")))
            lines << line;
    return lines;
}

// Polls of the service request between the trigger and the next command: about one a second.
int pollsAfterTrigger(const SimulatorRun& run) {
    const qsizetype trigger = run.ioTrace.indexOf("iwrite 1 \"SWTRG\\r\\n\" END");
    int polls = 0;
    for (qsizetype line = trigger + 1; trigger >= 0 && line < run.ioTrace.size(); ++line) {
        if (run.ioTrace[line].startsWith("iwrite"))
            break;
        polls += run.ioTrace[line].startsWith("ireadstb") ? 1 : 0;
    }
    return polls;
}

const char* kNoServiceRequest = "[gpib0,17]\ndevice = HP4194A\nfault = no-srq\n";

const QStringList kMeasurementButtons = {"Button6",  "Button7",  "Button8", "Button11",
                                         "Button17", "Button27", "Button28"};

} // namespace

TEST(Connect, HP4194ALogsEveryStepAndSendsPresetSettingsRangeQueryAndCompensation) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(0) + "show Memo1\ncontrols\nstate\nshow Edit37\nshow Edit39\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(withoutConfigLines(run.box("Memo1")), kConnectLog);
    EXPECT_EQ(run.ioTrace.value(0), "iopen \"gpib0,17\" -> 1");
    const QStringList expected = {"RQS2",  "NOA=1", "OSC=0.500", "DCOFF", "START?",
                                  "STOP?", "ASC2",  "BSC1",      "CMPN1", "ZOPEN",
                                  "ZSHRT", "SHT1",  "OPN1",      "SWM1",  "SWM1"};
    EXPECT_EQ(run.commands().mid(0, expected.size()), expected);
    // The analyzer's own span replaces the defaults.
    EXPECT_DOUBLE_EQ(run.number("AnalyzerMin"), 0.1);
    EXPECT_DOUBLE_EQ(run.number("AnalyzerMax"), 40000);
    // The option ranges stay as typed, and are saved so for the HP 4294A: each sweep is
    // limited to the span as it starts.
    EXPECT_EQ(run.value("Edit37"), "5000.000");
    EXPECT_EQ(run.value("Edit39"), "110000.000");
    EXPECT_EQ(run.value("CompletionTimeout"), "30000");
    for (const QString& button : kMeasurementButtons)
        EXPECT_TRUE(run.enabled(button)) << button.toStdString();
}

TEST(Connect, HP4294ASendsItsOwnLanguageAndKeepsTheTypedRanges) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(1) + "show Memo1\nshow Edit36\nshow Edit39\nshow Edit1\n"
                                         "show Edit2\nshow Edit33\nshow Edit34\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(withoutConfigLines(run.box("Memo1")), kConnectLog);
    const QStringList expected = {"PRES",
                                  "*OPC?",
                                  "POIN 401",
                                  "PAVERFACT 1;PAVER ON;AVERREST",
                                  "POWMOD VOLT;POWE 0.500;DCMOD VOLT",
                                  "DCV 0;DCO OFF",
                                  "STAR?",
                                  "STOP?",
                                  "TRAC A",
                                  "FMT LOGY",
                                  "TRAC B",
                                  "FMT LINY",
                                  "COMA",
                                  "*OPC?",
                                  "COMB",
                                  "*OPC?",
                                  "COMSTA ON",
                                  "COMSTB ON",
                                  "CONT",
                                  "CONT"};
    EXPECT_EQ(run.commands().mid(0, expected.size()), expected);
    EXPECT_EQ(run.value("Edit36"), "0.040");
    EXPECT_EQ(run.value("Edit39"), "110000.000");
    EXPECT_EQ(run.value("Edit1"), "0.040");
    EXPECT_EQ(run.value("Edit2"), "110000.000");
    EXPECT_EQ(run.value("Edit33"), "0.040");
    EXPECT_EQ(run.value("Edit34"), "110000.000");
    EXPECT_EQ(run.value("ZoomDepth"), "0");
    EXPECT_EQ(run.value("AnalyzerModel"), "1");
}

TEST(Connect, NothingAnsweringIsLoggedAndLeavesTheButtonsDisabled) {
    const SimulatorRun run =
        RunOnSimulator("type SpinEdit1 5\nclick Button12\nshow Memo1\ncontrols\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(withoutConfigLines(run.box("Memo1")),
              QStringList({"Initializing controller interface...",
                           "Transport of gpib0: sim (simulated analyzer)",
                           "GPIB controller OK on adress: gpib0",
                           "Error: Impedance analyzer not found!"}));
    EXPECT_EQ(run.value("AnalyzerHandle"), "0");
    EXPECT_TRUE(run.commands().isEmpty());
    EXPECT_TRUE(run.linesStartingWith("message ").isEmpty());
    for (const QString& button : kMeasurementButtons)
        EXPECT_FALSE(run.enabled(button)) << button.toStdString();
}

TEST(Connect, ASimulatedAnalyzerIsCalledSoInTheLogTheCaptionItsFilesAndItsPrintout) {
    QTemporaryDir dir;
    const QString spectrum = dir.filePath(QStringLiteral("s.txt"));
    const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
    const SimulatorRun run = RunOnSimulator(
        ConnectSteps(1) + "show Form1\nclick Button6\nfile \"" + spectrum +
        "\" #1\nclick Speichern1\nprintdialog ok \"" + pdf + "\"\nclick Drucken1\nshow Memo1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList log = run.box("Memo1");
    EXPECT_TRUE(log.contains("Transport of gpib0: sim (simulated analyzer)"));
    EXPECT_TRUE(log.contains("sicl.conf: none found"));
    const QStringList lookedIn =
        log.filter(QRegularExpression("^sicl.conf looked for in: .+/sicl.conf, "
                                      ".+/Kvr/sicl.conf$"));
    EXPECT_EQ(lookedIn.size(), 1) << log.join('\n').toStdString();
    EXPECT_TRUE(run.value("Form1").endsWith(" - simulated analyzer"))
        << run.value("Form1").toStdString();
    QFile file(spectrum);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GT(lines.size(), 21);
    // The notes line, which every reader of the format shows.
    EXPECT_TRUE(lines[4].startsWith("Notes"));
    EXPECT_TRUE(lines[4].contains("[simulated analyzer: not a measurement]")) << lines[4].data();
    EXPECT_TRUE(ymt::test::PdfText(pdf).contains("[simulated analyzer: not a measurement]"));
}

TEST(Connect, ASecondConnectClosesTheFirstSessionBeforeOpeningAnother) {
    const SimulatorRun run = RunOnSimulator(ConnectSteps(1) + ConnectSteps(1) + "state\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const qsizetype firstClose = run.ioTrace.indexOf("iclose 1 rc=0");
    const qsizetype secondOpen = run.ioTrace.indexOf("iopen \"gpib0,17\" -> 2");
    ASSERT_GE(firstClose, 0);
    ASSERT_GE(secondOpen, 0);
    EXPECT_LT(firstClose, secondOpen);
    EXPECT_EQ(run.value("AnalyzerHandle"), "2");
}

TEST(Connect, ASecondConnectThatFindsNothingLeavesTheProgramDisconnected) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(0) + "type SpinEdit1 9\nclick Button12\ncontrols\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.value("AnalyzerHandle"), "0");
    EXPECT_FALSE(run.enabled("Button6"));
    EXPECT_FALSE(run.enabled("Button17"));
}

TEST(AnalyzerSettings, AveragingWarnsAboveFifteenAndClampsTo256) {
    const SimulatorRun run = RunOnSimulator("answer OK\ntype Edit12 1000\nshow Edit12\n"
                                            "answer OK\ntype Edit12 16\nshow Edit12\n"
                                            "type Edit12 15\nshow Edit12\n"
                                            "answer OK\ntype Edit12 many\nshow Edit12\n" +
                                            ConnectSteps(0) + "state\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QString warning =
        "message warning \"Warning: High values for averaging may destabilize your system!\" -> OK";
    const QStringList messages = run.linesStartingWith("message ");
    ASSERT_GE(messages.size(), 3);
    EXPECT_EQ(messages[0], warning);
    EXPECT_EQ(messages[1], warning);
    // 15 gives no warning; text that is not a whole number is refused.
    EXPECT_EQ(messages[2], "message error \"'many' is not a valid integer value\" -> OK");
    EXPECT_EQ(run.linesStartingWith("Edit12="),
              QStringList({"Edit12=256", "Edit12=16", "Edit12=15", "Edit12=15"}));
    // The count of the field reaches the analyzer with Connect (4194A: nearest power of two),
    // and the preset of Connect sets it back to 1 for later sweeps.
    EXPECT_TRUE(run.commands().contains("NOA=1"));
    EXPECT_EQ(run.value("Averaging"), "1");
}

TEST(AnalyzerSettings, LevelBiasAndTimeoutFieldsClampAndReachTheAnalyzer) {
    const SimulatorRun run = RunOnSimulator(
        "type Edit14 0.001\nshow Edit14\ntype Edit14 2\nshow Edit14\n"
        "type Edit15 -50\nshow Edit15\ntype Edit35 -5\nshow Edit35\nstate\n"
        "type Edit35 7\nshow Edit35\n" +
        ConnectSteps(1) + "type Edit12 5\ntype Edit15 -1.5\nclick Button17\nshow Memo1\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.linesStartingWith("Edit14="), QStringList({"Edit14=0.005", "Edit14=1.000"}));
    EXPECT_EQ(run.value("Edit15"), "-40.000");
    EXPECT_EQ(run.linesStartingWith("Edit35="), QStringList({"Edit35=0", "Edit35=7"}));
    EXPECT_EQ(run.linesStartingWith("CompletionTimeout="),
              QStringList({"CompletionTimeout=0", "CompletionTimeout=7000"}));
    const QStringList commands = run.commands();
    EXPECT_TRUE(commands.contains("POWMOD VOLT;POWE 1.000;DCMOD VOLT"));
    EXPECT_TRUE(commands.contains("DCV -40.000;DCO ON"));
    EXPECT_TRUE(commands.contains("PAVERFACT 5;PAVER ON;AVERREST"));
    EXPECT_TRUE(commands.contains("DCV -1.500;DCO ON"));
    const QStringList log = run.box("Memo1");
    EXPECT_EQ(log.mid(log.size() - 3), QStringList({"Average = 5 set.", "Voltagelevel = 1.000 set.",
                                                    "Biaslevel = -1.500 set."}));
}

TEST(TimeoutField, TextThatIsNoWholeNumberKeepsThePreviousLimit) {
    const SimulatorRun run =
        RunOnSimulator("type Edit35 3\nanswer OK\ntype Edit35 \"30 s\"\nshow Edit35\n" +
                           ConnectSteps(0) + "click Button6\nstate\n",
                       kNoServiceRequest);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.linesStartingWith("message ").value(0),
              "message error \"'30 s' is not a valid integer value\" -> OK");
    EXPECT_EQ(run.value("Edit35"), "3");
    EXPECT_EQ(run.value("CompletionTimeout"), "3000");
    // The lost service request ends the sweep's wait after about three seconds.
    EXPECT_GE(pollsAfterTrigger(run), 4);
    EXPECT_LE(pollsAfterTrigger(run), 6);
}

TEST(Compensation, CancelNotesTheSampleAndSendsNoCompensationCommand) {
    for (int model : {0, 1}) {
        const SimulatorRun run =
            RunOnSimulator(QStringLiteral("type Edit6 chipped edge\nselect ComboBox6 %1\n"
                                          "answer Cancel\nclick Button12\nshow Edit6\n"
                                          "show Memo1\nanswer Cancel\nclick Button11\n"
                                          "show Edit6\n")
                               .arg(model));
        ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
        EXPECT_EQ(run.linesStartingWith("message "),
                  QStringList(2, "message none \"Compensation - Open contacts\" -> Cancel"));
        // The typed notes stay; a second cancel does not repeat the sentence.
        EXPECT_EQ(run.value("Edit6"), "chipped edge Sample holder not compensated.");
        const QStringList log = run.box("Memo1");
        EXPECT_TRUE(log.contains("Warning: Compensation aborted!"));
        EXPECT_FALSE(log.contains("Compensation complete."));
        for (const QString& command : run.commands()) {
            for (const char* compensation :
                 {"CMPN1", "ZOPEN", "ZSHRT", "SHT", "OPN", "COMA", "COMB", "COMST"})
                EXPECT_FALSE(command.startsWith(compensation)) << command.toStdString();
        }
    }
}

TEST(Compensation, CalibrateAgainAfterConnectMeasuresOpenAndShortOnce) {
    const SimulatorRun run =
        RunOnSimulator(ConnectSteps(1) + "answer OK\nanswer OK\nclick Button11\nstate\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.commands().count("COMA"), 2);
    EXPECT_EQ(run.commands().count("COMSTB ON"), 2);
    EXPECT_EQ(run.value("label.C"), "---");
}

TEST(AutozoomDisplay, AutoscalesTheAnalyzerScreenAndRestoresItsScales) {
    const SimulatorRun run = RunOnSimulator(ConnectSteps(0) + "click Button28\nshow Memo1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList commands = run.commands();
    const QStringList autozoom = {"SWM1", "AUTO", "ASC2", "BSC1"};
    EXPECT_EQ(commands.mid(commands.size() - autozoom.size()), autozoom);
}

TEST(Thermometer, NoneIsLoggedAndAnotherKindOpensItsPort) {
    const SimulatorRun run = RunOnSimulator("select ComboBox7 3\nselect ComboBox8 2\n" +
                                                ConnectSteps(0) + "show Memo1\n",
                                            "[COM3]\ndevice = Therm 3280-2\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(withoutConfigLines(run.box("Memo1")).value(10), "Thermal sensor OK.");
    const qsizetype open = run.ioTrace.indexOf(QRegularExpression("^iopen \"COM3\" -> \\d+$"));
    ASSERT_GE(open, 0);
    // 1200 baud for the 3280 family.
    EXPECT_TRUE(run.ioTrace.value(open + 2).startsWith("iserialctrl"));
    EXPECT_TRUE(run.ioTrace.value(open + 2).contains("1200"));
}

TEST(Compensation, ACompletionWaitThatRanOutIsLoggedBeforeTheCompensationIsSwitchedOn) {
    // An HP 4294A that never answers "*OPC?": each wait ends at the one second typed.
    const SimulatorRun run =
        RunOnSimulator("type Edit35 1\n" + ConnectSteps(1) + "show Memo1\n",
                       QStringLiteral("[gpib0,17]\ndevice = HP4294A\nfault = drop-reply *OPC?\n"));
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList log = run.box("Memo1");
    const int complete = log.indexOf("Compensation complete.");
    ASSERT_GE(complete, 2) << log.join('\n').toStdString();
    EXPECT_EQ(log.mid(complete - 2, 2),
              QStringList({"The analyzer did not report the end of the open measurement within 1 "
                           "s; the compensation may hold incomplete data.",
                           "The analyzer did not report the end of the short measurement within "
                           "1 s; the compensation may hold incomplete data."}));
}
