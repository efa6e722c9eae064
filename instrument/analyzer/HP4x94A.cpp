#include "instrument/analyzer/HP4x94A.h"

#include "core/Clock.h"
#include "core/Misc.h"
#include "instrument/analyzer/ReplyParsers.h"
#include "instrument/sicl/Sicl.h"

#include <algorithm>
#include <cmath>

namespace ymt {
namespace {

constexpr unsigned char kServiceRequestBit = 0x40;
// A wait the operator can stop reads the operation-complete reply in slices of this length.
constexpr int kOperationCompleteSliceMs = 500;

bool holdsDigit(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

bool HP4x94A::connected() const {
    return AnalyzerHandle > 0 && AnalyzerSession && (AnalyzerModel == 0 || AnalyzerModel == 1);
}

const AnalyzerCommandTable& HP4x94A::table() const {
    return is4194() ? Hp4194CommandTable() : Hp4294CommandTable();
}

void HP4x94A::sendEach(const QStringList& commands) {
    for (const QString& command : commands)
        SendCommand(command);
}

void HP4x94A::SendCommand(const QString& cmd) {
    if (!connected())
        return;
    const QString upper = cmd.toUpper();
    if (!is4194()) {
        AnalyzerSession->Write(AnalyzerHandle, upper);
        return;
    }
    // The HP 4194A takes one command per message; the serial poll before each clears a
    // pending service request, so that the wait after SWTRG sees only the end of its sweep.
    for (const QString& part : upper.split(QLatin1Char(';'))) {
        AnalyzerSession->ReadStatusByte(AnalyzerHandle);
        AnalyzerSession->Write(AnalyzerHandle, part);
        if (part == QLatin1String("SWTRG"))
            WaitComplete(CompletionTimeout);
    }
}

void HP4x94A::WaitComplete(int timeout) {
    if (!connected())
        return;
    WaitStopped = false;
    WaitRanOut = false;
    if (WaitObserver)
        WaitObserver->waitStarted();
    if (is4194())
        waitForServiceRequest(timeout);
    else
        waitForOperationComplete(timeout);
    if (WaitObserver)
        WaitObserver->waitEnded(WaitStopped);
}

bool HP4x94A::pauseInWait(int ms) {
    if (!WaitObserver) {
        DelayMs(ms);
        return false;
    }
    return WaitObserver->pause(ms);
}

void HP4x94A::waitForServiceRequest(int timeout) {
    const qint64 start = clock::nowMs();
    for (;;) {
        const qint64 elapsed = clock::nowMs() - start;
        if (pauseInWait(1000)) {
            WaitStopped = true;
            break;
        }
        const unsigned char status = AnalyzerSession->ReadStatusByte(AnalyzerHandle);
        if (status & kServiceRequestBit)
            break;
        // A session that no longer answers its serial poll will never request service.
        if ((timeout > 0 && elapsed > timeout) || AnalyzerSession->LastError != 0) {
            WaitRanOut = true;
            break;
        }
    }
}

void HP4x94A::waitForOperationComplete(int timeout) {
    QString reply;
    if (!WaitObserver) {
        AnalyzerSession->SetTimeout(AnalyzerHandle, timeout);
        AnalyzerSession->Write(AnalyzerHandle, QStringLiteral("*OPC?"));
        AnalyzerSession->Read(AnalyzerHandle, reply);
        WaitRanOut = AnalyzerSession->LastError != 0;
        AnalyzerSession->SetTimeout(AnalyzerHandle, kSessionTimeoutMs);
        return;
    }
    // One read bounded by the whole timeout could not be stopped; short reads are, and a reply
    // that is not ready yet stays with the analyzer for the next one.
    AnalyzerSession->SetTimeout(AnalyzerHandle, kOperationCompleteSliceMs);
    AnalyzerSession->Write(AnalyzerHandle, QStringLiteral("*OPC?"));
    const qint64 start = clock::nowMs();
    for (;;) {
        AnalyzerSession->Read(AnalyzerHandle, reply);
        if (AnalyzerSession->LastError != sicl::I_ERR_TIMEOUT) {
            WaitRanOut = AnalyzerSession->LastError != 0;
            break;
        }
        if (timeout > 0 && clock::nowMs() - start >= timeout) {
            WaitRanOut = true;
            break;
        }
        if (WaitObserver->pause(0)) {
            WaitStopped = true;
            break;
        }
    }
    AnalyzerSession->SetTimeout(AnalyzerHandle, kSessionTimeoutMs);
}

bool HP4x94A::QueryNumber(const QString& name, double& value) {
    if (!connected())
        return false;
    if (is4194()) {
        SendCommand(name + QLatin1Char('?'));
        DelayMs(300);
    } else {
        AnalyzerSession->Write(AnalyzerHandle, name + QLatin1Char('?'));
    }
    QString reply;
    AnalyzerSession->Read(AnalyzerHandle, reply);
    // The reply must be one whole number: a garbled or cut one is no value, not its prefix.
    const QByteArray text = reply.trimmed().toLatin1();
    double number = 0;
    const bool answered =
        AnalyzerSession->LastError == 0 && holdsDigit(reply) &&
        ConvertFixedField(text.constData(), std::size_t(text.size()), number) == 0;
    value = answered ? number : 0;
    return answered;
}

int HP4x94A::ReadTrace(const QString& name, std::span<double> values, int count) {
    if (!connected())
        return 0;
    if (is4194()) {
        SendCommand(name + QLatin1Char('?'));
        DelayMs(50);
        return AnalyzerSession->ReadFixedValues(AnalyzerHandle, count, values);
    }
    const bool traceA = name.toUpper() == QLatin1String("A");
    AnalyzerSession->Write(AnalyzerHandle,
                           traceA ? QStringLiteral("TRAC A") : QStringLiteral("TRAC B"));
    AnalyzerSession->Write(AnalyzerHandle, QStringLiteral("OUTPDTRC?"));
    return AnalyzerSession->ReadValuePairs(AnalyzerHandle, count, values);
}

void HP4x94A::PresetAnalyzer() {
    if (!connected())
        return;
    sendEach(table().preset);
    if (!is4194()) {
        WaitComplete(CompletionTimeout);
        SendCommand(QStringLiteral("POIN 401"));
    }
    Averaging = 1;
}

void HP4x94A::SetSweepRange(double a, double b) {
    if (!connected())
        return;
    const double low = std::min(a, b), high = std::max(a, b);
    const QString lowText = FixedText(low * 1000, 6, 3), highText = FixedText(high * 1000, 6, 3);
    if (is4194())
        SendCommand(QStringLiteral("start=") + lowText + QStringLiteral(";stop=") + highText);
    else
        AnalyzerSession->Write(AnalyzerHandle, QStringLiteral("STAR ") + lowText +
                                                   QStringLiteral(";STOP ") + highText);
}

void HP4x94A::GetSweepRange(double& start, double& stop) {
    if (!connected())
        return;
    double startHz = 0, stopHz = 0;
    const bool startReported = QueryNumber(table().startQuery, startHz);
    const bool stopReported = QueryNumber(table().stopQuery, stopHz);
    start = startReported ? startHz / 1000 : table().spanStartKHz;
    stop = stopReported ? stopHz / 1000 : table().spanStopKHz;
    SpanReported = startReported && stopReported;
}

void HP4x94A::SetDisplayScales(bool logA, bool logB) {
    if (!connected())
        return;
    sendEach(table().scalesA[logA ? 1 : 0]);
    sendEach(table().scalesB[logB ? 1 : 0]);
}

void HP4x94A::SetSweepMode(bool continuous) {
    if (!connected())
        return;
    SendCommand(table().sweepMode[continuous ? 1 : 0]);
}

void HP4x94A::SetCompensation(bool on) {
    if (!connected())
        return;
    sendEach(table().compensation[on ? 1 : 0]);
}

void HP4x94A::MeasureOpen() {
    if (!connected())
        return;
    SendCommand(table().measureOpen);
    if (is4194())
        DelayMs(3000);
    else
        WaitComplete(CompletionTimeout);
}

void HP4x94A::MeasureShort() {
    if (!connected())
        return;
    SendCommand(table().measureShort);
    if (is4194())
        DelayMs(3000);
    else
        WaitComplete(CompletionTimeout);
}

void HP4x94A::MeasureSpot(int n, double& zAvg, double& thetaAvg, double f) {
    SpotReadingsRead = 0;
    if (!connected())
        return;
    // The buffer holds 401 values, and an average of no points has no meaning.
    n = std::clamp(n, 1, kTracePoints);
    WaitStopped = false;
    if (is4194()) {
        SendCommand(QStringLiteral("nop=") + IntText(n) +
                    QStringLiteral(";swm2;imp1;asc1;dpb1;center=") + FixedText(f * 1000, 0, 0) +
                    QStringLiteral(";span=0;swtrg"));
        DelayMs(500);
    } else {
        // The traces hold |Z| and theta only in that function; another display pair would give
        // its own quantities (Cs and Rs ...) in their place.
        SendCommand(QStringLiteral("MEAS IMPH;POIN ") + IntText(n) + QStringLiteral(";CENT ") +
                    FixedText(f * 1000, 1, 3) + QStringLiteral(";SPAN 0;SING"));
        WaitComplete(CompletionTimeout);
    }
    zAvg = 0;
    thetaAvg = 0;
    if (WaitStopped) {
        SendCommand(is4194() ? QStringLiteral("nop=401;swm1") : QStringLiteral("POIN 401;CONT"));
        return;
    }
    // Only readings that came back in both traces are averaged: a missing one is no 0 ohm.
    std::array<double, kTracePoints> zBuffer{}, thetaBuffer{};
    const int zRead = ReadTrace(QStringLiteral("a"), zBuffer, n);
    const int thetaRead = ReadTrace(QStringLiteral("b"), thetaBuffer, n);
    SpotReadingsRead = std::clamp(std::min(zRead, thetaRead), 0, n);
    for (int i = 0; i < SpotReadingsRead; ++i) {
        zAvg += zBuffer[std::size_t(i)];
        thetaAvg += thetaBuffer[std::size_t(i)];
    }
    if (SpotReadingsRead > 0) {
        zAvg /= SpotReadingsRead;
        thetaAvg /= SpotReadingsRead;
    }
    SendCommand(is4194() ? QStringLiteral("nop=401;swm1") : QStringLiteral("POIN 401;CONT"));
}

void HP4x94A::MeasureSweep() {
    SweepPointsRead = 0;
    WaitStopped = false;
    if (!connected())
        return;
    SendCommand(table().measureSweep);
    if (!is4194())
        WaitComplete(CompletionTimeout);
    // A sweep the operator stopped is incomplete; its traces would mix old and new values.
    if (WaitStopped)
        return;
    const int pointsB = ReadTrace(QStringLiteral("B"), TraceB, kTracePoints);
    const int pointsA = ReadTrace(QStringLiteral("A"), TraceA, kTracePoints);
    SweepPointsRead = std::min(pointsA, pointsB);
}

void HP4x94A::AutoscaleDisplay() {
    if (!connected())
        return;
    SendCommand(table().autoscale);
}

void HP4x94A::SelectFunction(int code) {
    if (!connected() || code < 1 || code > 21)
        return;
    SendCommand(table().functions[code - 1]);
}

int HP4x94A::PowerOfTwoAveraging(int averaging) {
    if (averaging <= 1)
        return 1;
    const int k = std::min(static_cast<int>(std::lround(std::log2(double(averaging)))), 8);
    return k <= 0 ? 1 : 1 << k;
}

void HP4x94A::ApplyAnalyzerSettings(int averaging, double bias, double level) {
    if (!connected())
        return;
    if (is4194()) {
        const QStringList commands = {
            QStringLiteral("noa=") + IntText(PowerOfTwoAveraging(averaging)),
            QStringLiteral("osc=") + FixedText(level, 1, 3),
            bias == 0 ? QStringLiteral("dcoff") : QStringLiteral("bias=") + FixedText(bias, 1, 3)};
        for (const QString& command : commands) {
            SendCommand(command);
            DelayMs(1000);
        }
        return;
    }
    SendCommand(QStringLiteral("PAVERFACT ") + IntText(averaging) +
                QStringLiteral(";PAVER ON;AVERREST"));
    SendCommand(QStringLiteral("POWMOD VOLT;POWE ") + FixedText(level, 1, 3) +
                QStringLiteral(";DCMOD VOLT"));
    SendCommand(bias == 0
                    ? QStringLiteral("DCV 0;DCO OFF")
                    : QStringLiteral("DCV ") + FixedText(bias, 1, 3) + QStringLiteral(";DCO ON"));
}

} // namespace ymt
