// The transports to real analyzers, each against a stand-in: the network adapter against the
// simulated adapter server, linux-gpib and VISA against fake libraries that reach the same
// server. Sweeps through them give the points of the simulated bus; faults end within the
// timeout and leave the session layer usable.
#include "FaultyLinkProxy.h"
#include "InstrumentTestSupport.h"
#include "SerialAdapterBridge.h"
#include "SimServerProcess.h"

#include "instrument/sicl/OpenProblem.h"

#include <QElapsedTimer>

#include <dlfcn.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <thread>

using ymt::testing::FaultyLinkProxy;
using ymt::testing::InstrumentTest;
using ymt::testing::LinkFault;
using ymt::testing::SerialAdapterBridge;
using ymt::testing::SimServerProcess;

namespace ymt {
namespace {

struct SweepResult {
    bool connected = false;
    double start = 0, stop = 0;
    std::array<double, 401> a{}, b{};
};

QString deviceSection(int model, const QString& extraLines = {}) {
    return QStringLiteral("[gpib0,17]\ndevice = %1\n%2")
        .arg(model == 0 ? QStringLiteral("HP4194A") : QStringLiteral("HP4294A"), extraLines);
}

// Connect's opening and preset of the analyzer at address 17; false when nothing answered.
bool openAndPreset(int model, TSicl& session, HP4x94A& analyzer) {
    analyzer.AnalyzerSession = &session;
    analyzer.AnalyzerModel = model;
    analyzer.CompletionTimeout = 30000;
    session.Open(17, analyzer.AnalyzerHandle);
    if (analyzer.AnalyzerHandle <= 0)
        return false;
    analyzer.PresetAnalyzer();
    return true;
}

// What the window's Connect and Read New Spectrum do to the analyzer, in short.
SweepResult connectAndSweep(int model, TSicl& session, HP4x94A& analyzer) {
    SweepResult result;
    result.connected = openAndPreset(model, session, analyzer);
    if (!result.connected)
        return result;
    analyzer.ApplyAnalyzerSettings(1, 0, 0.5);
    analyzer.GetSweepRange(result.start, result.stop);
    analyzer.SetSweepRange(150, 250);
    analyzer.MeasureSweep();
    result.a = analyzer.TraceA;
    result.b = analyzer.TraceB;
    return result;
}

// A loopback port on which nothing listens.
int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

template <typename Function> Function fakeFunction(const char* library, const char* name) {
    void* handle = ::dlopen(library, RTLD_NOW | RTLD_NOLOAD);
    return handle ? reinterpret_cast<Function>(::dlsym(handle, name)) : nullptr;
}

// Each transport, as the [interfaces] line that reaches the server at endpoint.
class AdapterTransportTest : public InstrumentTest,
                             public ::testing::WithParamInterface<const char*> {
protected:
    void TearDown() override {
        InstrumentTest::TearDown();
        bridge.reset();
        qunsetenv("YMT_FAKE_ADAPTER");
    }

    QString interfaceLine(const QString& endpoint) {
        const QString kind = QString::fromLatin1(GetParam());
        qputenv("YMT_FAKE_ADAPTER", endpoint.toLatin1());
        if (kind == QLatin1String("prologix-serial")) {
            bridge = std::make_unique<SerialAdapterBridge>();
            const int port = endpoint.section(QLatin1Char(':'), 1).toInt();
            // An adapter that cannot reach its instrument is like one not plugged in.
            return QStringLiteral("prologix serial ") +
                   (bridge->start(port) ? bridge->path() : QStringLiteral("/dev/nonexistent-tty"));
        }
        if (kind == QLatin1String("linux-gpib"))
            return QStringLiteral("linux-gpib 0 ") + QStringLiteral(YMT_FAKE_GPIB);
        if (kind == QLatin1String("visa"))
            return QStringLiteral("visa GPIB0::%d::INSTR ") + QStringLiteral(YMT_FAKE_VISA);
        return QStringLiteral("prologix tcp ") + endpoint;
    }

    std::unique_ptr<SerialAdapterBridge> bridge;

    void useServer(const SimServerProcess& server) {
        useConfig(
            QStringLiteral("[interfaces]\ngpib0 = %1\n").arg(interfaceLine(server.endpoint())));
    }

    // The same steps on the simulated bus inside the process.
    SweepResult reference(int model) {
        useConfig(deviceSection(model));
        TSicl local(QStringLiteral("gpib0"), 2000);
        HP4x94A localAnalyzer;
        SweepResult result = connectAndSweep(model, local, localAnalyzer);
        sicl::closeAllSessions();
        return result;
    }
};

TEST_P(AdapterTransportTest, SweepGivesThePointsOfTheSimulatedBusOnBothModels) {
    for (int model : {0, 1}) {
        SCOPED_TRACE(model == 0 ? "HP 4194A" : "HP 4294A");
        const SweepResult expected = reference(model);
        ASSERT_TRUE(expected.connected);
        SimServerProcess server;
        ASSERT_TRUE(server.start(deviceSection(model)));
        useServer(server);
        const SweepResult got = connectAndSweep(model, session, analyzer);
        ASSERT_TRUE(got.connected) << sicl::lastOpenProblem().toStdString();
        EXPECT_EQ(got.start, expected.start);
        EXPECT_EQ(got.stop, expected.stop);
        EXPECT_NE(got.a[200], 0);
        for (std::size_t i = 0; i < 401; ++i) {
            ASSERT_EQ(got.a[i], expected.a[i]) << "|Z| point " << i;
            ASSERT_EQ(got.b[i], expected.b[i]) << "theta point " << i;
        }
        session.Close(analyzer.AnalyzerHandle);
    }
}

TEST_P(AdapterTransportTest, EmptyAddressOrUnreachableAdapterGivesHandleZeroWithTheReason) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1)));
    useServer(server);
    EXPECT_EQ(sicl::iopen("gpib0,5"), 0);
    EXPECT_FALSE(sicl::lastOpenProblem().isEmpty());
    const int handle = sicl::iopen("gpib0,17");
    EXPECT_NE(handle, 0) << "a failed open leaves the adapter usable";
    EXPECT_TRUE(sicl::lastOpenProblem().isEmpty());
    sicl::iclose(handle);

    useConfig(QStringLiteral("[interfaces]\ngpib0 = %1\n")
                  .arg(interfaceLine(QStringLiteral("127.0.0.1:%1").arg(closedPort()))));
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(sicl::iopen("gpib0,17"), 0);
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_FALSE(sicl::lastOpenProblem().isEmpty());
}

TEST_P(AdapterTransportTest, SilentAnalyzerTimesOutAndTheNextQueryIsAnswered) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1, QStringLiteral("fault = drop-reply STOP?\n"))));
    useServer(server);
    analyzer.AnalyzerSession = &session;
    analyzer.AnalyzerModel = 1;
    session.Open(17, analyzer.AnalyzerHandle);
    ASSERT_GT(analyzer.AnalyzerHandle, 0);
    double stop = -1, start = -1;
    QElapsedTimer timer;
    timer.start();
    analyzer.QueryNumber(QStringLiteral("STOP"), stop);
    EXPECT_LT(timer.elapsed(), 10000) << "bounded by the session timeout";
    EXPECT_EQ(stop, 0) << "the error text, read as a number";
    EXPECT_EQ(session.LastError, sicl::I_ERR_TIMEOUT);
    analyzer.QueryNumber(QStringLiteral("STAR"), start);
    EXPECT_EQ(start, 40);
    EXPECT_EQ(session.LastError, 0);
}

TEST_P(AdapterTransportTest, TraceCutShortKeepsWhatCameAndEndsAtOnce) {
    const SweepResult expected = reference(1);
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1, QStringLiteral("fault = short-trace 100\n"))));
    useServer(server);
    QElapsedTimer timer;
    timer.start();
    const SweepResult got = connectAndSweep(1, session, analyzer);
    ASSERT_TRUE(got.connected);
    EXPECT_LT(timer.elapsed(), 10000);
    for (std::size_t i = 0; i < 100; ++i)
        ASSERT_EQ(got.a[i], expected.a[i]) << i;
    EXPECT_EQ(got.a[100], 0) << "values that never came stay as they were";
}

TEST_P(AdapterTransportTest, LostServiceRequestEndsTheWaitAtItsTimeout) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(0, QStringLiteral("fault = no-srq\n"))));
    useServer(server);
    analyzer.AnalyzerSession = &session;
    analyzer.AnalyzerModel = 0;
    session.Open(17, analyzer.AnalyzerHandle);
    ASSERT_GT(analyzer.AnalyzerHandle, 0);
    analyzer.PresetAnalyzer();
    const qint64 before = clock::nowMs();
    analyzer.CompletionTimeout = 5000;
    analyzer.MeasureSweep();
    EXPECT_GE(clock::nowMs() - before, 5000) << "waited for the service request until the timeout";
    EXPECT_NE(analyzer.TraceA[0], 0) << "the traces are read after the wait all the same";
}

TEST_P(AdapterTransportTest, AdapterGoneDuringASweepFailsFastAndASecondConnectWorks) {
    SimServerProcess server;
    // On the real clock trace A comes 1.5 s late, so the adapter goes away in the middle.
    ASSERT_TRUE(server.start(
        deviceSection(0, QStringLiteral("fault = late-reply A?\nlate_ms = 1500\n")), false));
    useServer(server);
    analyzer.AnalyzerSession = &session;
    analyzer.AnalyzerModel = 0;
    analyzer.CompletionTimeout = 20000;
    session.Open(17, analyzer.AnalyzerHandle);
    ASSERT_GT(analyzer.AnalyzerHandle, 0);
    analyzer.PresetAnalyzer();
    analyzer.SetSweepRange(100, 200);
    QElapsedTimer timer;
    timer.start();
    const pid_t serverProcess = pid_t(server.processId());
    std::thread killer([serverProcess] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::kill(serverProcess, SIGKILL);
    });
    analyzer.MeasureSweep();
    killer.join();
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_TRUE(session.LastError == sicl::I_ERR_IO || session.LastError == sicl::I_ERR_TIMEOUT)
        << session.LastError;
    EXPECT_EQ(analyzer.TraceA[0], 0) << "trace A never came";
    EXPECT_NE(analyzer.TraceB[0], 0);
    session.Close(analyzer.AnalyzerHandle);

    SimServerProcess second;
    ASSERT_TRUE(second.start(deviceSection(0)));
    useServer(second);
    const SweepResult got = connectAndSweep(0, session, analyzer);
    EXPECT_TRUE(got.connected);
    EXPECT_NE(got.a[0], 0);
}

INSTANTIATE_TEST_SUITE_P(Transports, AdapterTransportTest,
                         ::testing::Values("prologix", "prologix-serial", "linux-gpib", "visa"),
                         [](const auto& info) {
                             std::string name(info.param);
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

// The "++" adapter over TCP and over a serial line, with a misbehaving link in between.
class PrologixLinkTest : public AdapterTransportTest {
protected:
    void throughProxy(const FaultyLinkProxy& proxy) {
        useConfig(QStringLiteral("[interfaces]\ngpib0 = %1\n")
                      .arg(interfaceLine(QStringLiteral("127.0.0.1:%1").arg(proxy.port()))));
    }
};

TEST_P(PrologixLinkTest, LateAndDoubledRepliesAreDroppedAndNeverStored) {
    const SweepResult expected = reference(1);
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1)));
    FaultyLinkProxy proxy;
    // After the opening exchanges, every fourth reply comes after its read timed out or twice.
    ASSERT_TRUE(proxy.start(server.port(), [](int n, const QByteArray&) {
        if (n < 4 || n % 4 != 2)
            return LinkFault{};
        return n % 8 == 2 ? LinkFault{LinkFault::Kind::Late, 2400}
                          : LinkFault{LinkFault::Kind::Twice, 0};
    }));
    throughProxy(proxy);
    ASSERT_TRUE(openAndPreset(1, session, analyzer)) << sicl::lastOpenProblem().toStdString();
    int wholeSweeps = 0;
    for (int cycle = 0; cycle < 3; ++cycle) {
        SCOPED_TRACE(cycle);
        double start = -1, stop = -1;
        analyzer.GetSweepRange(start, stop);
        // The range swept last, or the model's own span when a reply was lost; never another
        // query's answer.
        const double wantStart = cycle == 0 ? expected.start : 150.0;
        const double wantStop = cycle == 0 ? expected.stop : 250.0;
        EXPECT_TRUE(start == wantStart || start == expected.start) << start;
        EXPECT_TRUE(stop == wantStop || stop == expected.stop) << stop;
        analyzer.SetSweepRange(150, 250);
        analyzer.TraceA.fill(0);
        analyzer.TraceB.fill(0);
        analyzer.MeasureSweep();
        for (int i = 0; i < analyzer.SweepPointsRead; ++i) {
            ASSERT_EQ(analyzer.TraceA[std::size_t(i)], expected.a[std::size_t(i)]) << i;
            ASSERT_EQ(analyzer.TraceB[std::size_t(i)], expected.b[std::size_t(i)]) << i;
        }
        wholeSweeps += analyzer.SweepPointsRead == 401;
    }
    EXPECT_GE(proxy.linesPassed(), 14) << "the faults took place";
    EXPECT_GE(wholeSweeps, 1);
    EXPECT_TRUE(std::any_of(trace.begin(), trace.end(), [](const QByteArray& line) {
        return line.startsWith("prologix dropped");
    })) << "a stray reply is logged";
}

TEST_P(PrologixLinkTest, LinkClosedInsideANumberStoresNoPieceOfIt) {
    const SweepResult expected = reference(1);
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1)));
    FaultyLinkProxy proxy;
    // The second trace (|Z|) is cut in the middle of the first number of its 21st pair.
    int traces = 0;
    ASSERT_TRUE(proxy.start(server.port(), [&traces](int, const QByteArray& line) {
        if (line.size() > 1000 && ++traces == 2)
            return LinkFault{LinkFault::Kind::CutAfter, 20 * 34 + 5};
        return LinkFault{};
    }));
    throughProxy(proxy);
    ASSERT_TRUE(openAndPreset(1, session, analyzer)) << sicl::lastOpenProblem().toStdString();
    analyzer.SetSweepRange(150, 250);
    analyzer.MeasureSweep();
    ASSERT_EQ(analyzer.SweepPointsRead, 20);
    for (std::size_t i = 0; i < 20; ++i)
        ASSERT_EQ(analyzer.TraceA[i], expected.a[i]) << i;
    EXPECT_EQ(analyzer.TraceA[20], 0) << "the cut number is not stored";
}

TEST_P(PrologixLinkTest, GarbledNumbersAreRefusedNotReadAsTheirPrefix) {
    const SweepResult expected = reference(1);
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1)));
    FaultyLinkProxy proxy;
    // A byte inside the STAR? reply and inside the 31st number of trace A is lost to noise.
    int traces = 0;
    ASSERT_TRUE(proxy.start(server.port(), [&traces](int, const QByteArray& line) {
        if (line.startsWith("+4.00000000000E+01"))
            return LinkFault{LinkFault::Kind::Garble, 4};
        if (line.size() > 1000 && ++traces == 2)
            return LinkFault{LinkFault::Kind::Garble, 15 * 34 + 4};
        return LinkFault{};
    }));
    throughProxy(proxy);
    ASSERT_TRUE(openAndPreset(1, session, analyzer)) << sicl::lastOpenProblem().toStdString();
    double start = -1;
    EXPECT_FALSE(analyzer.QueryNumber(QStringLiteral("STAR"), start));
    EXPECT_EQ(start, 0) << "4.0 is not what the analyzer sent";
    analyzer.SetSweepRange(150, 250);
    analyzer.MeasureSweep();
    ASSERT_EQ(analyzer.SweepPointsRead, 15);
    for (std::size_t i = 0; i < 15; ++i)
        ASSERT_EQ(analyzer.TraceA[i], expected.a[i]) << i;
    EXPECT_EQ(analyzer.TraceA[15], 0) << "the garbled number is not stored";
}

INSTANTIATE_TEST_SUITE_P(Links, PrologixLinkTest, ::testing::Values("prologix", "prologix-serial"),
                         [](const auto& info) {
                             std::string name(info.param);
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

class PrologixSerialTest : public InstrumentTest {};

TEST_F(PrologixSerialTest, AdapterThatRestartsWhenThePortOpensIsAwaited) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1)));
    SerialAdapterBridge bridge;
    ASSERT_TRUE(bridge.start(server.port(), 1500));
    useConfig(QStringLiteral("[interfaces]\ngpib0 = prologix serial %1\n").arg(bridge.path()));
    const int handle = sicl::iopen("gpib0,17");
    EXPECT_NE(handle, 0) << sicl::lastOpenProblem().toStdString();
    EXPECT_EQ(sicl::iwrite(handle, "POIN?\r\n", 7, true, nullptr), 0);
    char reply[64] = {};
    int reason = 0;
    std::size_t count = 0;
    EXPECT_EQ(sicl::iread(handle, reply, sizeof reply, &reason, &count), 0);
    EXPECT_EQ(QByteArray(reply, qsizetype(count)), "201\n");
    EXPECT_EQ(reason, sicl::I_TERM_END);
}

class PrologixNetworkTest : public InstrumentTest {};

TEST_F(PrologixNetworkTest, AdapterThatClosesTheConnectionAtOnceIsNamedSo) {
    // An adapter busy with another client takes the connection and closes it.
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::thread adapter([listener] { ::close(::accept(listener, nullptr, nullptr)); });
    useConfig(QStringLiteral("[interfaces]\ngpib0 = prologix tcp 127.0.0.1:%1\n")
                  .arg(ntohs(address.sin_port)));
    EXPECT_EQ(sicl::iopen("gpib0,17"), 0);
    adapter.join();
    ::close(listener);
    EXPECT_TRUE(sicl::lastOpenProblem().contains(QStringLiteral("closed the connection")))
        << sicl::lastOpenProblem().toStdString();
}

class LibraryTransportTest : public InstrumentTest {};

TEST_F(LibraryTransportTest, MissingLibraryIsNamedInTheOpenProblem) {
    useConfig(QStringLiteral("[interfaces]\ngpib0 = linux-gpib 0 /nonexistent/libgpib.so.0\n"
                             "hpib1 = visa GPIB0::%d::INSTR /nonexistent/libvisa.so\n"));
    EXPECT_EQ(sicl::iopen("gpib0,17"), 0);
    EXPECT_TRUE(sicl::lastOpenProblem().contains(QLatin1String("/nonexistent/libgpib.so.0")))
        << sicl::lastOpenProblem().toStdString();
    EXPECT_EQ(sicl::iopen("hpib1,17"), 0);
    EXPECT_TRUE(sicl::lastOpenProblem().contains(QLatin1String("/nonexistent/libvisa.so")));
    EXPECT_TRUE(std::any_of(trace.begin(), trace.end(), [](const QByteArray& line) {
        return line.startsWith("iopen-problem \"visa: cannot load /nonexistent/libvisa.so");
    })) << "the io-trace says why";
}

TEST_F(LibraryTransportTest, AddressTimeoutAndEndSettingsReachTheLibraries) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1)));
    qputenv("YMT_FAKE_ADAPTER", server.endpoint().toLatin1());
    useConfig(
        QStringLiteral("[interfaces]\ngpib0 = linux-gpib 0 %1\nvisa0 = visa GPIB0::%d::INSTR %2\n")
            .arg(QStringLiteral(YMT_FAKE_GPIB), QStringLiteral(YMT_FAKE_VISA)));
    int handle = sicl::iopen("gpib0,17");
    ASSERT_NE(handle, 0);
    using IntFunction = int (*)();
    const auto gpibTimeout =
        fakeFunction<IntFunction>(YMT_FAKE_GPIB, "fake_gpib_last_timeout_code");
    const auto gpibEos = fakeFunction<IntFunction>(YMT_FAKE_GPIB, "fake_gpib_last_eos");
    ASSERT_TRUE(gpibTimeout && gpibEos);
    EXPECT_EQ(gpibTimeout(), 12) << "2000 ms: the 3 s code, the smallest not below";
    EXPECT_EQ(gpibEos(), 0x040A) << "reads end on LF as well as EOI";
    sicl::itimeout(handle, 100);
    EXPECT_EQ(gpibTimeout(), 9);
    sicl::itimeout(handle, 0);
    EXPECT_EQ(gpibTimeout(), 0) << "no limit";
    sicl::iclose(handle);

    handle = sicl::iopen("visa0,17");
    ASSERT_NE(handle, 0);
    const auto visaResource =
        fakeFunction<const char* (*)()>(YMT_FAKE_VISA, "fake_visa_last_resource");
    const auto visaTimeout =
        fakeFunction<unsigned long (*)()>(YMT_FAKE_VISA, "fake_visa_last_timeout");
    ASSERT_TRUE(visaResource && visaTimeout);
    EXPECT_STREQ(visaResource(), "GPIB0::17::INSTR");
    EXPECT_EQ(visaTimeout(), 2000u);
    sicl::itimeout(handle, 0);
    EXPECT_EQ(visaTimeout(), 0xFFFFFFFFu) << "no limit is VISA's infinite, not its immediate";
    // The status byte comes from the serial poll: the 4294A has no service request pending.
    unsigned char status = 0xFF;
    EXPECT_EQ(sicl::ireadstb(handle, &status), 0);
    EXPECT_EQ(status, 0);
    sicl::iclose(handle);
    qunsetenv("YMT_FAKE_ADAPTER");
}

} // namespace
} // namespace ymt
