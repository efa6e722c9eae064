// The repeat measurement through the program (--fast, the script step "tick"): the series file
// against the sample model and the thermometer's ramp, the cycles the title announces, stop and
// restart, the overwrite question, bad field input and a series file that can no longer grow.
#include "core/TextFile.h"
#include "instrument/SampleModel.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

struct ProgramRun {
    int exitCode = -1;
    QStringList output;
};

// Runs the program on home with sicl.conf and the script; limitKiB > 0 limits the size of the
// files it may write (a full disk, as far as the program can tell).
ProgramRun RunProgram(const QString& home, const QString& siclConf, const QString& script,
                      int limitKiB = 0) {
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
    if (limitKiB == 0)
        arguments << "--io-trace" << dir.filePath("io.txt");
    if (limitKiB > 0) {
        QString command =
            QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(limitKiB);
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

// Connect to the simulated HP 4294A (with the thermometer when one is selected), then the
// fields of tab "Repeat Measurement".
QString SeriesSetup(bool thermometer, const QString& interval, const QString& duration,
                    const QString& file) {
    return QString(thermometer ? "select ComboBox7 1\nselect ComboBox8 1\n" : "") +
           // The series evaluates the thickness mode (the stored type starts at k31).
           "select ComboBox4 2\n"
           "select ComboBox6 1\nanswer OK\nanswer OK\nclick Button12\ntab TabSheet8\n"
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
// inclusive, and the points keep the frequencies it measured them at.
std::pair<double, double> SweepExtremes(double low, double high) {
    const ymt::SampleModel sample = ymt::DefaultSampleModel();
    int iMin = 0, iMax = 0;
    double zMin = INFINITY, zMax = 0;
    for (int i = 0; i < 401; ++i) {
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
                       "click Button27\ntick\nclick Button27\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
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

TEST(RepeatMeasurement, AFileThatCannotGrowStopsTheSeriesWithOneMessage) {
    QTemporaryDir home;
    QString ticks;
    for (int i = 0; i < 40; ++i)
        ticks += "tick\n";
    // Files may not grow beyond 2 KiB: the header fits, some twenty rows later writing fails.
    const ProgramRun run = RunProgram(
        home.path(), {},
        SeriesSetup(false, "0.5", "300", "full.txt") + "answer OK\nclick Button27\n" + ticks +
            "answer OK\n",
        2);
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    // One message for the series; the second is the spectrum backup at shut-down, which cannot
    // grow beyond the limit either and is reported, not lost silently.
    const QStringList errors = run.output.filter(QRegularExpression("^message error "));
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[1].contains("_dia.txt"));
    const int cycles = run.output.filter(QRegularExpression("^tick: cycle ")).size();
    EXPECT_GT(cycles, 5);
    EXPECT_LT(cycles, 40);
    EXPECT_EQ(run.output.filter("tick: no repeat measurement running").size(), 40 - cycles);
    // What was written stays: every complete row is still there.
    EXPECT_GE(Rows(QDir(home.path()).filePath("data/full.txt")).size(), cycles - 1);
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

} // namespace
