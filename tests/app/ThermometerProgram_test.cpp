// The thermometer through the program: Connect logs "Thermal sensor OK." only for a port that
// opened, a kind chosen after Connect gets its own line settings (a series keeps its own), and
// the readings of a repeat series from a real serial line and a thermometer that falls silent.
#include "ConnectionTestSupport.h"
#include "core/TextFile.h"
#include "tests/instrument/PseudoTerminal.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace ymt::test {
namespace {

// Connect with thermometer kind `kind` on COM2, then a series of two cycles into seriesFile;
// between its cycles the steps `between`.
QString SeriesSteps(int kind, const QString& seriesFile, const QString& between = {}) {
    return QStringLiteral("select ComboBox7 %1\nselect ComboBox8 1\n").arg(kind) + ConnectSteps(1) +
           "tab TabSheet8\ntype Edit33 150\nenter Edit33\ntype Edit34 250\nenter Edit34\n"
           "type Edit28 0.5\nenter Edit28\ntype Edit29 1\nenter Edit29\n"
           "type Edit30 \"" +
           seriesFile + "\"\nclick Button27\ntick\n" + between + "tick\nshow Memo1\n";
}

// The temperature of each row of a series file (the mean of the cycle's two readings).
QStringList SeriesTemperatures(const QString& path) {
    QStringList lines, temperatures;
    ReadTextFile(path, lines);
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() == 12 && !line.isEmpty() &&
            (line.front().isDigit() || line.front() == QLatin1Char('-')))
            temperatures << fields[0];
    }
    return temperatures;
}

TEST(ThermometerProgram, AReplyEndingInCrLfOnARealSerialLineIsTaken) {
    testing::PseudoTerminal line;
    ASSERT_TRUE(line.ok());
    // An Almemo 2290-2 set up to end its lines with CR LF instead of ETX.
    std::atomic<bool> done{false};
    std::thread device([&] {
        while (!done)
            if (line.receive(50).contains("P01"))
                line.send("01:00:00 00:01: P1 +22.50 C\r\n");
    });
    QTemporaryDir dir;
    const QString series = dir.filePath(QStringLiteral("series.txt"));
    const SimulatorRun run =
        RunOnSimulator(SeriesSteps(1, series),
                       QStringLiteral("[interfaces]\nCOM2 = serial %1\n").arg(line.path()));
    done = true;
    device.join();
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(SeriesTemperatures(series), QStringList({"22.5", "22.5"}))
        << run.box("Memo1").join('\n').toStdString();
    // One query per reading (at the start and twice a cycle): the reply was used at once, not
    // asked again after timeouts.
    EXPECT_EQ(run.ioTrace.filter(QRegularExpression("^iwrite \\d+ \"P01\" END$")).size(), 5);
}

TEST(ThermometerProgram, AKindChosenDuringASeriesGetsItsLineOnlyAtTheEnd) {
    QTemporaryDir dir;
    const QString series = dir.filePath(QStringLiteral("series.txt"));
    const SimulatorRun run = RunOnSimulator(SeriesSteps(1, series, "select ComboBox7 3\n"),
                                            "[COM2]\ndevice = Almemo 2290-2\ntemperature = 20\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    for (const QString& temperature : SeriesTemperatures(series))
        EXPECT_NE(temperature, "---");
    EXPECT_EQ(SeriesTemperatures(series).size(), 2);
    const auto lastIndex = [&run](const QString& pattern) {
        qsizetype found = -1;
        for (qsizetype i = 0; i < run.ioTrace.size(); ++i)
            if (run.ioTrace[i].contains(QRegularExpression(pattern)))
                found = i;
        return found;
    };
    const qsizetype slowLine = lastIndex("^iserialctrl \\d+ 1 1200 ");
    ASSERT_GE(slowLine, 0) << "the kind chosen during the series gets its line at the end";
    EXPECT_GT(slowLine, lastIndex("^iwrite \\d+ \"P01\" END$"));
}

TEST(ThermometerProgram, AThermometerThatFallsSilentIsLoggedOnceAndUsedWhenItIsBack) {
    QTemporaryDir dir;
    const QString series = dir.filePath(QStringLiteral("series.txt"));
    // Silent for the first three readings (six queries each: the start and the first cycle),
    // then answering.
    const SimulatorRun run =
        RunOnSimulator(SeriesSteps(1, series),
                       "[COM2]\ndevice = Almemo 2290-2\ntemperature = 20\nfault = silent 18\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_EQ(SeriesTemperatures(series), QStringList({"---", "20.0"}));
    const QStringList log = run.box("Memo1");
    EXPECT_EQ(log.filter("Thermometer: no reading").size(), 1) << log.join('\n').toStdString();
    EXPECT_EQ(log.filter("Thermometer: readings again.").size(), 1);
}

TEST(ThermometerProgram, APortThatDoesNotOpenIsLoggedAsSuchNotAsOk) {
    const SimulatorRun run = RunOnSimulator(
        "select ComboBox7 1\nselect ComboBox8 5\n" + ConnectSteps(1) + "show Memo1\n",
        "[interfaces]\nCOM6 = serial /dev/ttyNoSuchThermometer\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList log = run.box("Memo1");
    EXPECT_FALSE(log.contains("Thermal sensor OK."));
    EXPECT_TRUE(log.contains("Error: Thermal sensor not found on COM6 (/dev/ttyNoSuchThermometer: "
                             "No such file or directory)!"))
        << log.join('\n').toStdString();
}

TEST(ThermometerProgram, StartupCommandsOfTheAlmemo2290_4AfterConnect) {
    const SimulatorRun run = RunOnSimulator("select ComboBox7 2\nselect ComboBox8 1\n" +
                                                ConnectSteps(1) + "show Memo1\n",
                                            "[COM2]\ndevice = Almemo 2290-4\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_TRUE(run.box("Memo1").contains("Thermal sensor OK."));
    EXPECT_TRUE(run.ioTrace.filter(QRegularExpression("^iwrite \\d+ \"G00\" END$")).size() == 1);
    EXPECT_TRUE(run.ioTrace.filter(QRegularExpression("^iwrite \\d+ \"A1\" END$")).size() == 1);
}

TEST(ThermometerProgram, ChangingTheKindAfterConnectSendsItsBaudRate) {
    const SimulatorRun run = RunOnSimulator("select ComboBox7 1\nselect ComboBox8 1\n" +
                                                ConnectSteps(1) + "select ComboBox7 4\n",
                                            "[COM2]\ndevice = Therm 3280-6\n");
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    const QStringList baud = run.ioTrace.filter(QRegularExpression("^iserialctrl \\d+ 1 "));
    ASSERT_EQ(baud.size(), 2);
    EXPECT_TRUE(baud[0].contains(" 1 9600 "));
    EXPECT_TRUE(baud[1].contains(" 1 1200 "));
}

} // namespace
} // namespace ymt::test
