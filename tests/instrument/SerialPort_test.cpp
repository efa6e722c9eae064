// The termios serial port against a pseudo-terminal: line settings, exclusive access,
// terminator and timeout of reads, flushing, and a far end that goes away.
#include "PseudoTerminal.h"

#include "core/Clock.h"
#include "instrument/transports/SerialPort.h"

#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <termios.h>

using ymt::serial::SerialFraming;
using ymt::serial::SerialPort;
using ymt::testing::PseudoTerminal;
using ReadEnd = SerialPort::ReadEnd;

namespace {

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        ymt::clock::setVirtual(false);
        ASSERT_TRUE(pty.ok());
    }
    void openPort(int baud = 9600) {
        ASSERT_TRUE(port.open(pty.path(), baud)) << port.errorText().toStdString();
    }

    termios lineSettings() const {
        termios settings{};
        tcgetattr(pty.slaveFd(), &settings);
        return settings;
    }

    PseudoTerminal pty;
    SerialPort port;
};

TEST_F(SerialPortTest, OpensRawEightNoneOneWithoutFlowControlAtTheBaudRate) {
    openPort(1200);
    const termios settings = lineSettings();
    EXPECT_EQ(cfgetospeed(&settings), speed_t(B1200));
    EXPECT_EQ(cfgetispeed(&settings), speed_t(B1200));
    EXPECT_EQ(settings.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_NE(settings.c_cflag & CLOCAL, 0u);
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ICRNL), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);

    ASSERT_TRUE(port.setBaudRate(9600));
    const termios changed = lineSettings();
    EXPECT_EQ(cfgetospeed(&changed), speed_t(B9600));
    // A pseudo-terminal always keeps 8 bits without parity; the stop bits it does keep.
    ASSERT_TRUE(port.setFraming({8, 'N', 2, false}));
    EXPECT_NE(lineSettings().c_cflag & CSTOPB, 0u);
    EXPECT_FALSE(port.setFraming({9, 'N', 1, false}));
}

TEST_F(SerialPortTest, TakesThePortExclusivelyAndReleasesItOnClose) {
    openPort();
    int exclusive = 0;
    ASSERT_EQ(ioctl(pty.slaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    port.close();
    ASSERT_EQ(ioctl(pty.slaveFd(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(SerialPortTest, RefusesMissingDevicesNonTerminalsAndOddRates) {
    EXPECT_FALSE(port.open(QStringLiteral("/dev/ttyNoSuchPort9"), 9600));
    EXPECT_TRUE(port.errorText().contains(QStringLiteral("/dev/ttyNoSuchPort9")));
    EXPECT_FALSE(port.open(QStringLiteral("/dev/null"), 9600));
    EXPECT_FALSE(port.open(pty.path(), 12345));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write("x", 1));
}

TEST_F(SerialPortTest, WritesEveryByteUnchanged) {
    openPort();
    const QByteArray bytes("P01\r\n\x03\xb0", 7);
    std::size_t written = 0;
    ASSERT_TRUE(port.write(bytes.constData(), std::size_t(bytes.size()), &written));
    EXPECT_EQ(written, 7u);
    EXPECT_EQ(pty.receive(), bytes);
}

TEST_F(SerialPortTest, ReadStopsAfterTheTerminatorAndKeepsTheRestForTheNextRead) {
    openPort();
    port.setTerminator(0x03);
    port.setTimeoutMs(2000);
    pty.send(QByteArray("+23.45\x03+24.00\x03", 14));
    ReadEnd end;
    EXPECT_EQ(port.readMessage(1024, &end), QByteArray("+23.45\x03"));
    EXPECT_EQ(end, ReadEnd::Terminator);
    EXPECT_EQ(port.readMessage(1024, &end), QByteArray("+24.00\x03"));
    EXPECT_EQ(end, ReadEnd::Terminator);
}

TEST_F(SerialPortTest, ReadEndsOnAFullBuffer) {
    openPort();
    port.setTimeoutMs(2000);
    pty.send("abcdef");
    char buffer[4];
    const auto result = port.read(buffer, sizeof buffer);
    EXPECT_EQ(result.end, ReadEnd::Full);
    EXPECT_EQ(QByteArray(buffer, 4), QByteArray("abcd"));
}

TEST_F(SerialPortTest, ReadWithoutTerminatorEndsOnTheTimeoutWithWhatCame) {
    openPort();
    port.setTerminator(0x03);
    port.setTimeoutMs(150);
    pty.send("+20.0");
    const qint64 before = ymt::clock::nowMs();
    ReadEnd end;
    EXPECT_EQ(port.readMessage(1024, &end), QByteArray("+20.0"));
    EXPECT_EQ(end, ReadEnd::Timeout);
    EXPECT_GE(ymt::clock::nowMs() - before, 150);
}

TEST_F(SerialPortTest, FlushInputDiscardsALateReply) {
    openPort();
    port.setTimeoutMs(100);
    pty.send("stale reply\x03");
    ::usleep(20000);
    port.flushInput();
    ReadEnd end;
    EXPECT_EQ(port.readMessage(1024, &end), QByteArray());
    EXPECT_EQ(end, ReadEnd::Timeout);
}

TEST_F(SerialPortTest, AFarEndThatGoesAwayEndsTheReadWithAnError) {
    openPort();
    port.setTimeoutMs(0); // no limit: only the hang-up may end this read
    pty.closeAll();
    ReadEnd end;
    port.readMessage(16, &end);
    EXPECT_EQ(end, ReadEnd::Error);
    EXPECT_FALSE(port.errorText().isEmpty());
}

} // namespace
