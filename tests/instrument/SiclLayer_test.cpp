// The SICL-style layer: address forms, sicl.conf lookup, read reasons and bounds, the list
// format of iscanf, the io-trace and the reply parsers.
#include "InstrumentTestSupport.h"

#include "instrument/analyzer/ReplyParsers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <cmath>

using ymt::testing::InstrumentTest;

namespace ymt {
namespace {

class SiclLayerTest : public InstrumentTest {};

TEST_F(SiclLayerTest, UnknownMalformedOrSilentAddressesGiveHandleZero) {
    for (const char* address : {"gpib0,5", "gpib9,17", "gpib0", "gpib0,31", "gpib0,17,3", "",
                                "gpib0,-1", ",17", "COM0", "COM2", "gpib0, 17x"})
        EXPECT_EQ(sicl::iopen(address), 0) << address;
    EXPECT_EQ(sicl::iopen(nullptr), 0);
    EXPECT_NE(sicl::iopen("gpib0,17"), 0);
    EXPECT_NE(sicl::iopen("GPIB0,17"), 0) << "interface names ignore case";
}

TEST_F(SiclLayerTest, ConfiguredInterfacesAndDevicesAnswer) {
    useConfig(QStringLiteral("[interfaces]\n"
                             "gpib0 = none   # switched off\n"
                             "hpib7 = sim\n"
                             "[hpib7,4]\n"
                             "device = HP4294A\n"));
    EXPECT_EQ(sicl::iopen("gpib0,17"), 0);
    EXPECT_EQ(sicl::iopen("hpib7,17"), 0) << "only configured addresses answer when some are";
    EXPECT_EQ(sicl::iopen("hpib7,17"), 0);
    const int handle = sicl::iopen("hpib7,4");
    ASSERT_NE(handle, 0);
    EXPECT_EQ(sicl::iwrite(handle, "POIN?\n", 6, true, nullptr), 0);
    char reply[64] = {};
    int reason = 0;
    std::size_t count = 0;
    EXPECT_EQ(sicl::iread(handle, reply, sizeof reply, &reason, &count), 0);
    EXPECT_EQ(QByteArray(reply, qsizetype(count)), "201\n");
}

TEST_F(SiclLayerTest, ConfigurationProblemsAreListedNotFatal) {
    const sicl::SiclConfig config = sicl::parseSiclConfig(
        QStringLiteral("stray line\n[gpib0,17]\nc0 = 2.2\nbranch = 1 2\nfault = explode\n"));
    EXPECT_EQ(config.problems.size(), 1);
    QStringList problems;
    const sim::SimAnalyzerConfig analyzer =
        sim::parseSimAnalyzerConfig(config.devices.value(QStringLiteral("gpib0,17")), &problems);
    EXPECT_EQ(problems.size(), 2);
    EXPECT_DOUBLE_EQ(analyzer.sample.clampedCapacitanceNF, 2.2);
    EXPECT_EQ(analyzer.sample.branches.size(), 2u) << "a bad branch keeps the default ones";
}

TEST_F(SiclLayerTest, ADeviceSectionGivenTwiceIsMadeFromItsFirstSectionOnly) {
    useConfig(QStringLiteral("[gpib0,17]\ndevice = HP4294A\n[interfaces]\ngpib0 = sim\n"
                             "[gpib0, 17]\ndevice = HP4194A\nfault = drop-reply\n"));
    const sicl::SiclConfig config = sicl::currentConfig();
    EXPECT_EQ(config.problems,
              QStringList({"line 5: section [gpib0,17] given twice; the second one is ignored"}));
    EXPECT_EQ(config.interfaces.value(QStringLiteral("gpib0")), QStringLiteral("sim"));
    ASSERT_NE(sicl::iopen("gpib0,17"), 0);
    auto* device = dynamic_cast<sim::SimAnalyzer*>(sim::deviceAt(QStringLiteral("gpib0,17")));
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->model(), sim::AnalyzerModel::HP4294A);
    EXPECT_TRUE(device->config().faults.isEmpty());
}

TEST_F(SiclLayerTest, HugeFaultCountsAndDelaysAreBounded) {
    const sim::SimAnalyzerConfig config =
        sim::parseSimAnalyzerConfig({{"device", "HP4194A"},
                                     {"fault", "extra-values 2147483647"},
                                     {"late_ms", "1e30"},
                                     {"seed", "-5e20"}});
    ASSERT_EQ(config.faults.size(), 1);
    EXPECT_EQ(config.faults[0].count, sim::kMaxFaultValues);
    EXPECT_EQ(config.lateReplyMs, 3600 * 1000);
    EXPECT_EQ(config.seed, 0u);
    const sim::SimAnalyzer analyzer(config);
    EXPECT_EQ(analyzer.traceLength(), 401 + sim::kMaxFaultValues);
}

TEST_F(SiclLayerTest, ConfigFileIsLookedUpInTheProgramDirectoryThenTheUserConfig) {
    sicl::clearConfigText();
    QTemporaryDir program, userConfig;
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", userConfig.path().toLocal8Bit());
    sicl::setProgramDirectory(program.path());
    QDir(userConfig.path()).mkpath(QStringLiteral("Kvr"));
    QFile user(userConfig.path() + QStringLiteral("/Kvr/sicl.conf"));
    ASSERT_TRUE(user.open(QIODevice::WriteOnly));
    user.write("[gpib0,3]\ndevice = HP4194A\n");
    user.close();
    EXPECT_EQ(sicl::configFilePath(), user.fileName());
    EXPECT_NE(sicl::iopen("gpib0,3"), 0);

    QFile local(program.path() + QStringLiteral("/sicl.conf"));
    ASSERT_TRUE(local.open(QIODevice::WriteOnly));
    local.write("[gpib0,4]\ndevice = HP4194A\n");
    local.close();
    EXPECT_EQ(sicl::configFilePath(), local.fileName());
    EXPECT_EQ(sicl::iopen("gpib0,3"), 0);
    EXPECT_NE(sicl::iopen("gpib0,4"), 0);

    sicl::setConfigFile(user.fileName());
    EXPECT_NE(sicl::iopen("gpib0,3"), 0) << "a file given by the tests wins";
    sicl::setConfigFile(QString());
    sicl::setProgramDirectory(QString());
    qputenv("XDG_CONFIG_HOME", savedXdg);
}

TEST_F(SiclLayerTest, ReadReportsCountReachedEndOrBoth) {
    const int handle = sicl::iopen("gpib0,17");
    sicl::iwrite(handle, "RQS2\r\n", 6, true, nullptr); // decide the language: HP 4194A
    sicl::iwrite(handle, "NOP?\r\n", 6, true, nullptr); // "+4.01000000000E+02\r\n": 20 bytes
    std::array<char, 32> buffer{};
    int reason = 0;
    std::size_t count = 0;
    EXPECT_EQ(sicl::iread(handle, buffer.data(), 13, &reason, &count), 0);
    EXPECT_EQ(reason, sicl::I_TERM_MAXCNT);
    EXPECT_EQ(count, 13u);
    EXPECT_EQ(sicl::iread(handle, buffer.data(), 7, &reason, &count), 0);
    EXPECT_EQ(reason, sicl::I_TERM_MAXCNT | sicl::I_TERM_END);
    sicl::iwrite(handle, "NOP?\r\n", 6, true, nullptr);
    EXPECT_EQ(sicl::iread(handle, buffer.data(), buffer.size(), &reason, &count), 0);
    EXPECT_EQ(reason, sicl::I_TERM_END);
    EXPECT_EQ(count, 20u);
}

TEST_F(SiclLayerTest, ReadTimesOutOnTheSessionTimeoutOfTheClock) {
    const int handle = sicl::iopen("gpib0,17");
    char buffer[8];
    int reason = 0;
    std::size_t count = 0;
    EXPECT_EQ(sicl::itimeout(handle, 700), 0);
    const qint64 start = clock::nowMs();
    EXPECT_EQ(sicl::iread(handle, buffer, sizeof buffer, &reason, &count), sicl::I_ERR_TIMEOUT);
    EXPECT_GE(clock::nowMs() - start, 700);
    EXPECT_LE(clock::nowMs() - start, 750);
    // With no limit a reply that can never come fails at once rather than hanging.
    sicl::itimeout(handle, 0);
    EXPECT_EQ(sicl::iread(handle, buffer, sizeof buffer, &reason, &count), sicl::I_ERR_TIMEOUT);
}

TEST_F(SiclLayerTest, CallsOnAClosedHandleFailCleanly) {
    const int handle = sicl::iopen("gpib0,17");
    EXPECT_EQ(sicl::iclose(handle), 0);
    char buffer[4];
    int reason = -1;
    std::size_t count = 99;
    unsigned char status = 7;
    double values[2] = {5, 5};
    EXPECT_EQ(sicl::iclose(handle), sicl::I_ERR_INVLINST);
    EXPECT_EQ(sicl::iwrite(handle, "X", 1, true, &count), sicl::I_ERR_INVLINST);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(sicl::iread(handle, buffer, sizeof buffer, &reason, &count), sicl::I_ERR_INVLINST);
    EXPECT_EQ(reason, 0);
    EXPECT_EQ(sicl::ireadstb(handle, &status), sicl::I_ERR_INVLINST);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(sicl::iscanf(handle, "%,2lf", values, 2), 0);
    EXPECT_EQ(values[0], 5);
    EXPECT_EQ(sicl::iclose(0), sicl::I_ERR_INVLINST) << "shut-down closes handle 0 harmlessly";
    EXPECT_EQ(sicl::iserialctrl(handle, sicl::I_SERIAL_BAUD, 9600), sicl::I_ERR_INVLINST);
}

TEST_F(SiclLayerTest, ScanfAcceptsOnlyTheListFormatAndRespectsCapacity) {
    connect(1, QStringLiteral("fault = extra-values 10"));
    analyzer.PresetAnalyzer();
    const int handle = analyzer.AnalyzerHandle;
    std::array<double, 8> values;
    values.fill(-1);
    sicl::iwrite(handle, "OUTPDTRC?", 9, true, nullptr);
    EXPECT_EQ(sicl::iscanf(handle, "%lf", values.data(), values.size()), 0);
    EXPECT_EQ(values[0], -1);
    sicl::iwrite(handle, "OUTPDTRC?", 9, true, nullptr);
    EXPECT_EQ(sicl::iscanf(handle, "%,802lf", values.data(), 6), 6);
    EXPECT_EQ(values[5], 0.0) << "the second value of each pair is 0";
    EXPECT_EQ(values[6], -1);
}

TEST_F(SiclLayerTest, IoTraceFileHoldsOneEscapedLinePerCall) {
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("io.txt"));
    ASSERT_TRUE(sicl::setIoTraceFile(path));
    const int handle = sicl::iopen("gpib0,17");
    sicl::iwrite(handle, "PRES\r\n", 6, true, nullptr);
    sicl::iwrite(handle, "\"q\\\x01", 4, false, nullptr);
    unsigned char status = 0;
    sicl::ireadstb(handle, &status);
    sicl::iclose(handle);
    sicl::setIoTraceFile(QString());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("iopen \"gpib0,17\" -> 1\n"
                                         "iwrite 1 \"PRES\\r\\n\" END\n"
                                         "iwrite 1 \"\\\"q\\\\\\x01\"\n"
                                         "ireadstb 1 0x00 rc=0\n"
                                         "iclose 1 rc=0\n"));
}

TEST(ReplyParsersTest, FixedFieldConvertsOrReportsTheFailingPosition) {
    double value = -1;
    EXPECT_EQ(ConvertFixedField("+1.23456E+03", 12, value), 0);
    EXPECT_DOUBLE_EQ(value, 1234.56);
    EXPECT_EQ(ConvertFixedField("-8.95432E+01", 12, value), 0);
    EXPECT_DOUBLE_EQ(value, -89.5432);
    EXPECT_EQ(ConvertFixedField("   12.5", 7, value), 0);
    EXPECT_DOUBLE_EQ(value, 12.5);
    EXPECT_EQ(ConvertFixedField("1.5\n", 4, value), 4);
    EXPECT_DOUBLE_EQ(value, 1.5) << "the digits converted so far";
    EXPECT_EQ(ConvertFixedField("2.5E+", 5, value), 4);
    EXPECT_DOUBLE_EQ(value, 2.5);
    EXPECT_EQ(ConvertFixedField("#?!garbage!?", 12, value), 1);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(ConvertFixedField("", 0, value), 1);
    EXPECT_EQ(ConvertFixedField("1E999", 5, value), 0);
    EXPECT_EQ(value, 0.0) << "out of range is not a number of the analyzer";
}

TEST(ReplyParsersTest, ValueListStopsAtCapacityOrTheFirstBadValue) {
    std::array<double, 4> values;
    values.fill(-1);
    const char list[] = "+1.0E+00, 2 ,-3e1,4,5";
    EXPECT_EQ(ParseValueList(list, sizeof list - 1, values.data(), 3), 3u);
    EXPECT_EQ(values, (std::array<double, 4>{1, 2, -30, -1}));
    const char broken[] = "7,8,x,9\n";
    EXPECT_EQ(ParseValueList(broken, sizeof broken - 1, values.data(), 4), 2u);
    EXPECT_EQ(ParseValueList("", 0, values.data(), 4), 0u);
    // A value is whole up to its separator: a garbled one is no value, not its prefix.
    const char garbled[] = "+1.0E+00,-8.9?46E+01,3\n";
    EXPECT_EQ(ParseValueList(garbled, sizeof garbled - 1, values.data(), 4), 1u);
    // A message that was cut off ends inside its last number, which is no value.
    const char cut[] = "+1.5E+00,+2.50064";
    EXPECT_EQ(ParseValueList(cut, sizeof cut - 1, values.data(), 4, false), 1u);
    EXPECT_EQ(ParseValueList(cut, sizeof cut - 1, values.data(), 4, true), 2u);
    EXPECT_EQ(ParseValueList("1,2", 3, values.data(), 0), 0u);
}

} // namespace
} // namespace ymt
