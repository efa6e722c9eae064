// Connect and Read New Spectrum through the window with sicl.conf pointing at real-hardware
// transports: the network and serial adapters against the simulated adapter server, the
// linux-gpib and VISA libraries as fakes that reach the same server. The curves must equal
// those of the simulated bus; a library that cannot be loaded is named in the Hardware log.
#include "instrument/simulated/SampleModel.h"
#include "tests/app/ConnectionTestSupport.h"
#include "tests/instrument/SerialAdapterBridge.h"
#include "tests/instrument/SimServerProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using ymt::test::ConnectSteps;
using ymt::test::CurvePointText;
using ymt::test::RunOnSimulator;
using ymt::test::SimulatorRun;
using ymt::testing::SerialAdapterBridge;
using ymt::testing::SimServerProcess;

namespace {

const char* kReadSpectrum = "click Button6\ncurve fastgraph1 3\nstate\ncurve fastgraph1 4\n";

QString deviceSection(int model) {
    return QStringLiteral("[gpib0,17]\ndevice = %1\n")
        .arg(model == 0 ? QStringLiteral("HP4194A") : QStringLiteral("HP4294A"));
}

void expectSameCurve(const std::vector<CurvePointText>& got,
                     const std::vector<CurvePointText>& expected) {
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].x, expected[i].x) << "point " << i;
        ASSERT_EQ(got[i].y, expected[i].y) << "point " << i;
    }
}

class RealAnalyzerConnect : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override { qunsetenv("YMT_FAKE_ADAPTER"); }

    // The [interfaces] line of the transport under test, reaching the server.
    QString interfaceLine(const SimServerProcess& server) {
        const QString kind = QString::fromLatin1(GetParam());
        qputenv("YMT_FAKE_ADAPTER", server.endpoint().toLatin1());
        if (kind == QLatin1String("prologix-serial")) {
            bridge = std::make_unique<SerialAdapterBridge>();
            EXPECT_TRUE(bridge->start(server.port()));
            return QStringLiteral("prologix serial ") + bridge->path();
        }
        if (kind == QLatin1String("linux-gpib"))
            return QStringLiteral("linux-gpib 0 ") + QStringLiteral(YMT_FAKE_GPIB);
        if (kind == QLatin1String("visa"))
            return QStringLiteral("visa GPIB0::%d::INSTR ") + QStringLiteral(YMT_FAKE_VISA);
        return QStringLiteral("prologix tcp ") + server.endpoint();
    }

    std::unique_ptr<SerialAdapterBridge> bridge;
};

TEST_P(RealAnalyzerConnect, ReadNewSpectrumGivesThePointsOfTheSimulatedBusOnBothModels) {
    for (int model : {0, 1}) {
        SCOPED_TRACE(model == 0 ? "HP 4194A" : "HP 4294A");
        const SimulatorRun expected =
            RunOnSimulator(ConnectSteps(model) + kReadSpectrum, deviceSection(model));
        ASSERT_EQ(expected.exitCode, 0);
        // Two sweeps of 401 points and the capacitance point at 1 kHz.
        ASSERT_EQ(expected.curve(0).size(), 803u);

        SimServerProcess server;
        ASSERT_TRUE(server.start(deviceSection(model)));
        const SimulatorRun run =
            RunOnSimulator(ConnectSteps(model) + kReadSpectrum + "show Memo1\n",
                           QStringLiteral("[interfaces]\ngpib0 = %1\n").arg(interfaceLine(server)));
        ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
        EXPECT_FALSE(
            run.box("Memo1").contains(QStringLiteral("Error: Impedance analyzer not found!")));
        EXPECT_EQ(run.value("AnalyzerMin"), expected.value("AnalyzerMin"));
        EXPECT_EQ(run.value("AnalyzerMax"), expected.value("AnalyzerMax"));
        expectSameCurve(run.curve(0), expected.curve(0));
        expectSameCurve(run.curve(1), expected.curve(1));
        bridge.reset();
    }
}

INSTANTIATE_TEST_SUITE_P(Transports, RealAnalyzerConnect,
                         ::testing::Values("prologix", "prologix-serial", "linux-gpib", "visa"),
                         [](const auto& info) {
                             std::string name(info.param);
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

// The same through the "++" adapters with every wait and sweep taking its real time: each
// reply is fetched by one read (a wait in slices keeps its read), and the points are the
// sample's.
class RealClockConnect : public RealAnalyzerConnect {
protected:
    // Zoom onto the resonance near 200 kHz: the evaluation reads more points there first.
    static constexpr const char* kEvaluate =
        "type Edit1 150\ntype Edit2 260\nanswer OK\nclick Button10\nstate\n";
};

TEST_P(RealClockConnect, MeasurementAsksTheAdapterOnceForEachReply) {
    const SimulatorRun expected =
        RunOnSimulator(ConnectSteps(1) + kReadSpectrum + kEvaluate, deviceSection(1));
    ASSERT_EQ(expected.exitCode, 0);
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1), false));
    QElapsedTimer timer;
    timer.start();
    const SimulatorRun run = RunOnSimulator(
        ConnectSteps(1) + kReadSpectrum + kEvaluate + "show Memo1\n",
        QStringLiteral("[interfaces]\ngpib0 = %1\n").arg(interfaceLine(server)), false);
    const qint64 elapsedMs = timer.elapsed();
    ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
    EXPECT_FALSE(run.box("Memo1").join('\n').contains(QStringLiteral("not found")));
    EXPECT_EQ(run.value("AnalyzerMin"), expected.value("AnalyzerMin"));
    EXPECT_EQ(run.value("AnalyzerMax"), expected.value("AnalyzerMax"));
    expectSameCurve(run.curve(0), expected.curve(0));
    expectSameCurve(run.curve(1), expected.curve(1));
    for (const CurvePointText& point : run.curve(0)) {
        const double model = ymt::SampleZTheta(ymt::DefaultSampleModel(), point.x).magnitudeOhm;
        ASSERT_NEAR(point.y, model, 1e-6 * model) << point.x << " kHz";
    }
    EXPECT_EQ(run.value("label.fmin"), expected.value("label.fmin"));
    EXPECT_NE(run.value("label.fmin"), QStringLiteral("---"));

    bridge.reset();
    // The server notes the departed client when it next looks at the link: wait for that line
    // before ending it.
    static const QRegularExpression gone(QStringLiteral("client gone after (\\d+) reads"));
    QRegularExpressionMatch reads = gone.match(server.log());
    for (int tries = 0; !reads.hasMatch() && tries < 25; ++tries)
        reads = gone.match(server.log());
    server.stop();
    ASSERT_TRUE(reads.hasMatch()) << server.log().toStdString();
    int queries = 0;
    for (const QString& command : run.commands())
        queries += int(command.count(QLatin1Char('?')));
    // A read outstanding in the adapter is asked anew only after its read timeout (500 ms in
    // the sliced waits) and a margin: at most one more read per 0.7 s of the run.
    EXPECT_GE(reads.captured(1).toInt(), queries);
    EXPECT_LE(reads.captured(1).toInt(), queries + elapsedMs / 700 + 2)
        << queries << " queries in " << elapsedMs << " ms";
}

INSTANTIATE_TEST_SUITE_P(Adapters, RealClockConnect,
                         ::testing::Values("prologix", "prologix-serial"), [](const auto& info) {
                             std::string name(info.param);
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });

TEST(RealAnalyzerConnectFailure, LibraryThatCannotBeLoadedIsNamedInTheHardwareLog) {
    // A connect that finds no analyzer shows no compensation boxes: no answers are queued.
    const SimulatorRun run = RunOnSimulator(
        "select ComboBox6 0\nclick Button12\nshow Memo1\n",
        QStringLiteral("[interfaces]\ngpib0 = linux-gpib 0 /nonexistent/libgpib.so.0\n"));
    ASSERT_EQ(run.exitCode, 0);
    const QStringList log = run.box("Memo1");
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log[log.size() - 2], "Error: Impedance analyzer not found!");
    EXPECT_TRUE(log.last().startsWith("linux-gpib: cannot load /nonexistent/libgpib.so.0"))
        << log.last().toStdString();
    EXPECT_TRUE(run.ioTrace.filter("iopen-problem").size() == 1) << "the io-trace says why too";
}

TEST(RealAnalyzerConnectFailure, AUsbtmcPathThatIsNoUsbtmcDeviceIsRefusedBeforeAnythingIsSent) {
    QTemporaryDir dir;
    const QString notes = dir.filePath(QStringLiteral("notes.txt"));
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("my notes\n");
    file.close();
    for (const QString& path : {notes, QStringLiteral("/dev/null"), QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        const SimulatorRun run =
            RunOnSimulator("select ComboBox6 1\nclick Button12\nshow Memo1\n",
                           QStringLiteral("[interfaces]\ngpib0 = usbtmc %1\n").arg(path));
        ASSERT_EQ(run.exitCode, 0) << run.output.join('\n').toStdString();
        const QStringList log = run.box("Memo1");
        ASSERT_GE(log.size(), 2);
        EXPECT_EQ(log[log.size() - 2], "Error: Impedance analyzer not found!");
        EXPECT_TRUE(log.last().startsWith(QStringLiteral("usbtmc: ") + path + " is not a USBTMC"))
            << log.last().toStdString();
        EXPECT_TRUE(run.ioTrace.filter("iwrite").isEmpty());
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("my notes\n"));
}

TEST(RealAnalyzerConnectFailure, RefusedConnectionIsNamedInTheHardwareLog) {
    SimServerProcess server;
    ASSERT_TRUE(server.start(deviceSection(1)));
    const QString endpoint = server.endpoint();
    server.stop();
    const SimulatorRun run =
        RunOnSimulator("select ComboBox6 1\nclick Button12\nshow Memo1\n",
                       QStringLiteral("[interfaces]\ngpib0 = prologix tcp %1\n").arg(endpoint));
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.box("Memo1").last().contains(QStringLiteral("Connection refused")))
        << run.box("Memo1").join('|').toStdString();
}

} // namespace
