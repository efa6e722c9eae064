// The thermometer through the program: Connect logs "Thermal sensor OK." only for a port that
// opened, and a kind chosen after Connect gets its own line settings.
#include "ConnectionTestSupport.h"

#include <gtest/gtest.h>

namespace ymt::test {
namespace {

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
