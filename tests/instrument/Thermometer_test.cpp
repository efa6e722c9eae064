// The thermometers: each kind's command, line settings and reply field over a real serial
// transport on a pseudo-terminal whose far end plays the instrument; the retries, the flush
// before each query and "no reading" on the simulated thermometers.
#include "InstrumentTestSupport.h"
#include "PseudoTerminal.h"

#include "instrument/simulated/SimThermometer.h"
#include "instrument/thermometer/Thermometer.h"
#include "instrument/transports/SerialTransport.h"

#include <atomic>
#include <termios.h>
#include <thread>

namespace ymt {
namespace {

using testing::PseudoTerminal;

// Plays an instrument on the master side: answers each complete command with a reply.
class FarEnd {
public:
    FarEnd(const PseudoTerminal& line, QByteArray command, QByteArray reply)
        : worker([this, &line, command, reply] {
              QByteArray pending;
              while (!stop) {
                  pending += line.receive(50);
                  while (pending.startsWith(command)) {
                      received << command;
                      pending.remove(0, command.size());
                      line.send(reply);
                  }
                  if (!pending.isEmpty() && !command.startsWith(pending)) {
                      received << pending;
                      pending.clear();
                  }
              }
          }) {}
    ~FarEnd() {
        stop = true;
        if (worker.joinable())
            worker.join();
    }
    QByteArrayList commands() {
        stop = true;
        if (worker.joinable())
            worker.join();
        return received;
    }

private:
    std::atomic<bool> stop{false};
    QByteArrayList received;
    std::thread worker;
};

class ThermometerOnSerialPort : public testing::InstrumentTest {
protected:
    void SetUp() override {
        InstrumentTest::SetUp();
        clock::setVirtual(false); // a real line takes real time
        ASSERT_TRUE(pty.ok());
        useConfig(QStringLiteral("[interfaces]\nCOM5 = serial %1\n").arg(pty.path()));
    }
    int openConfigured(int kind) {
        const int handle = sicl::iopen("COM5");
        EXPECT_NE(handle, 0) << sicl::lastSerialOpenProblem().toStdString();
        EXPECT_TRUE(configureThermometerLine(handle, kind));
        return handle;
    }
    speed_t lineSpeed() const {
        termios settings{};
        tcgetattr(pty.slaveFd(), &settings);
        return cfgetospeed(&settings);
    }
    PseudoTerminal pty;
};

struct KindCase {
    int kind;
    QByteArray command;
    QByteArray reply; // written by hand: the field at the documented position
    double celsius;
    speed_t speed;
};

TEST_F(ThermometerOnSerialPort, EachKindSendsItsCommandAndReadsItsField) {
    const KindCase cases[] = {
        // 18 characters, then the field at 19-25.
        {kAlmemo2290_2, "P01", "01: 12:00:00 M01:  +23.45 C\r\n\x03", 23.45, B9600},
        // 7 characters, then the field at 8-14.
        {kAlmemo2290_4, "p", "00: T1 -005.2  C\r\n\x03", -5.2, B9600},
        {kTherm3280_2, "P", "Therm 3280 K1  T=  +101.5C\r\n\x03", 101.5, B1200},
        // 17 characters, then the field at 18-24.
        {kTherm3280_6, "P01", "Therm 3280 K01 T=+0019.8 C\r\n\x03", 19.8, B1200},
    };
    for (const KindCase& kindCase : cases) {
        SCOPED_TRACE(kindCase.kind);
        const int handle = openConfigured(kindCase.kind);
        EXPECT_EQ(lineSpeed(), kindCase.speed);
        FarEnd instrument(pty, kindCase.command, kindCase.reply);
        const TemperatureReading reading = ReadTemp(handle, kindCase.kind);
        EXPECT_TRUE(reading.obtained);
        EXPECT_DOUBLE_EQ(reading.celsius, kindCase.celsius);
        EXPECT_EQ(instrument.commands(), QByteArrayList{kindCase.command});
        sicl::iclose(handle);
    }
}

TEST_F(ThermometerOnSerialPort, AReplyStillOnTheLineIsNotTakenForTheNextReading) {
    const int handle = openConfigured(kAlmemo2290_2);
    // The answer to an earlier query that came after its timeout.
    pty.send("01: 12:00:00 M01:  +11.11 C\r\n\x03");
    ::usleep(20000);
    FarEnd instrument(pty, "P01", "01: 12:00:00 M01:  +23.45 C\r\n\x03");
    EXPECT_DOUBLE_EQ(ReadTemp(handle, kAlmemo2290_2).celsius, 23.45);
}

TEST_F(ThermometerOnSerialPort, StartupCommandsOfTheAlmemo2290_4) {
    const int handle = openConfigured(kAlmemo2290_4);
    std::thread farEnd([this] {
        QByteArray got;
        for (int i = 0; i < 40 && got.size() < 5; ++i) {
            const QByteArray chunk = pty.receive(50);
            got += chunk;
            if (!chunk.isEmpty())
                pty.send("OK\r\n\x03");
        }
        EXPECT_EQ(got, QByteArray("G00A1"));
    });
    sendThermometerStartup(handle, kAlmemo2290_4);
    farEnd.join();
}

TEST_F(ThermometerOnSerialPort, AMissingPortGivesNoSessionAndSaysWhy) {
    useConfig(QStringLiteral("[interfaces]\nCOM6 = serial /dev/ttyNoSuchThermometer\n"));
    EXPECT_EQ(sicl::iopen("COM6"), 0);
    EXPECT_TRUE(
        sicl::lastSerialOpenProblem().contains(QStringLiteral("/dev/ttyNoSuchThermometer")));
    useConfig(QString());
    EXPECT_EQ(sicl::currentConfig().transportFor(QStringLiteral("COM8")), QStringLiteral("serial"));
    EXPECT_EQ(sicl::defaultSerialDevice(8), QStringLiteral("/dev/ttyS7"));
}

TEST_F(ThermometerOnSerialPort, ReadTerminationIsTheByteOfRequestTen) {
    const int handle = openConfigured(kAlmemo2290_2);
    pty.send(QByteArray("first\x03second\x03", 13));
    char buffer[64];
    int reason = 0;
    std::size_t got = 0;
    ASSERT_EQ(sicl::iread(handle, buffer, sizeof buffer, &reason, &got), 0);
    EXPECT_EQ(QByteArray(buffer, qsizetype(got)), QByteArray("first\x03"));
    EXPECT_EQ(reason, sicl::I_TERM_CHR);
    EXPECT_EQ(sicl::iserialctrl(handle, sicl::I_SERIAL_READ_EOI, 0x0A), sicl::I_ERR_PARAM);
    EXPECT_EQ(sicl::iserialctrl(handle, sicl::I_SERIAL_BAUD, 12345), sicl::I_ERR_PARAM);
}

// The simulated thermometers on the virtual clock.
class SimulatedThermometer : public testing::InstrumentTest {
protected:
    int open(const QString& lines) {
        useConfig(QStringLiteral("[COM2]\n") + lines);
        const int handle = sicl::iopen("COM2");
        EXPECT_NE(handle, 0);
        configureThermometerLine(handle, kind);
        return handle;
    }
    int kind = kAlmemo2290_2;
};

TEST_F(SimulatedThermometer, KindNoneSendsNothing) {
    const int handle = open(QStringLiteral("device = Almemo 2290-2\n"));
    trace.clear();
    const TemperatureReading reading = ReadTemp(handle, kThermometerNone);
    EXPECT_FALSE(reading.obtained);
    EXPECT_EQ(reading.celsius, 0);
    EXPECT_TRUE(trace.isEmpty());
}

TEST_F(SimulatedThermometer, RampsFromTheFirstReadingOnTheOneClock) {
    const int handle = open(QStringLiteral("device = Almemo 2290-2\ntemperature = 20\nramp = 1\n"));
    EXPECT_DOUBLE_EQ(ReadTemp(handle, kind).celsius, 20.0);
    clock::sleepMs(90000);
    // 1.5 minutes later (and the 100 ms reply time of the first query) at 1 °C per minute.
    const double expected = 20 + 1.0 * (90000 + 100) / 60000;
    EXPECT_NEAR(ReadTemp(handle, kind).celsius, expected, 0.006);
}

TEST_F(SimulatedThermometer, SilentAnswersAreAskedAgainUpToSixTimes) {
    const int handle = open(QStringLiteral("device = Almemo 2290-2\nfault = silent 2\n"));
    const qint64 start = clock::nowMs();
    const TemperatureReading reading = ReadTemp(handle, kind);
    EXPECT_TRUE(reading.obtained);
    EXPECT_DOUBLE_EQ(reading.celsius, 20.0);
    EXPECT_EQ(lines("iwrite").size(), 3);
    EXPECT_GE(clock::nowMs() - start, 2 * kThermometerTimeoutMs);
}

TEST_F(SimulatedThermometer, GarbledShortOrMisplacedRepliesGiveNoReading) {
    for (const char* fault : {"garbled", "short", "wrong-field", "silent"}) {
        SCOPED_TRACE(fault);
        const int handle = open(QStringLiteral("device = Almemo 2290-2\nfault = %1\n").arg(fault));
        trace.clear();
        const TemperatureReading reading = ReadTemp(handle, kind);
        EXPECT_FALSE(reading.obtained);
        EXPECT_EQ(reading.celsius, 0);
        EXPECT_EQ(lines("iwrite").size(), kThermometerQueries);
    }
}

TEST_F(SimulatedThermometer, ATrueZeroIsAskedSixTimesAndIsAReading) {
    const int handle = open(QStringLiteral("device = Almemo 2290-2\ntemperature = 0\n"));
    const TemperatureReading reading = ReadTemp(handle, kind);
    EXPECT_TRUE(reading.obtained);
    EXPECT_EQ(reading.celsius, 0);
    EXPECT_EQ(lines("iwrite").size(), kThermometerQueries);
}

TEST_F(SimulatedThermometer, ALateReplyIsFlushedNotReadAsTheNextReading) {
    // 60 °C per minute: the late reply (query 1) and the fresh one (query 2) differ by 2 °C.
    const int handle = open(
        QStringLiteral("device = Almemo 2290-2\ntemperature = 20\nramp = 60\nfault = late 1\n"));
    const qint64 firstQuery = clock::nowMs();
    const TemperatureReading reading = ReadTemp(handle, kind);
    EXPECT_TRUE(reading.obtained);
    const double fresh = 20 + 60.0 * double(clock::nowMs() - firstQuery) / 60000;
    EXPECT_NEAR(reading.celsius, fresh, 0.2);
    EXPECT_GT(reading.celsius, 21.5) << "the reading of the late first reply";
}

TEST_F(SimulatedThermometer, AThermometerAtTheWrongBaudRateIsReadAfterTheKindIsSetAgain) {
    const int handle = open(QStringLiteral("device = Therm 3280-2\ntemperature = 25\n"));
    // Configured for an Almemo (9600 baud) while a 3280 (1200 baud) is attached.
    EXPECT_FALSE(ReadTemp(handle, kTherm3280_2).obtained);
    configureThermometerLine(handle, kTherm3280_2);
    EXPECT_DOUBLE_EQ(ReadTemp(handle, kTherm3280_2).celsius, 25.0);
}

TEST(ThermometerReply, FieldPositionsAndTolerantReading) {
    EXPECT_EQ(temperatureField(kAlmemo2290_2, QString(18, 'x') + QStringLiteral(" +23.45 C")),
              QStringLiteral(" +23.45"));
    EXPECT_DOUBLE_EQ(temperatureFromReply(kAlmemo2290_2, QString(18, 'x') + " +23.45").celsius,
                     23.45);
    EXPECT_DOUBLE_EQ(temperatureFromReply(kAlmemo2290_4, "0000000-005.2 ").celsius, -5.2);
    const TemperatureReading tooShort = temperatureFromReply(kAlmemo2290_2, "short reply");
    EXPECT_FALSE(tooShort.obtained);
    EXPECT_EQ(temperatureFromReply(kThermometerNone, "+20.0").obtained, false);
    // The simulator's layouts put the value where the kinds are read.
    for (int kind = 1; kind <= 4; ++kind)
        EXPECT_DOUBLE_EQ(
            temperatureFromReply(kind, QString::fromLatin1(sim::thermometerReply(kind, -12.34)))
                .celsius,
            -12.34)
            << kind;
}

} // namespace
} // namespace ymt
