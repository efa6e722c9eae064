// The simulated adapter server as a lab script sees it: the real executable over a real TCP
// socket, with nothing of the program in between.
#include "SimServerProcess.h"

#include "instrument/simulated/SampleModel.h"

#include <QElapsedTimer>

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <thread>

using ymt::testing::SimServerProcess;

// Replies show as text in failure messages.
void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toStdString() << '"';
}

namespace ymt {
namespace {

const QString kHp4294At17 = QStringLiteral("[gpib0,17]\ndevice = HP4294A\n");

// A raw client of the simulated adapter server.
class RawClient {
public:
    explicit RawClient(int port) {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { close(); }
    void close() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
    void send(const QByteArray& bytes) {
        ::send(fd, bytes.constData(), std::size_t(bytes.size()), MSG_NOSIGNAL);
    }
    // One reply line, waiting up to timeoutMs; what came so far when nothing more comes.
    QByteArray line(int timeoutMs = 5000) {
        QByteArray bytes;
        char byte = 0;
        timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        while (::recv(fd, &byte, 1, 0) == 1) {
            bytes += byte;
            if (byte == '\n')
                break;
        }
        return bytes;
    }
    // Sends one line and returns the reply line.
    QByteArray ask(const QByteArray& command) {
        send(command + '\n');
        return line();
    }
    // An instrument query followed by the adapter's read.
    QByteArray query(const QByteArray& message) { return ask(message + "\n++read eoi"); }
    bool connected = false;

private:
    int fd = -1;
};

QList<double> numbers(const QByteArray& list) {
    QList<double> values;
    for (const QByteArray& field : list.trimmed().split(','))
        values << field.toDouble();
    return values;
}

TEST(SimAdapterServerTest, SurvivesClientsThatLeaveMidReplyAndRefusesOverlongLines) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(kHp4294At17));
    {
        RawClient leaving(server.port());
        ASSERT_TRUE(leaving.connected);
        // A whole trace pair is asked for, and the client is gone before it comes.
        leaving.send("++addr 17\nOUTPDTRC?\n++read eoi\n");
    }
    RawClient client(server.port());
    ASSERT_TRUE(client.connected);
    client.send("++addr 17\n");
    client.send(QByteArray(70 * 1024, 'x'));
    client.send("\nPOIN?\n++read eoi\n");
    EXPECT_EQ(client.line(), "201\n") << "the next line after the refused one";
    EXPECT_TRUE(server.log().contains(QLatin1String("refused a line of more than 64 KB")));
    client.send("++spoll\n");
    EXPECT_EQ(client.line(), "0\r\n");
}

// On the real clock every read without a reply waits the adapter's read timeout (3 s).
TEST(SimAdapterServerTest, DepartedClientsQueuedReadsAreDroppedAndTheNextClientIsAnswered) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(kHp4294At17, false));
    {
        RawClient leaving(server.port());
        ASSERT_TRUE(leaving.connected);
        QByteArray reads = "++addr 17\n";
        for (int i = 0; i < 40; ++i)
            reads += "++read eoi\n";
        leaving.send(reads);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    RawClient next(server.port());
    ASSERT_TRUE(next.connected);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(next.query("++addr 17\nPOIN?"), "201\n");
    EXPECT_LT(timer.elapsed(), 2000) << "the departed client's wait ends when it goes";
    EXPECT_TRUE(server.log().contains(QLatin1String("client gone after 40 reads")));
}

TEST(SimAdapterServerTest, StopSignalEndsTheServerInTheMiddleOfAReadWait) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
        SimServerProcess server;
        ASSERT_TRUE(server.start(kHp4294At17, false));
        RawClient client(server.port());
        ASSERT_TRUE(client.connected);
        // A sweep averaged 256 times, and many reads waiting for its end.
        QByteArray lines = "++addr 17\nPAVERFACT 256;PAVER ON;SING\n*OPC?\n";
        for (int i = 0; i < 40; ++i)
            lines += "++read eoi\n";
        client.send(lines);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        QElapsedTimer timer;
        timer.start();
        ASSERT_EQ(::kill(pid_t(server.processId()), signal), 0);
        ASSERT_TRUE(server.waitForExit(3000)) << "still serving the queued reads";
        EXPECT_LT(timer.elapsed(), 3000);
        EXPECT_TRUE(server.exitedNormally());
        EXPECT_EQ(server.exitCode(), 0);
    }
}

// The query forms of the adapter and the analyzer's identification, as a lab script asks them.
TEST(SimAdapterServerTest, AnswersTheQueryFormsOfAdapterAndAnalyzer) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(kHp4294At17 + QStringLiteral("[gpib0,5]\ndevice = HP4194A\n")));
    RawClient client(server.port());
    ASSERT_TRUE(client.connected);
    EXPECT_EQ(client.ask("++mode"), "1\r\n") << "controller";
    EXPECT_EQ(client.ask("++eoi"), "1\r\n");
    EXPECT_EQ(client.ask("++eos"), "0\r\n") << "CR LF appended";
    EXPECT_EQ(client.ask("++read_tmo_ms"), "3000\r\n");
    client.send("++eoi 0\n++eos 3\n++read_tmo_ms 1234\n++eos 7\n++read_tmo_ms 0\n");
    EXPECT_EQ(client.ask("++eoi"), "0\r\n");
    EXPECT_EQ(client.ask("++eos"), "3\r\n") << "an invalid setting is ignored";
    EXPECT_EQ(client.ask("++read_tmo_ms"), "1234\r\n");
    // Without EOI and with nothing appended, the analyzer waits for the end of the message;
    // a line feed ends it.
    client.send("++addr 17\n*IDN?\n++read eoi\n");
    EXPECT_EQ(client.ask("++addr"), "17\r\n") << "no reply to a message not yet ended";
    client.send("++eos 2\n;\n");
    EXPECT_EQ(client.ask("++read eoi"), "HEWLETT-PACKARD,4294A,0,1.11\n");
    client.send("++eoi 1\n");

    EXPECT_EQ(client.ask("++srq"), "0\r\n");
    EXPECT_EQ(client.query("*IDN?"), "HEWLETT-PACKARD,4294A,0,1.11\n");
    // The 4194A knows no *IDN?: nothing comes, and the next reply is the next command's.
    client.send("++addr 5\n*IDN?\n++read eoi\n");
    EXPECT_EQ(client.ask("++addr"), "5\r\n");
    // Its sweep end raises the service request; the serial poll takes it back.
    client.send("RQS2;SWTRG\n");
    EXPECT_EQ(client.ask("++srq"), "1\r\n");
    EXPECT_EQ(client.ask("++srq"), "1\r\n") << "looking at the line does not clear it";
    EXPECT_EQ(client.ask("++spoll"), "64\r\n");
    EXPECT_EQ(client.ask("++srq"), "0\r\n");

    client.send("++help\n++ver\n");
    QByteArray help;
    for (QByteArray line = client.line(); !line.isEmpty() && !line.contains("simulated");
         line = client.line())
        help += line;
    for (const char* command : {"++addr", "++auto", "++clr", "++eoi", "++eos", "++help", "++loc",
                                "++mode", "++read", "++read_tmo_ms", "++spoll", "++srq", "++ver"})
        EXPECT_TRUE(help.contains(QByteArray(command) + ' ')) << command << " missing in\n"
                                                              << help.toStdString();
}

// A driver of the 4294A reads a spectrum its own way and gets the simulated sample.
TEST(SimAdapterServerTest, SpectrumReadTheDriverWayIsTheSampleModel) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(kHp4294At17));
    RawClient client(server.port());
    ASSERT_TRUE(client.connected);
    client.send("++addr 17\nFORM4\nMEAS IMPH\nPOIN 101\nSTAR 150E3\nSTOP 250E3\nSING\n");
    EXPECT_EQ(client.query("*OPC?"), "1\n");
    client.send("HOLD\n");
    EXPECT_EQ(client.query("POIN?"), "101\n");
    EXPECT_EQ(client.query("MEAS?"), "IMPH\n");
    const QList<double> hz = numbers(client.query("OUTPSWPRM?"));
    const QByteArray traceA = client.query("TRAC A\nOUTPDTRC?");
    const QByteArray traceB = client.query("TRAC B\nOUTPDTRC?");
    EXPECT_TRUE(traceA.startsWith('+') && traceA.endsWith('\n')) << traceA.left(40).toStdString();
    const QList<double> a = numbers(traceA), b = numbers(traceB);
    ASSERT_EQ(hz.size(), 101);
    ASSERT_EQ(a.size(), 202);
    ASSERT_EQ(b.size(), 202);
    EXPECT_EQ(hz.first(), 150e3);
    EXPECT_EQ(hz.last(), 250e3);
    for (qsizetype i = 0; i < hz.size(); ++i) {
        const ImpedancePolar model = SampleZTheta(DefaultSampleModel(), hz[i] / 1000);
        ASSERT_NEAR(a[2 * i], model.magnitudeOhm, 1e-6 * model.magnitudeOhm) << hz[i] << " Hz";
        ASSERT_NEAR(b[2 * i], model.thetaDeg, 1e-5) << hz[i] << " Hz";
        ASSERT_EQ(a[2 * i + 1], 0) << "the second value of a scalar trace";
        ASSERT_EQ(b[2 * i + 1], 0);
    }
    // The frequencies are those of the sweep held, not of a range set after it.
    client.send("STAR 1E6\n");
    EXPECT_EQ(numbers(client.query("OUTPSWPRM?")).first(), 150e3);
    client.send("MEAS IRIM\n");
    EXPECT_EQ(client.query("MEAS?"), "IRIM\n");
}

// A sample made of a material (here a disc of soft PZT) answers through the server as well.
TEST(SimAdapterServerTest, MaterialSampleAnswersThroughTheServer) {
    const QString disc = QStringLiteral("shape = disc\ndiameter = 20\nthickness = 1\n"
                                        "density = 7750\nsE11 = 16.4\nsE12 = -5.74\n"
                                        "d31 = -171\neps33T = 1700\nQm = 80\ntand = 0.02\n");
    SimServerProcess server;
    ASSERT_TRUE(server.start(kHp4294At17 + disc));
    RawClient client(server.port());
    ASSERT_TRUE(client.connected);
    client.send("++addr 17\nFORM4\nMEAS IMPH\nPOIN 51\nSTAR 90E3\nSTOP 110E3\nSING\n");
    EXPECT_EQ(client.query("*OPC?"), "1\n");
    const QList<double> hz = numbers(client.query("OUTPSWPRM?"));
    const QList<double> a = numbers(client.query("TRAC A\nOUTPDTRC?"));
    ASSERT_EQ(hz.size(), 51);
    ASSERT_EQ(a.size(), 102);
    MaterialSampleKeys keys;
    for (const QString& line : disc.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        ReadMaterialSampleKey(line.section(QLatin1Char('='), 0, 0).trimmed().toLower(),
                              line.section(QLatin1Char('='), 1).trimmed(), keys);
    const std::optional<MaterialSample> sample = MaterialSampleFromKeys(keys, 0.02);
    ASSERT_TRUE(sample);
    for (qsizetype i = 0; i < hz.size(); ++i) {
        const double expected = std::abs(MaterialSampleImpedance(*sample, hz[i]));
        ASSERT_NEAR(a[2 * i], expected, 1e-6 * expected) << hz[i] << " Hz";
    }
}

} // namespace
} // namespace ymt
