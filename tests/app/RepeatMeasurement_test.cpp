// The repeat measurement through the program (--fast, the script step "tick"): the series file
// against the sample model and the thermometer's ramp, the cycles the title announces, stop and
// restart, the overwrite question, bad field input, a series file that can no longer grow, timer
// events while the window is busy and the band each cycle evaluates. The hidden "Save each Repeat
// Diagram" is driven in this process, as no script can reach a hidden control.
#include "core/Clock.h"
#include "core/TextFile.h"
#include "core/Version.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/simulated/SampleModel.h"
#include "instrument/simulated/SimBus.h"
#include "plot/GraphExport.h"
#include "tests/app/MainWindowTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QStringList output;
};

// Runs the program on home with sicl.conf and the script; limitKiB >= 0 limits the size of the
// files it may write (a full disk, as far as the program can tell), with the shell's default
// of the file-size signal, which ends a program that does not ignore it.
ProgramRun RunProgram(const QString& home, const QString& siclConf, const QString& script,
                      int limitKiB = -1) {
    QDir dir(home);
    if (!siclConf.isEmpty())
        ymt::WriteTextFile(dir.filePath("sicl.conf"), ymt::SplitLines(siclConf));
    ymt::WriteTextFile(dir.filePath("steps.txt"), ymt::SplitLines(script));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    environment.remove("ZELVANOR_HOME");
    process.setProcessEnvironment(environment);
    QStringList arguments = {"--fast", "--home", home, "--script", dir.filePath("steps.txt")};
    if (limitKiB < 0)
        arguments << "--io-trace" << dir.filePath("io.txt");
    if (limitKiB >= 0) {
        QString command = QStringLiteral("ulimit -f %1; exec \"$0\" \"$@\"").arg(limitKiB);
        process.start("bash", QStringList{"-c", command, YMT_EXECUTABLE} + arguments);
    } else {
        process.start(YMT_EXECUTABLE, arguments);
    }
    process.waitForFinished(240000);
    ProgramRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
    return run;
}

const QString kThermometer = "[COM2]\ndevice = Almemo 2290-2\ntemperature = 20\nramp = 1\n";

// Connect to the simulated HP 4294A (with the thermometer when one is selected), the steps
// afterConnect, then the fields of tab "Repeat Measurement".
QString SeriesSetup(bool thermometer, const QString& interval, const QString& duration,
                    const QString& file, const QString& afterConnect = {}) {
    return QString(thermometer ? "select ComboBox7 1\nselect ComboBox8 1\n" : "") +
           // The series evaluates the thickness mode (the stored type starts at k31).
           "select ComboBox4 2\n"
           "select ComboBox6 1\nanswer OK\nanswer OK\nclick Button12\n" +
           afterConnect +
           "tab TabSheet8\n"
           "type Edit33 150\nenter Edit33\ntype Edit34 250\nenter Edit34\n"
           "type Edit28 " +
           interval + "\nenter Edit28\ntype Edit29 " + duration + "\nenter Edit29\ntype Edit30 " +
           file + "\n";
}

QStringList Rows(const QString& path) {
    QStringList lines;
    ymt::ReadTextFile(path, lines);
    QStringList rows;
    for (const QString& line : lines)
        if (!line.isEmpty() && (line.front().isDigit() || line.startsWith("-")) &&
            line.count('\t') == 11)
            rows << line;
    return rows;
}

// f(min) and f(max) of a sweep of low..high: the analyzer measures 401 points from low to high
// inclusive, and the points keep the frequencies it measured them at; only the first `count`
// come back.
std::pair<double, double> SweepExtremes(double low, double high, int count = 401) {
    const ymt::SampleModel sample = ymt::DefaultSampleModel();
    int iMin = 0, iMax = 0;
    double zMin = INFINITY, zMax = 0;
    for (int i = 0; i < count; ++i) {
        const double z = ymt::SampleZTheta(sample, low + (high - low) * i / 400).magnitudeOhm;
        if (z < zMin)
            zMin = z, iMin = i;
        if (z > zMax)
            zMax = z, iMax = i;
    }
    return {low + (high - low) * iMin / 400, low + (high - low) * iMax / 400};
}

TEST(RepeatMeasurement, SeriesFileFollowsTheSampleModelAndTheThermometerRamp) {
    QTemporaryDir home;
    const ProgramRun run = RunProgram(home.path(), kThermometer,
                                      SeriesSetup(true, "0.5", "2", "series.txt") +
                                          "click Button27\ntick\ntick\ntick\ntick\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    // Duration 2 ÷ interval 0.5: four cycles, then nothing more runs.
    EXPECT_EQ(run.output.filter(QRegularExpression("^tick: cycle \\d of 4")).size(), 4);
    EXPECT_TRUE(run.output.contains("tick: cycle 4 of 4, series finished"));
    EXPECT_TRUE(run.output.contains("tick: no repeat measurement running"));

    QStringList lines;
    ASSERT_TRUE(ymt::ReadTextFile(QDir(home.path()).filePath("data/series.txt"), lines));
    EXPECT_TRUE(lines[0].startsWith("Low Field Impedance Analysis  "));
    EXPECT_EQ(lines[7], "Frequency [kHz]         : 1.000");
    EXPECT_EQ(lines[9], "Temp.[°C]\tt[min]\tdT/dt\tf(min)[kHz]\tf(max)[kHz]\tC(1.000kHz)[nF]\t"
                        "tand [1e-4]\teps(rel)\tk(eff)[%]\tkt  [%]\tQ(3dB)\tB(3dB)");

    // The refining sweep: the band between the extremes of the first sweep, widened by a
    // tenth of their distance on each side.
    const auto [coarseMin, coarseMax] = SweepExtremes(150, 250);
    const double d = (coarseMax - coarseMin) / 10;
    const auto [fMin, fMax] = SweepExtremes(coarseMin - d, coarseMax + d);
    // Below the resonances the sample is C0 + C1 + C2 with the loss of C0 alone.
    const double capNF = 1.5 + 0.3 + 0.1;
    const double tand = 0.002 * 1.5 / capNF * 1e4;
    const double eps = capNF * 1.0 / (100 * 8.854e-6);
    const double keff = std::sqrt(1 - (fMin / fMax) * (fMin / fMax)) * 100;

    const QStringList rows = Rows(QDir(home.path()).filePath("data/series.txt"));
    ASSERT_EQ(rows.size(), 4);
    double previousMinutes = 0;
    for (int k = 1; k <= 4; ++k) {
        SCOPED_TRACE(k);
        const QStringList f = rows[k - 1].split('\t');
        ASSERT_EQ(f.size(), 12);
        const double minutes = f[1].toDouble();
        // The cycle starts at k × 0.5 min and ends at `minutes`: the ramp at the two readings.
        EXPECT_GE(minutes, 0.5 * k);
        EXPECT_LT(minutes, 0.5 * k + 0.2);
        const double expectedT = 20 + (0.5 * k + minutes) / 2;
        EXPECT_NEAR(f[0].toDouble(), expectedT, 0.051);
        // Between two rows the mean of the readings moves by half of (interval + the change of
        // the cycle's length); the first row starts from the reading at the start.
        const double expectedRate =
            k == 1 ? (0.5 + minutes) / 2 / minutes
                   : (0.5 + minutes - previousMinutes) / 2 / (minutes - previousMinutes);
        EXPECT_NEAR(f[2].toDouble(), expectedRate, 0.03);
        previousMinutes = minutes;
        EXPECT_EQ(f[3], QString::number(fMin, 'f', 3));
        EXPECT_EQ(f[4], QString::number(fMax, 'f', 3));
        EXPECT_NEAR(f[5].toDouble(), capNF, 0.0015);
        EXPECT_NEAR(f[6].toDouble(), tand, 0.051);
        EXPECT_NEAR(f[7].toDouble(), eps, 2.0);
        EXPECT_NEAR(f[8].toDouble(), keff, 0.051);
    }
}

TEST(RepeatMeasurement, WithoutThermometerTheSeriesCountsCyclesAndRestartsWithANewHeader) {
    QTemporaryDir home;
    const ProgramRun run =
        RunProgram(home.path(), {},
                   SeriesSetup(false, "0.5", "300", "counted.txt") +
                       "click Button27\ntick\ntick\nclick Button27\nshow Button27\ntick\n"
                       "answer Yes\nclick Button27\ntick\nclick Button27\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(
        run.output.filter("holds a series already. Append the new series to it?\" -> Yes").size(),
        1);
    EXPECT_TRUE(run.output.contains("tick: cycle 2 of 600"));
    EXPECT_TRUE(run.output.contains("Button27=Start repeat measurement"));
    EXPECT_TRUE(run.output.contains("tick: no repeat measurement running"));
    QStringList lines;
    ymt::ReadTextFile(QDir(home.path()).filePath("data/counted.txt"), lines);
    EXPECT_EQ(lines.filter(QRegularExpression("^Low Field Impedance Analysis")).size(), 2);
    const QStringList rows = Rows(QDir(home.path()).filePath("data/counted.txt"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("1.0\t"));
    EXPECT_TRUE(rows[1].startsWith("2.0\t"));
    EXPECT_TRUE(rows[2].startsWith("1.0\t")) << "a new series counts from 1 again";
}

TEST(RepeatMeasurement, FieldsAreClampedAndTheCyclesFollowTheClampedValues) {
    QTemporaryDir home;
    const ProgramRun run = RunProgram(
        home.path(), {},
        SeriesSetup(false, "abc", "-3", "a.txt") +
            "show Edit28\nshow Edit29\ntype Edit28 1e9\nenter Edit28\nshow Edit28\n"
            "type Edit28 0\nenter Edit28\nshow Edit28\n"
            // Duration shorter than one interval: one cycle.
            "type Edit28 5\nenter Edit28\ntype Edit29 1\nenter Edit29\nclick Button27\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.output.filter("Edit28=").mid(0, 3),
              (QStringList{"Edit28=0.5", "Edit28=35000.0", "Edit28=0.5"}));
    EXPECT_TRUE(run.output.contains("Edit29=1"));
    EXPECT_TRUE(run.output.contains("tick: cycle 1 of 1, series finished"));
}

TEST(RepeatMeasurement, ASeriesFileInAMissingFolderIsReportedAndNothingStarts) {
    QTemporaryDir home;
    const ProgramRun run = RunProgram(home.path(), {},
                                      SeriesSetup(false, "0.5", "2", "/nonexistent/folder/s.txt") +
                                          "answer OK\nclick Button27\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(run.output.filter(QRegularExpression("^message error ")).size(), 1);
    EXPECT_TRUE(run.output.contains("tick: no repeat measurement running"));
}

TEST(RepeatMeasurement, ExistingCycleFilesAreOverwrittenOnlyAfterAsking) {
    QTemporaryDir home;
    QDir(home.path()).mkpath("data/probe");
    const QString earlier = QDir(home.path()).filePath("data/probe/0001_001.0°C.txt");
    ymt::WriteTextFile(earlier, {"earlier series"});
    const ProgramRun run = RunProgram(home.path(), {},
                                      SeriesSetup(false, "0.5", "2", "probe.txt") +
                                          "tab TabSheet9\ncheck CheckBox21 1\ntab TabSheet8\n"
                                          "check CheckBox22 1\nanswer No\nclick Button27\ntick\n"
                                          "answer Yes\nclick Button27\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList asked =
        run.output.filter("\"File already exists. Overwrite existing file?\"");
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].endsWith("-> No"));
    EXPECT_TRUE(run.output.contains("tick: no repeat measurement running"));
    EXPECT_TRUE(run.output.contains("tick: cycle 1 of 4"));
}

TEST(RepeatMeasurement, AFileThatCannotGrowStopsTheSeriesWithOneMessageAndKeepsWholeRows) {
    QTemporaryDir home;
    QString ticks;
    for (int i = 0; i < 40; ++i)
        ticks += "tick\n";
    // Files may not grow beyond 2 KiB: the header fits, some twenty rows later writing fails.
    const ProgramRun run = RunProgram(home.path(), {},
                                      SeriesSetup(false, "0.5", "300", "full.txt") +
                                          "answer OK\nclick Button27\n" + ticks + "answer OK\n",
                                      2);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    // One message for the series; the second is the spectrum backup at shut-down, which cannot
    // grow beyond the limit either and is reported, not lost silently.
    const QStringList errors = run.output.filter(QRegularExpression("^message error "));
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[0].contains(QDir(home.path()).filePath("data/full.txt") + ": "))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[1].contains("_dia.txt"));
    const int cycles = run.output.filter(QRegularExpression("^tick: cycle ")).size();
    EXPECT_GT(cycles, 5);
    EXPECT_LT(cycles, 40);
    EXPECT_EQ(run.output.filter("tick: no repeat measurement running").size(), 40 - cycles);
    // What was written stays, row by row: the row that did not fit left nothing behind, so a
    // later series appends after a whole line.
    EXPECT_EQ(Rows(QDir(home.path()).filePath("data/full.txt")).size(), cycles - 1);
    QFile file(QDir(home.path()).filePath("data/full.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().endsWith("\r\n"));
}

TEST(RepeatMeasurement, AHeaderThatCannotBeWrittenIsReportedWithTheFileAndLeavesNoFile) {
    QTemporaryDir home;
    // A first run leaves the files of a start behind; in the second not a byte may be written:
    // the series file is created, but its header does not fit.
    ASSERT_EQ(RunProgram(home.path(), {}, "quit\n").exitCode, 0);
    const ProgramRun run = RunProgram(home.path(), {},
                                      SeriesSetup(false, "0.5", "2", "nothing.txt") +
                                          "answer OK\nclick Button27\ntick\nanswer OK\n",
                                      0);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QString path = QDir(home.path()).filePath("data/nothing.txt");
    const QStringList errors = run.output.filter(QRegularExpression("^message error "));
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_TRUE(errors[0].startsWith("message error \"" + path + ": ")) << errors[0].toStdString();
    EXPECT_TRUE(run.output.contains("tick: no repeat measurement running"));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(RepeatMeasurement, TheSeriesFileHasANameOfItsOwnAndGoesOnlyIntoASeriesFile) {
    QTemporaryDir home;
    const QString data = QDir(home.path()).filePath("data/");
    // The spectrum is saved under the name "Save Spectrum..." proposes for the sample.
    const ProgramRun run =
        RunProgram(home.path(), {},
                   SeriesSetup(false, "0.5", "1", "Probe1.txt",
                               "tab TabSheet2\ntype Edit4 Probe1\nenter Edit4\ntab TabSheet3\n"
                               "click Button6\nfile " +
                                   data + "Probe1.txt #1\nclick Speichern1\nshow Edit30\n") +
                       "answer OK\nclick Button27\ntick\n"
                       "type Edit30 Probe1_series.txt\nclick Button27\ntick\nclick Button27\n"
                       "answer No\nclick Button27\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("Edit30=" + data + "Probe1_series.txt"));
    EXPECT_TRUE(run.output.contains("message error \"" + data +
                                    "Probe1.txt is not a series file; a series is not appended "
                                    "to it. Choose another file name.\" -> OK"));
    EXPECT_TRUE(run.output.contains("message confirmation \"" + data +
                                    "Probe1_series.txt holds a series already. Append the new "
                                    "series to it?\" -> No"));
    EXPECT_EQ(run.output.filter(QRegularExpression("^tick: cycle ")).size(), 1);
    EXPECT_EQ(run.output.filter("tick: no repeat measurement running").size(), 2);
    QStringList spectrum;
    ASSERT_TRUE(ymt::ReadTextFile(data + "Probe1.txt", spectrum));
    EXPECT_TRUE(spectrum.filter("Temp.[°C]").isEmpty()) << "the spectrum is left as saved";
    EXPECT_TRUE(Rows(data + "Probe1.txt").isEmpty());
    QStringList series;
    ASSERT_TRUE(ymt::ReadTextFile(data + "Probe1_series.txt", series));
    EXPECT_EQ(series.filter(QRegularExpression("^Low Field Impedance Analysis")).size(), 1);
    EXPECT_EQ(Rows(data + "Probe1_series.txt").size(), 1);
}

TEST(RepeatMeasurement, TheSeriesFileQuestionsAndTheSimulatorCaptionReadGerman) {
    QTemporaryDir home;
    const QString data = QDir(home.path()).filePath("data/");
    ASSERT_TRUE(QDir().mkpath(data));
    QFile plain(data + "plain.txt");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("a note, no series\r\n");
    plain.close();
    const ProgramRun run = RunProgram(
        home.path(), {},
        "select RadioGroup4 1\n" + SeriesSetup(false, "0.5", "1", "plain.txt") +
            "show Form1\nanswer OK\nclick Button27\ntype Edit30 s.txt\nclick Button27\ntick\n"
            "click Button27\nanswer No\nclick Button27\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("message error \"" + data +
                                    "plain.txt ist keine Seriendatei; an sie wird keine Serie "
                                    "angehängt. Bitte einen anderen Dateinamen wählen.\" -> OK"))
        << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.contains("message confirmation \"" + data +
                                    "s.txt enthält bereits eine Serie. Die neue Serie "
                                    "anhängen?\" -> No"));
    EXPECT_TRUE(run.output.contains("Form1=Zelvanor Ymt " + ymt::VersionText() +
                                    " - simulierter Analysator"));
}

TEST(RepeatMeasurement, CyclesLongerThanTheIntervalEndTheSeriesOnceTheDurationHasPassed) {
    QTemporaryDir home;
    // Every completion wait takes 25 s: a cycle (spot, sweep, refining sweep) lasts over a
    // minute, more than its interval of half a minute.
    const ProgramRun run = RunProgram(
        home.path(), "[gpib0,17]\ndevice = HP4294A\nfault = late-reply *OPC?\nlate_ms = 25000\n",
        SeriesSetup(false, "0.5", "2", "long.txt") + "click Button27\ntick\ntick\ntick\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList rows = Rows(QDir(home.path()).filePath("data/long.txt"));
    ASSERT_GE(rows.size(), 2);
    // The last cycle is the first one that ends after the two minutes.
    const double lastEnd = rows.last().split('\t')[1].toDouble();
    const double previousEnd = rows[rows.size() - 2].split('\t')[1].toDouble();
    EXPECT_GT(lastEnd, 2.0);
    EXPECT_LE(previousEnd, 2.0);
    EXPECT_LT(rows.size(), 4);
    EXPECT_EQ(
        run.output.filter(QRegularExpression("^tick: cycle \\d of 4, series finished$")).size(), 1);
}

TEST(RepeatMeasurement, ACycleFileThatCannotBeWrittenIsLoggedAndTheRowIsStillWritten) {
    QTemporaryDir home;
    // Where the spectrum of cycle 1 would go there is a folder; cycles without a temperature
    // name their files by the cycle alone.
    QDir(home.path()).mkpath("data/probe/0001.txt");
    const ProgramRun run = RunProgram(home.path(), {},
                                      SeriesSetup(false, "0.5", "300", "probe.txt") +
                                          "tab TabSheet9\ncheck CheckBox21 1\ntab TabSheet8\n"
                                          "check CheckBox22 1\nclick Button27\ntick\ntick\n"
                                          "show Memo1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.filter(QRegularExpression("^message error ")).isEmpty());
    EXPECT_TRUE(run.output.contains("tick: cycle 2 of 600"));
    const QStringList log = run.output.filter(QRegularExpression(
        "^Memo1\\[\\d+\\]=Repeat measurement, cycle 1: .*/data/probe/0001\\.txt"));
    EXPECT_EQ(log.size(), 1) << run.output.join('\n').toStdString();
    EXPECT_EQ(Rows(QDir(home.path()).filePath("data/probe.txt")).size(), 2);
    EXPECT_EQ(QDir(home.path() + "/data/probe").entryList(QDir::Files), QStringList{"0002.txt"});
}

TEST(RepeatMeasurement, AfterEachCycleTheAnalyzerIsBackOnTheRangeOfTheMeasurementTab) {
    QTemporaryDir home;
    const ProgramRun run =
        RunProgram(home.path(), {},
                   SeriesSetup(false, "0.5", "1", "range.txt") + "click Button27\ntick\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    QStringList trace;
    ymt::ReadTextFile(QDir(home.path()).filePath("io.txt"), trace);
    // Each cycle: the spot measurement, the sweep of the range, the refining sweep, and then
    // the range of the tab again (the HP 4294A takes Hz).
    const QStringList ranges = trace.filter(QRegularExpression("\"STAR [0-9.]+;STOP [0-9.]+"));
    ASSERT_EQ(ranges.size(), 6);
    for (int cycle = 0; cycle < 2; ++cycle) {
        EXPECT_TRUE(ranges[3 * cycle].contains("STAR 150000.000;STOP 250000.000"));
        EXPECT_FALSE(ranges[3 * cycle + 1].contains("STAR 150000.000;STOP 250000.000"));
        EXPECT_TRUE(ranges[3 * cycle + 2].contains("STAR 150000.000;STOP 250000.000"));
    }
}

TEST(RepeatMeasurement, AThermometerThatNeverAnswersGivesDashesNotZeroDegrees) {
    QTemporaryDir home;
    const ProgramRun run =
        RunProgram(home.path(), "[COM2]\ndevice = Almemo 2290-2\nfault = silent\n",
                   SeriesSetup(true, "0.5", "1", "silent.txt") + "click Button27\ntick\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList rows = Rows(QDir(home.path()).filePath("data/silent.txt"));
    ASSERT_EQ(rows.size(), 2);
    for (const QString& row : rows) {
        const QStringList f = row.split('\t');
        ASSERT_EQ(f.size(), 12);
        EXPECT_EQ(f[0], "---");
        EXPECT_EQ(f[2], "---");
        EXPECT_GT(f[3].toDouble(), 199.0) << "the analyzer's results are still there";
    }
}

TEST(RepeatMeasurement, AskMeIsAskedOnceAndTheAnswerHoldsForTheSeries) {
    QTemporaryDir home;
    const ProgramRun run = RunProgram(home.path(), {},
                                      "tab TabSheet9\nselect RadioGroup5 2\n" +
                                          SeriesSetup(false, "0.5", "1", "german.txt") +
                                          "answer Yes\nclick Button27\ntick\ntick\n"
                                          // The spectrum backup at shut-down asks on its own.
                                          "answer No\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    // Once for the whole series, once more for the backup at shut-down.
    EXPECT_EQ(run.output.filter("German printout?").size(), 2);
    QStringList lines;
    ymt::ReadTextFile(QDir(home.path()).filePath("data/german.txt"), lines);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines[0].startsWith("Kleinsignalimpedanzmessung  "));
    EXPECT_EQ(lines[4], "Probengeometrie         : Freie Geometrie");
    EXPECT_EQ(Rows(QDir(home.path()).filePath("data/german.txt")).size(), 2);
}

TEST(RepeatMeasurement, ATimerEventWhileTheWindowIsBusyIsSkippedAndLoggedNeverNested) {
    QTemporaryDir home;
    // The event comes during the first wait for the analyzer of cycle 1, during that of
    // "CT / eps / tand", and while the box of "Delete all points" is open.
    const ProgramRun run =
        RunProgram(home.path(), {},
                   SeriesSetup(false, "0.5", "300", "busy.txt") +
                       "click Button27\ntick wait\ntick\ntick wait\nclick Button8\n"
                       "tick box\nanswer No\nclick DeletePoints1\ntick\nshow Memo1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList events = run.output.filter(QRegularExpression("^tick: |^message warning"));
    EXPECT_EQ(events, (QStringList{"tick: skipped while busy (1 so far)", "tick: cycle 1 of 600",
                                   "tick: skipped while busy (2 so far)",
                                   "tick: skipped while busy (3 so far)",
                                   "message warning \"Do you really want to delete all points?\" "
                                   "-> No",
                                   "tick: cycle 2 of 600"}));
    const QStringList log =
        run.output.filter(QRegularExpression("^Memo1\\[\\d+\\]=.*timer event skipped"));
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(log[2].endsWith("timer event skipped while busy (3 so far)."));
    // Two cycles, two whole rows: no cycle ran inside another operation.
    const QStringList rows = Rows(QDir(home.path()).filePath("data/busy.txt"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith("1.0\t"));
    EXPECT_TRUE(rows[1].startsWith("2.0\t"));
}

TEST(RepeatMeasurement, EachCycleSearchesTheBandItSweptAndABandWithoutResonanceGivesDashes) {
    QTemporaryDir home;
    // The measurement plot is zoomed on 300–400 kHz when the series over 205–260 kHz starts;
    // the second series sweeps 300–400 kHz, where |Z| only falls.
    const ProgramRun run =
        RunProgram(home.path(), {},
                   SeriesSetup(false, "0.5", "300", "band.txt",
                               "type Edit1 300\nenter Edit1\ntype Edit2 400\nenter Edit2\n") +
                       "type Edit33 205\nenter Edit33\ntype Edit34 260\nenter Edit34\n"
                       "click Button27\ntick\nclick Button27\ntype Edit33 300\nenter Edit33\n"
                       "type Edit34 400\nenter Edit34\nanswer Yes\nclick Button27\ntick\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList rows = Rows(QDir(home.path()).filePath("data/band.txt"));
    ASSERT_EQ(rows.size(), 2);

    const auto [coarseMin, coarseMax] = SweepExtremes(205, 260);
    const double d = (coarseMax - coarseMin) / 10;
    const auto [fMin, fMax] = SweepExtremes(coarseMin - d, coarseMax + d);
    // Above the series resonance both sweeps have their minimum on their first point, which the
    // search must take in.
    ASSERT_EQ(coarseMin, 205);
    ASSERT_EQ(fMin, coarseMin - d);
    const QStringList found = rows[0].split('\t');
    EXPECT_EQ(found[3], QString::number(fMin, 'f', 3));
    EXPECT_EQ(found[4], QString::number(fMax, 'f', 3));

    // f(min), f(max) and what follows from them are not determined; the capacitance is.
    const QStringList none = rows[1].split('\t');
    ASSERT_EQ(none.size(), 12);
    EXPECT_EQ(none.mid(3, 2), (QStringList{"---", "---"}));
    EXPECT_EQ(none.mid(8), (QStringList{"---", "---", "---", "---"}));
    EXPECT_NEAR(none[5].toDouble(), 1.9, 0.0015);
}

TEST(RepeatMeasurement, AResetOfTheMeasurementPlotBetweenCyclesLeavesTheSeriesRange) {
    QTemporaryDir home;
    // The measurement plot shows 300–400 kHz; "CT / eps / tand" between the cycles resets the
    // plot to it, and the series must still sweep the 150–250 kHz its tab shows.
    const ProgramRun run =
        RunProgram(home.path(), {},
                   SeriesSetup(false, "0.5", "300", "kept.txt",
                               "type Edit1 300\nenter Edit1\ntype Edit2 400\nenter Edit2\n") +
                       "click Button27\ntick\nclick Button8\ntick\nclick Button27\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList rows = Rows(QDir(home.path()).filePath("data/kept.txt"));
    ASSERT_EQ(rows.size(), 2);
    const auto [coarseMin, coarseMax] = SweepExtremes(150, 250);
    const double d = (coarseMax - coarseMin) / 10;
    const auto [fMin, fMax] = SweepExtremes(coarseMin - d, coarseMax + d);
    for (const QString& row : rows) {
        const QStringList f = row.split('\t');
        EXPECT_EQ(f[3], QString::number(fMin, 'f', 3)) << row.toStdString();
        EXPECT_EQ(f[4], QString::number(fMax, 'f', 3)) << row.toStdString();
    }
}

TEST(RepeatMeasurement, WhileAScriptedSeriesRunsAnAnalyzerFailureShowsNoBox) {
    QTemporaryDir home;
    // A series runs unattended on script ticks as on its timer: the lost trace of a sweep
    // started meanwhile goes to the log and the status bar, not into a box nobody answers.
    const ProgramRun run =
        RunProgram(home.path(), "[gpib0,17]\ndevice = HP4294A\nfault = drop-reply OUTPDTRC?\n",
                   SeriesSetup(false, "0.5", "300", "quiet.txt") +
                       "click Button27\ntick\nclick Button6\nclick Button27\nshow Memo1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.output.filter(QRegularExpression("^message error ")).isEmpty());
    EXPECT_FALSE(run.output.filter("no trace came back").isEmpty());
}

TEST(RepeatMeasurement, ACycleEvaluatesOnlyThePointsThatCameBack) {
    QTemporaryDir home;
    // Every trace ends after 300 of its 401 values.
    const ProgramRun run = RunProgram(
        home.path(), "[gpib0,17]\ndevice = HP4294A\nfault = short-trace 300\n",
        SeriesSetup(false, "0.5", "300", "short.txt") + "click Button27\ntick\ntick\nshow Memo1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList rows = Rows(QDir(home.path()).filePath("data/short.txt"));
    ASSERT_EQ(rows.size(), 2);
    // Each failed cycle is logged once, with what failed.
    for (int cycle : {1, 2}) {
        const QStringList log = run.output.filter(QRegularExpression(
            QString("^Memo1\\[\\d+\\]=Repeat measurement, cycle %1: ").arg(cycle)));
        ASSERT_EQ(log.size(), 1) << cycle;
        EXPECT_TRUE(log[0].contains("the trace of the sweep of 150.000-250.000 kHz ended after "
                                    "300 of 401 points"))
            << log[0].toStdString();
    }
    const auto [coarseMin, coarseMax] = SweepExtremes(150, 250, 300);
    const double d = (coarseMax - coarseMin) / 10;
    const auto [fMin, fMax] = SweepExtremes(coarseMin - d, coarseMax + d, 300);
    const QStringList f = rows[0].split('\t');
    EXPECT_EQ(f[3], QString::number(fMin, 'f', 3));
    EXPECT_EQ(f[4], QString::number(fMax, 'f', 3));
}

TEST(RepeatMeasurement, AStopEndsTheMeasuringOfItsCycleOnlyAndIsLogged) {
    QTemporaryDir home;
    // The stop ends the sweep of the first cycle (the capacitance was measured before it);
    // the cycle measures nothing more, writes its row and says why it has no resonance.
    const ProgramRun run = RunProgram(home.path(), {},
                                      SeriesSetup(false, "0.5", "300", "stopped.txt") +
                                          "click Button27\nstop\ntick\ntick\nclick Button27\n"
                                          "show Memo1\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList rows = Rows(QDir(home.path()).filePath("data/stopped.txt"));
    ASSERT_EQ(rows.size(), 2);
    const QStringList first = rows[0].split('\t');
    EXPECT_EQ(first.mid(3, 2), (QStringList{"---", "---"}));
    EXPECT_NE(first[5], "---");
    EXPECT_NE(rows[1].split('\t')[3], "---");
    const QStringList log =
        run.output.filter(QRegularExpression("^Memo1\\[\\d+\\]=Repeat measurement, cycle \\d: "));
    ASSERT_EQ(log.size(), 1) << run.output.join('\n').toStdString();
    EXPECT_TRUE(log[0].contains("cycle 1: stopped by the operator")) << log[0].toStdString();
}

// The window in this process on the simulated HP 4294A and the virtual clock, as --fast runs it.
class SeriesWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ymt::clock::setVirtual(true);
        ymt::sim::resetBus();
        ymt::sicl::setConfigText("[gpib0,17]\ndevice = HP4294A\n");
        w = std::make_unique<ymt::test::WindowOnTempHome>();
        w->window->show();
        if (w->window->activationCount() == 0)
            w->window->FormActivate();
        // Connect; its compensation boxes are cancelled.
        w->control<QComboBox>("ComboBox6")->setCurrentIndex(1);
        w->window->Button12Click();
    }
    void TearDown() override {
        w.reset();
        ymt::sicl::closeAllSessions();
        ymt::sicl::clearConfigText();
        ymt::sim::resetBus();
        ymt::clock::setVirtual(false);
    }
    void type(const char* field, const QString& text) {
        auto* edit = w->control<QLineEdit>(field);
        edit->setText(text);
        w->window->runExitHandler(edit);
    }
    // Starts a series of `cycles` cycles into diagram.txt and runs them.
    void runSeries(int cycles) {
        type("Edit33", "150");
        type("Edit34", "250");
        type("Edit28", "0.5");
        type("Edit29", QString::number(cycles * 0.5));
        type("Edit30", "diagram.txt");
        w->window->Button27Click();
        for (int k = 0; k < cycles; ++k)
            w->window->runTimerTick();
    }
    QStringList diagramFiles() const {
        return QDir(w->window->WorkDir + "diagram").entryList({"*.dia"}, QDir::Files, QDir::Name);
    }

    std::unique_ptr<ymt::test::WindowOnTempHome> w;
};

TEST_F(SeriesWindow, SaveEachRepeatDiagramWritesTheSeriesPlotAfterEveryCycle) {
    ASSERT_GT(w->window->AnalyzerHandle, 0);
    auto* saveDiagrams = w->control<QCheckBox>("CheckBox15");
    ASSERT_FALSE(saveDiagrams->isChecked());
    runSeries(2);
    EXPECT_TRUE(diagramFiles().isEmpty());

    saveDiagrams->setChecked(true);
    w->dialogs.answers.push_back(ymt::DialogButton::Yes); // append to the series of before
    runSeries(3);
    EXPECT_FALSE(saveDiagrams->isVisibleTo(w->window.get()));
    // Without a thermometer the cycles have no temperature to name.
    ASSERT_EQ(diagramFiles(),
              (QStringList{"xdiagram_0001.dia", "xdiagram_0002.dia", "xdiagram_0003.dia"}));
    const int header = 7 + 81 + 1 + 4 * 4 + 3 * ymt::kGraphAxisRecordSize + 25 * 4;
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE(k);
        QFile file(QDir(w->window->WorkDir + "diagram").filePath(diagramFiles()[k - 1]));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GT(bytes.size(), header);
        const char* data = bytes.constData();
        EXPECT_EQ(bytes.left(7), QByteArray("\x06"
                                            "FG1.0g"));
        // The plot as it stood after cycle k: k points in each of curves 1 (C), 2 (f(min)) and
        // 3 (f(max)), none in the others.
        for (int curve = 1; curve <= 25; ++curve)
            EXPECT_EQ(qFromLittleEndian<qint32>(data + header - 100 + 4 * (curve - 1)),
                      curve <= 3 ? k : 0)
                << "curve " << curve;
        const int curveBytes = ymt::kGraphCurveRecordSize + 16 * k;
        const int comments = header + 3 * curveBytes;
        ASSERT_GE(bytes.size(), comments + 4);
        EXPECT_EQ(bytes.size(), comments + 4 + 201 * qFromLittleEndian<qint32>(data + comments));
        // The last point of each curve: x the cycle number, y the cycle's result.
        const auto lastPoint = [&](int curve) {
            const char* point = data + header + curve * curveBytes - 16;
            return std::pair(qFromLittleEndian<double>(point),
                             qFromLittleEndian<double>(point + 8));
        };
        EXPECT_EQ(lastPoint(1).first, k);
        EXPECT_NEAR(lastPoint(1).second, 1.9, 0.0015);
        EXPECT_NEAR(lastPoint(2).second, 200, 1);
        EXPECT_NEAR(lastPoint(3).second, 218, 2);
    }
}

} // namespace
