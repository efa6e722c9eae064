// TSicl over the simulated bus: opening, the bytes of a write, error texts, the 13-byte field
// reading and the pair reading, including devices that send too much, too little or garbage.
#include "InstrumentTestSupport.h"

#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "instrument/sicl/Transport.h"

#include <array>
#include <cmath>
#include <cstring>
#include <memory>

using ymt::testing::InstrumentTest;

namespace ymt {
namespace {

class SiclObjectTest : public InstrumentTest {};

TEST_F(SiclObjectTest, OpenPassesInterfaceCommaAddressThenTimeoutClearAndVersion) {
    TSicl gpib(QStringLiteral("gpib0"), 2000);
    int handle = 0;
    gpib.Open(17, handle);
    EXPECT_EQ(handle, 1);
    EXPECT_EQ(trace, QByteArrayList({"iopen \"gpib0,17\" -> 1", "itimeout 1 2000 rc=0",
                                     "iclear 1 rc=0", "iversion 1 0 rc=0"}));
    EXPECT_EQ(gpib.Terminator, QByteArray("\r\n"));
    EXPECT_EQ(gpib.VersionMajor, sicl::kVersionMajor);
}

TEST_F(SiclObjectTest, OpenWhereNothingAnswersGivesHandleZeroAndTheVersionResult) {
    TSicl gpib(QStringLiteral("gpib0"), 2000);
    gpib.LastError = 99;
    int handle = 5;
    gpib.Open(5, handle);
    EXPECT_EQ(handle, 0);
    EXPECT_EQ(gpib.LastError, 0);
    EXPECT_EQ(trace, QByteArrayList({"iopen \"gpib0,5\" -> 0", "iversion 1 0 rc=0"}));
}

TEST_F(SiclObjectTest, ErrorTextOfOwnAndLibraryCodes) {
    TSicl gpib(QStringLiteral("gpib0"), 2000);
    const QList<QPair<int, QString>> cases = {{-2, QStringLiteral("card is not open!")},
                                              {-1, QStringLiteral("card is open!")},
                                              {0, QStringLiteral("no error")},
                                              {-7, QStringLiteral("no entry in error list")},
                                              {5, QStringLiteral("Invalid parameter")}};
    for (const auto& [code, text] : cases) {
        gpib.LastError = code;
        EXPECT_EQ(gpib.ErrorText(), text) << code;
    }
}

TEST_F(SiclObjectTest, LibraryErrorTextsHoldNoDigits) {
    for (int code = 0; code <= 20; ++code) {
        const QString text = QString::fromLatin1(sicl::igeterrstr(code));
        EXPECT_FALSE(text.isEmpty());
        EXPECT_EQ(ParseNumber(text), 0.0) << text.toStdString();
        for (const QChar c : text)
            EXPECT_FALSE(c.isDigit()) << text.toStdString();
    }
}

TEST_F(SiclObjectTest, WriteSendsCommandWithCrLfAndEnd) {
    connect(1);
    session.Write(analyzer.AnalyzerHandle, QStringLiteral("PRES"));
    EXPECT_EQ(trace, QByteArrayList({"iwrite 1 \"PRES\\r\\n\" END"}));
    EXPECT_EQ(session.LastError, 0);
}

TEST_F(SiclObjectTest, ReadReturnsTheReplyOrTheErrorText) {
    connect(1);
    session.Write(analyzer.AnalyzerHandle, QStringLiteral("STAR?"));
    QString reply;
    session.Read(analyzer.AnalyzerHandle, reply);
    EXPECT_EQ(reply, QStringLiteral("+4.00000000000E+01\n"));
    session.Read(analyzer.AnalyzerHandle, reply); // nothing asked: times out
    EXPECT_EQ(session.LastError, sicl::I_ERR_TIMEOUT);
    EXPECT_EQ(reply, QStringLiteral("Timeout occurred"));
}

TEST_F(SiclObjectTest, CloseWithHandleZeroCallsNothing) {
    session.Close(0);
    EXPECT_TRUE(trace.isEmpty());
    connect(0);
    session.Close(analyzer.AnalyzerHandle);
    EXPECT_EQ(trace, QByteArrayList({"iclose 1 rc=0"}));
}

TEST_F(SiclObjectTest, FixedValuesAreReadInThirteenByteFields) {
    connect(0);
    analyzer.SetSweepRange(100, 300);
    analyzer.SendCommand(QStringLiteral("nop=3;b?"));
    trace.clear();
    std::array<double, 401> values{};
    int count = 401;
    session.ReadFixedValues(analyzer.AnalyzerHandle, count, values);
    ASSERT_EQ(count, 3);
    const QByteArrayList reads = lines("iread");
    ASSERT_EQ(reads.size(), 3);
    // 12 characters of number, then one separator; the last ends the message.
    EXPECT_TRUE(reads[0].endsWith(",\" rc=0")) << reads[0].constData();
    EXPECT_EQ(reads[0].size(), QByteArray("iread 1 \"+8.93411E+01,\" rc=0").size());
    EXPECT_TRUE(reads[2].endsWith("\\n\" rc=0"));
    const ImpedancePolar middle = SampleZTheta(DefaultSampleModel(), 200.0);
    EXPECT_NEAR(values[1], middle.thetaDeg, 5e-5 * std::fabs(middle.thetaDeg));
    EXPECT_EQ(values[3], 0.0) << "nothing beyond the values read";
}

TEST_F(SiclObjectTest, FixedValuesStopAtCountWhenTheDeviceSendsMore) {
    connect(0, QStringLiteral("fault = extra-values 50"));
    analyzer.SendCommand(QStringLiteral("nop=10;a?"));
    std::array<double, 12> values;
    values.fill(-1);
    int count = 10;
    session.ReadFixedValues(analyzer.AnalyzerHandle, count, values);
    EXPECT_EQ(count, 10);
    EXPECT_EQ(values[10], -1);
    EXPECT_EQ(values[11], -1);
    // Asking for more than the array holds is bounded by the array.
    analyzer.SendCommand(QStringLiteral("a?"));
    count = 400;
    session.ReadFixedValues(analyzer.AnalyzerHandle, count, values);
    EXPECT_EQ(count, 12);
}

TEST_F(SiclObjectTest, FixedValuesStopWhenTheDeviceEndsEarly) {
    connect(0, QStringLiteral("fault = short-trace 7"));
    analyzer.SendCommand(QStringLiteral("a?"));
    std::array<double, 401> values;
    values.fill(-1);
    int count = 401;
    session.ReadFixedValues(analyzer.AnalyzerHandle, count, values);
    EXPECT_EQ(count, 7);
    EXPECT_GT(values[6], 0);
    EXPECT_EQ(values[7], -1);
    EXPECT_EQ(session.LastError, 0);
}

TEST_F(SiclObjectTest, FixedValuesOfGarbageStoreTheOneFailedField) {
    connect(0, QStringLiteral("fault = garbage-reply A?"));
    analyzer.SendCommand(QStringLiteral("a?"));
    std::array<double, 401> values;
    values.fill(-1);
    int count = 401;
    session.ReadFixedValues(analyzer.AnalyzerHandle, count, values);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(values[0], 0.0);
    EXPECT_EQ(values[1], -1);
    EXPECT_EQ(session.LastError, 1) << "conversion failed at the first character";
}

TEST_F(SiclObjectTest, FixedValuesOnTimeoutReadNothing) {
    connect(0, QStringLiteral("fault = drop-reply A?"));
    analyzer.SendCommand(QStringLiteral("a?"));
    std::array<double, 401> values;
    values.fill(-1);
    int count = 401;
    const qint64 start = clock::nowMs();
    session.ReadFixedValues(analyzer.AnalyzerHandle, count, values);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(values[0], -1);
    EXPECT_EQ(session.LastError, sicl::I_ERR_TIMEOUT);
    EXPECT_LE(clock::nowMs() - start, 2100);
}

TEST_F(SiclObjectTest, ValuePairsKeepTheFirstOfEachPair) {
    connect(1);
    analyzer.PresetAnalyzer();
    analyzer.SetSweepRange(100, 300);
    session.Write(analyzer.AnalyzerHandle, QStringLiteral("OUTPDTRC?"));
    trace.clear();
    std::array<double, 401> values{};
    session.ReadValuePairs(analyzer.AnalyzerHandle, 401, values);
    EXPECT_EQ(trace, QByteArrayList({"iscanf 1 \"%,802lf\" -> 802"}));
    for (int i : {0, 200, 400}) {
        const double f = 100 + 200.0 * i / 400;
        const double expected = SampleZTheta(DefaultSampleModel(), f).magnitudeOhm;
        EXPECT_NEAR(values[std::size_t(i)], expected, expected * 1e-8) << i;
    }
}

TEST_F(SiclObjectTest, ValuePairsOfAShortTraceLeaveTheRestUnchanged) {
    connect(1, QStringLiteral("fault = short-trace 5"));
    analyzer.PresetAnalyzer();
    session.Write(analyzer.AnalyzerHandle, QStringLiteral("OUTPDTRC?"));
    std::array<double, 401> values;
    values.fill(-1);
    session.ReadValuePairs(analyzer.AnalyzerHandle, 401, values);
    EXPECT_GT(values[4], 0);
    EXPECT_EQ(values[5], -1);
}

TEST_F(SiclObjectTest, ValuePairsNeverWriteBeyondTheCallersArray) {
    connect(1, QStringLiteral("fault = extra-values 300"));
    analyzer.PresetAnalyzer();
    session.Write(analyzer.AnalyzerHandle, QStringLiteral("OUTPDTRC?"));
    std::array<double, 12> values;
    values.fill(-1);
    session.ReadValuePairs(analyzer.AnalyzerHandle, 10, std::span(values).first(10));
    EXPECT_GT(values[9], 0);
    EXPECT_EQ(values[10], -1);
    session.Write(analyzer.AnalyzerHandle, QStringLiteral("OUTPDTRC?"));
    session.ReadValuePairs(analyzer.AnalyzerHandle, 5000, std::span(values).first(11));
    EXPECT_GT(values[10], 0);
    EXPECT_EQ(values[11], -1);
}

// A transport that records what it is given and answers with a fixed reply: stands in for a
// serial thermometer and shows that a new transport only needs a class and a name.
class RecordingTransport : public sicl::Transport {
public:
    explicit RecordingTransport(QByteArray reply) : reply(std::move(reply)) {}
    static inline QByteArray lastWritten;
    int write(const char* data, std::size_t count, bool, std::size_t* actual) override {
        lastWritten = QByteArray(data, qsizetype(count));
        *actual = count;
        return 0;
    }
    int read(char* buffer, std::size_t size, int* reason, std::size_t* actual) override {
        const std::size_t n = std::min(size, std::size_t(reply.size()));
        std::memcpy(buffer, reply.constData(), n);
        *actual = n;
        *reason = n == size ? sicl::I_TERM_MAXCNT : sicl::I_TERM_END;
        return 0;
    }
    int readStatusByte(unsigned char* status) override {
        *status = 0;
        return 0;
    }
    int clear() override { return 0; }
    int setTimeout(long) override { return 0; }
    int serialControl(int, unsigned long) override { return 0; }
    void close() override {}

private:
    QByteArray reply;
};

TEST_F(SiclObjectTest, ThermometerQuerySendsTheCommandByteForByte) {
    sicl::registerTransport(
        QStringLiteral("test-thermometer"),
        [](const sicl::DeviceAddress&, const QString& parameters, const sicl::SiclConfig&, int*) {
            return std::make_unique<RecordingTransport>(parameters.toLatin1());
        });
    useConfig(QStringLiteral("[interfaces]\nCOM3 = test-thermometer 012345678901234567 +23.45C\n"));
    const int handle = sicl::iopen("COM3");
    ASSERT_NE(handle, 0);
    EXPECT_EQ(sicl::iserialctrl(handle, sicl::I_SERIAL_BAUD, 9600), 0);
    const QString reply = ThermometerQuery(handle, QStringLiteral("P01"));
    EXPECT_EQ(RecordingTransport::lastWritten, QByteArray("P01"));
    EXPECT_EQ(reply, QStringLiteral("012345678901234567 +23.45C"));
}

TEST_F(SiclObjectTest, ThermometerReplyIsBoundedByItsBuffer) {
    sicl::registerTransport(
        QStringLiteral("test-chatty"),
        [](const sicl::DeviceAddress&, const QString&, const sicl::SiclConfig&, int*) {
            return std::make_unique<RecordingTransport>(QByteArray(5000, '7'));
        });
    useConfig(QStringLiteral("[interfaces]\nCOM4 = test-chatty\n"));
    const int handle = sicl::iopen("COM4");
    EXPECT_EQ(ThermometerQuery(handle, QString(3000, QLatin1Char('x'))).size(), 1024);
    EXPECT_EQ(RecordingTransport::lastWritten.size(), 1024);
    EXPECT_EQ(ThermometerQuery(0, QStringLiteral("P01")), QString());
}

} // namespace
} // namespace ymt
