// The parts of the real-hardware transports that need no adapter: the [interfaces] line, the
// "++" line protocol, linux-gpib timeout codes, and the USBTMC transport with its read/write
// path on a pseudo-terminal and the driver's ioctls faked.
#include "InstrumentTestSupport.h"

#include "core/Clock.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/transports/AdapterLine.h"
#include "instrument/transports/ByteChannel.h"
#include "instrument/transports/LinuxGpibTransport.h"
#include "instrument/transports/PrologixProtocol.h"
#include "instrument/transports/PrologixTransport.h"
#include "instrument/transports/UsbtmcTransport.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

using ymt::testing::InstrumentTest;

namespace ymt {
namespace {

TEST(AdapterLineTest, EachTransportReadsItsParameters) {
    sicl::AdapterLine line;
    QString error;
    ASSERT_TRUE(sicl::parseAdapterLine("prologix", "tcp 192.168.1.50", line, &error));
    EXPECT_EQ(line.kind, sicl::AdapterLine::Kind::PrologixTcp);
    EXPECT_EQ(line.host, "192.168.1.50");
    EXPECT_EQ(line.port, 1234) << "the adapters' port";
    ASSERT_TRUE(sicl::parseAdapterLine("Prologix", "TCP  adapter.lab:4000", line, &error));
    EXPECT_EQ(line.host, "adapter.lab");
    EXPECT_EQ(line.port, 4000);
    ASSERT_TRUE(sicl::parseAdapterLine("prologix", "serial /dev/ttyUSB0 9600", line, &error));
    EXPECT_EQ(line.kind, sicl::AdapterLine::Kind::PrologixSerial);
    EXPECT_EQ(line.devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(line.baudRate, 9600);
    ASSERT_TRUE(sicl::parseAdapterLine("usbtmc", "/dev/usbtmc0", line, &error));
    EXPECT_EQ(line.devicePath, "/dev/usbtmc0");
    ASSERT_TRUE(sicl::parseAdapterLine("linux-gpib", "1", line, &error));
    EXPECT_EQ(line.boardIndex, 1);
    EXPECT_TRUE(line.library.isEmpty());
    ASSERT_TRUE(
        sicl::parseAdapterLine("visa", "GPIB0::%d::INSTR /opt/lib/libvisa.so", line, &error));
    EXPECT_EQ(line.library, "/opt/lib/libvisa.so");
    EXPECT_EQ(sicl::visaResourceFor(line.resource, 17), "GPIB0::17::INSTR");
}

TEST(AdapterLineTest, UnusableParametersAreRefusedWithAReason) {
    const std::pair<const char*, const char*> bad[] = {{"prologix", ""},
                                                       {"prologix", "tcp"},
                                                       {"prologix", "tcp a:0"},
                                                       {"prologix", "tcp a:70000"},
                                                       {"prologix", "tcp a b"},
                                                       {"prologix", "udp a"},
                                                       {"prologix", "serial"},
                                                       {"prologix", "serial /dev/ttyUSB0 fast"},
                                                       {"usbtmc", ""},
                                                       {"usbtmc", "/dev/usbtmc0 extra"},
                                                       {"linux-gpib", ""},
                                                       {"linux-gpib", "-1"},
                                                       {"linux-gpib", "16"},
                                                       {"linux-gpib", "0 lib extra"},
                                                       {"visa", ""},
                                                       {"visa", "GPIB0::%s::INSTR"},
                                                       {"visa", "GPIB%d::%d::INSTR"},
                                                       {"telnet", "x"}};
    for (const auto& [name, parameters] : bad) {
        sicl::AdapterLine line;
        QString error;
        EXPECT_FALSE(sicl::parseAdapterLine(name, parameters, line, &error))
            << name << " " << parameters;
        EXPECT_FALSE(error.isEmpty()) << name << " " << parameters;
    }
}

TEST(PrologixProtocolTest, InstrumentDataSurvivesEscapingAndSplitting) {
    const QByteArray data("A\r\nB+\x1b"
                          "C++D\n",
                          11);
    prologix::LineSplitter splitter;
    const QByteArray stream = "++addr 17\r\n" +
                              prologix::dataLine(data.constData(), std::size_t(data.size())) +
                              "\n\r++read eoi\n";
    // Byte by byte, so that an escape split from its byte is handled too.
    for (const char byte : stream)
        splitter.feed(&byte, 1);
    auto line = splitter.next();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->kind, prologix::AdapterLine::Kind::Command);
    EXPECT_EQ(line->text, "addr 17");
    line = splitter.next();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->kind, prologix::AdapterLine::Kind::Data);
    EXPECT_EQ(line->text, data);
    line = splitter.next();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text, "read eoi");
    EXPECT_FALSE(splitter.next());
}

TEST(PrologixProtocolTest, LineOverTheLimitIsRefusedAndTheNextOneIsRead) {
    prologix::LineSplitter splitter;
    const QByteArray chunk(4096, 'x');
    for (int i = 0; i < 17; ++i) {
        splitter.feed(chunk.constData(), std::size_t(chunk.size()));
        EXPECT_FALSE(splitter.next());
    }
    splitter.feed("tail\nPOIN?\n", 11);
    auto line = splitter.next();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->kind, prologix::AdapterLine::Kind::Overlong);
    line = splitter.next();
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text, "POIN?");
}

TEST(PrologixProtocolTest, StatusByteReplies) {
    unsigned char status = 0;
    EXPECT_TRUE(prologix::parseStatusByteReply("64\r\n", status));
    EXPECT_EQ(status, 64);
    for (const char* bad : {"", "\r\n", "256\n", "-1\n", "6x\n", "1000\n"})
        EXPECT_FALSE(prologix::parseStatusByteReply(bad, status)) << bad;
}

// An adapter that answers query "Qn?" with "Rn": the first reply only after its read timed out
// (it comes with the next wait), every later one at once.
class LateFirstReplyAdapter : public sicl::ByteChannel {
public:
    int writeAll(const char* data, std::size_t count, long) override {
        splitter.feed(data, count);
        while (auto line = splitter.next()) {
            if (line->kind == prologix::AdapterLine::Kind::Data)
                query = line->text;
            else if (line->text == "ver")
                output += "adapter\r\n";
            else if (line->text == "spoll")
                output += "0\r\n";
            else if (line->text == "read eoi")
                (reads++ == 0 ? held : output) += "R" + query.mid(1, query.size() - 2) + "\n";
        }
        return sicl::I_ERR_NOERROR;
    }
    int readSome(char* buffer, std::size_t size, long timeoutMs, std::size_t* got) override {
        *got = 0;
        if (output.isEmpty()) {
            clock::sleepMs(timeoutMs);
            output += std::exchange(held, QByteArray());
            return sicl::I_ERR_TIMEOUT;
        }
        *got = std::min(size, std::size_t(output.size()));
        std::memcpy(buffer, output.constData(), *got);
        output.remove(0, qsizetype(*got));
        return sicl::I_ERR_NOERROR;
    }

private:
    prologix::LineSplitter splitter;
    QByteArray query, output, held;
    int reads = 0;
};

TEST(PrologixTransportTest, AReplyThatComesWhileTheNextQueryIsPreparedIsDroppedWhole) {
    clock::setVirtual(true);
    int error = 0;
    auto transport = sicl::PrologixTransport::open(std::make_unique<LateFirstReplyAdapter>(), 17,
                                                   QStringLiteral("test"), &error);
    ASSERT_TRUE(transport);
    transport->setTimeout(1000);
    for (int query = 0; query < 3; ++query) {
        const QByteArray text = "Q" + QByteArray::number(query) + "?";
        std::size_t sent = 0;
        ASSERT_EQ(transport->write(text.constData(), std::size_t(text.size()), true, &sent),
                  sicl::I_ERR_NOERROR);
        char reply[16];
        int reason = 0;
        std::size_t got = 0;
        const int rc = transport->read(reply, sizeof reply, &reason, &got);
        if (query == 0) {
            EXPECT_EQ(rc, sicl::I_ERR_TIMEOUT);
            continue;
        }
        EXPECT_EQ(rc, sicl::I_ERR_NOERROR);
        EXPECT_EQ(QByteArray(reply, qsizetype(got)), "R" + QByteArray::number(query) + "\n");
    }
    clock::setVirtual(false);
}

TEST(LinuxGpibTest, TimeoutCodeIsTheSmallestNotBelowTheTime) {
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(0), 0);
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(1), 5);
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(100), 9);
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(101), 10);
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(1000), 11);
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(2000), 12);
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(30000), 14);
    EXPECT_EQ(sicl::linuxGpibTimeoutCode(5000000), 17);
}

// The usbtmc driver as far as the transport sees it: messages through the device end of a
// pseudo-terminal; ioctls recorded; a read waits at most the timeout set, then fails with
// ETIMEDOUT like the driver.
class FakeUsbtmcDriver : public sicl::KernelUsbtmcDevice {
public:
    explicit FakeUsbtmcDriver(int fd) : KernelUsbtmcDevice(fd) {}
    ssize_t readMessage(char* buffer, std::size_t size) override {
        pollfd entry{fd(), POLLIN, 0};
        if (::poll(&entry, 1, int(std::min<std::uint32_t>(timeoutMs, 60000))) == 0)
            return -ETIMEDOUT;
        return KernelUsbtmcDevice::readMessage(buffer, size);
    }
    int readStatusByte(unsigned char* status) override {
        *status = statusByte;
        return unplugged ? -ENODEV : 0;
    }
    int clear() override {
        ++clears;
        return 0;
    }
    int setTimeout(std::uint32_t ms) override {
        timeoutMs = ms;
        return 0;
    }
    unsigned char statusByte = 0x40;
    bool unplugged = false;
    int clears = 0;
    std::uint32_t timeoutMs = 5000;
};

class UsbtmcTest : public InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        ASSERT_EQ(::openpty(&instrumentEnd, &controllerEnd, nullptr, nullptr, nullptr), 0);
        termios raw{};
        ::tcgetattr(controllerEnd, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(controllerEnd, TCSANOW, &raw);
        sicl::registerTransport(
            QStringLiteral("usbtmc"),
            sicl::makeUsbtmcTransportFactory(
                [this](const QString& path, QString* error) { return open(path, error); }));
    }
    void TearDown() override {
        InstrumentTest::TearDown();
        sicl::registerTransport(QStringLiteral("usbtmc"), sicl::makeUsbtmcTransportFactory());
        ::close(instrumentEnd);
    }
    std::unique_ptr<sicl::UsbtmcDevice> open(const QString& path, QString* error) {
        if (path != QLatin1String("/dev/usbtmc-fake")) {
            *error = QStringLiteral("no such device");
            return nullptr;
        }
        auto device = std::make_unique<FakeUsbtmcDriver>(controllerEnd);
        driver = device.get();
        return device;
    }
    QByteArray receivedByInstrument() {
        char buffer[256];
        const ssize_t n = ::read(instrumentEnd, buffer, sizeof buffer);
        return n > 0 ? QByteArray(buffer, n) : QByteArray();
    }
    void instrumentSends(const QByteArray& reply) {
        ASSERT_EQ(::write(instrumentEnd, reply.constData(), std::size_t(reply.size())),
                  reply.size());
    }
    int instrumentEnd = -1, controllerEnd = -1;
    FakeUsbtmcDriver* driver = nullptr;
};

TEST_F(UsbtmcTest, MessagesGoThroughTheDeviceFileAndRepliesEndAtTheirEnd) {
    useConfig(QStringLiteral("[interfaces]\ngpib0 = usbtmc /dev/usbtmc-fake\n"));
    analyzer.AnalyzerSession = &session;
    analyzer.AnalyzerModel = 1;
    session.Open(17, analyzer.AnalyzerHandle);
    ASSERT_GT(analyzer.AnalyzerHandle, 0);
    EXPECT_EQ(driver->clears, 1) << "Open clears the device";
    EXPECT_EQ(driver->timeoutMs, 2000u);
    session.Write(analyzer.AnalyzerHandle, QStringLiteral("STAR?"));
    EXPECT_EQ(receivedByInstrument(), "STAR?\r\n");
    instrumentSends("+4.00000000000E+01\n");
    QString reply;
    session.Read(analyzer.AnalyzerHandle, reply);
    EXPECT_EQ(reply, "+4.00000000000E+01\n");

    // The 4194A's 13-byte fields: a full buffer is no end, the field with the LF is.
    instrumentSends("+1.00000E+02,+2.00000E+02\n");
    std::array<double, 5> values{};
    int count = 5;
    session.ReadFixedValues(analyzer.AnalyzerHandle, count, values);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(values[1], 200);
}

TEST_F(UsbtmcTest, StatusByteClearAndTimeoutGoThroughTheDriversIoctls) {
    useConfig(QStringLiteral("[interfaces]\ngpib0 = usbtmc /dev/usbtmc-fake\n"));
    const int handle = sicl::iopen("gpib0,17");
    ASSERT_NE(handle, 0);
    unsigned char status = 0;
    EXPECT_EQ(sicl::ireadstb(handle, &status), 0);
    EXPECT_EQ(status, 0x40);
    EXPECT_EQ(sicl::iclear(handle), 0);
    EXPECT_EQ(driver->clears, 1);
    sicl::itimeout(handle, 20);
    EXPECT_EQ(driver->timeoutMs, 100u) << "the driver's shortest";
    sicl::itimeout(handle, 0);
    EXPECT_EQ(driver->timeoutMs, std::numeric_limits<std::uint32_t>::max()) << "no limit";
    sicl::itimeout(handle, 300);

    QElapsedTimer timer;
    timer.start();
    char buffer[16];
    int reason = 0;
    std::size_t got = 0;
    EXPECT_EQ(sicl::iread(handle, buffer, sizeof buffer, &reason, &got), sicl::I_ERR_TIMEOUT);
    EXPECT_LT(timer.elapsed(), 5000);
    driver->unplugged = true;
    EXPECT_EQ(sicl::ireadstb(handle, &status), sicl::I_ERR_IO);
}

TEST_F(UsbtmcTest, MissingDeviceFileIsNamed) {
    useConfig(QStringLiteral("[interfaces]\ngpib0 = usbtmc /dev/usbtmc9\n"));
    EXPECT_EQ(sicl::iopen("gpib0,17"), 0);
    EXPECT_TRUE(sicl::lastOpenProblem().contains(QLatin1String("no such device")));
    // The real opener names the file and the system's reason.
    QString error;
    EXPECT_EQ(sicl::openKernelUsbtmc(QStringLiteral("/nonexistent/usbtmc0"), &error), nullptr);
    EXPECT_TRUE(error.contains(QLatin1String("/nonexistent/usbtmc0"))) << error.toStdString();
}

} // namespace
} // namespace ymt
