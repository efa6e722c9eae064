#include "measurement/AnalyzerConnection.h"

#include "core/Misc.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/sicl/Sicl.h"
#include "instrument/sicl/SiclConfig.h"
#include "instrument/thermometer/Thermometer.h"
#include "instrument/transports/SerialTransport.h"
#include "localisation/ProgramTexts.h"
#include "localisation/TextTables.h"
#include "measurement/AnalyzerSettingsRules.h"

namespace ymt {

namespace {

constexpr int kOpenTimeoutMs = 2000;
constexpr int kSettleAfterOpenMs = 3000;

} // namespace

AnalyzerConnection::AnalyzerConnection(HP4x94A& analyzer, DialogInterface& dialogs)
    : analyzer_(analyzer), dialogs_(dialogs) {}

void AnalyzerConnection::logLine(const QString& line) {
    if (log)
        log(line);
}

void AnalyzerConnection::changed(bool simulated) {
    if (linkChanged)
        linkChanged(simulated);
}

SessionOpening AnalyzerConnection::openSession(const QString& interfaceName, int address) {
    SessionOpening opening;
    logLine(Message(Msg::InitialisingController));
    const sicl::SiclConfig config = sicl::currentConfig();
    // Where the interfaces came from, so that nobody takes the simulated bus for an adapter.
    const QString configFile = sicl::configFilePath();
    logLine(
        Text(Txt::LogSiclConfSearched).arg(sicl::configSearchPaths().join(QStringLiteral(", "))));
    logLine(configFile.isEmpty() ? Text(Txt::LogSiclConfNone)
                                 : Text(Txt::LogSiclConfRead).arg(configFile));
    // A line of sicl.conf that was not taken would otherwise go unnoticed.
    for (const QString& problem : config.problems)
        logLine(QStringLiteral("sicl.conf: ") + problem);
    const QString transport = config.transportFor(interfaceName).trimmed();
    opening.simulated = sicl::transportName(transport) == QLatin1String("sim");
    logLine(Text(Txt::LogTransport)
                .arg(interfaceName, transport.isEmpty() ? Text(Txt::LogTransportNone)
                                    : opening.simulated
                                        ? Text(Txt::LogTransportSimulated).arg(transport)
                                        : transport));
    if (!session_)
        session_ = std::make_unique<TSicl>(interfaceName, kOpenTimeoutMs);
    else
        session_->InterfaceName = interfaceName;
    analyzer_.AnalyzerSession = session_.get();
    if (!analyzer_.AnalyzerSession) {
        logLine(Message(Msg::ControllerNotFound));
        return opening;
    }
    logLine(Message(Msg::ControllerOkAtAddress) + interfaceName);

    // A session of an earlier Connect would otherwise stay open until the program ends.
    if (analyzer_.AnalyzerHandle != 0) {
        session_->Close(analyzer_.AnalyzerHandle);
        analyzer_.AnalyzerHandle = 0;
        changed(opening.simulated);
    }
    session_->Open(address, analyzer_.AnalyzerHandle);
    DelayMs(kSettleAfterOpenMs);
    if (analyzer_.AnalyzerHandle == 0) {
        logLine(Message(Msg::AnalyzerNotFound));
        // A real adapter names what went wrong (library missing, connection refused ...).
        if (const QString problem = sicl::lastOpenProblem(); !problem.isEmpty())
            logLine(problem);
        return opening;
    }
    changed(opening.simulated);
    opening.opened = true;
    return opening;
}

bool AnalyzerConnection::setUp(int address, bool logZ, bool logTheta, double& analyzerMin,
                               double& analyzerMax, QString* spanWarning) {
    logLine(Message(Msg::InitialisingAnalyzer));
    analyzer_.PresetAnalyzer();
    if (isAbandoned())
        return false;
    logLine(Message(Msg::AnalyzerOkAtAddress) + IntText(address));
    applySettings();
    if (isAbandoned())
        return false;
    analyzer_.GetSweepRange(analyzerMin, analyzerMax);
    if (!analyzer_.SpanReported) {
        const QString text = Text(Txt::LogSpanNotReported)
                                 .arg(FixedText(analyzerMin, 1, 3), FixedText(analyzerMax, 1, 3));
        logLine(text);
        if (spanWarning)
            *spanWarning = text;
    }
    analyzer_.SetDisplayScales(logZ, logTheta);
    return true;
}

void AnalyzerConnection::applySettings() {
    analyzer_.ApplyAnalyzerSettings(analyzer_.Averaging, analyzer_.BiasLevel, analyzer_.OscLevel);
    for (const QString& line :
         AppliedSettingsLines(analyzer_.Averaging, analyzer_.OscLevel, analyzer_.BiasLevel))
        logLine(line);
}

Compensation AnalyzerConnection::compensate(const std::function<bool()>& ended) {
    logLine(Message(Msg::CompensatingHolder));
    const DialogButton open = dialogs_.showMessage(
        MessageKind::None, Message(Msg::CompensationOpenContacts), ButtonSet::OKCancel);
    Compensation result = Compensation::Declined;
    if (open == DialogButton::OK) {
        analyzer_.MeasureOpen();
        // A stop during the open measurement ends the compensation: no short box follows.
        if (ended && ended())
            return Compensation::Stopped;
        const bool openRanOut = analyzer_.WaitRanOut;
        dialogs_.showMessage(MessageKind::None, Message(Msg::CompensationCloseContacts),
                             ButtonSet::OK);
        analyzer_.MeasureShort();
        // The compensation is switched on as always, but the log must not read as if the
        // analyzer had confirmed both measurements.
        if (openRanOut)
            logLine(
                CompletionWaitRanOutText(Text(Txt::CompensationOpen), analyzer_.CompletionTimeout));
        if (analyzer_.WaitRanOut)
            logLine(CompletionWaitRanOutText(Text(Txt::CompensationShort),
                                             analyzer_.CompletionTimeout));
        logLine(Message(Msg::CompensationComplete));
        analyzer_.SetCompensation(true);
        result = Compensation::Measured;
    } else {
        logLine(Message(Msg::CompensationAborted));
    }
    analyzer_.SetSweepMode(true);
    return result;
}

void AnalyzerConnection::abandon() {
    logLine(Text(Txt::LogConnectStopped));
    if (session_)
        session_->Close(analyzer_.AnalyzerHandle);
    analyzer_.AnalyzerHandle = 0;
}

void AnalyzerConnection::openThermometer(int kind, int port, int& handle) {
    if (kind <= 0) {
        logLine(Message(Msg::NoThermalSensor));
        return;
    }
    // Like the analyzer session, a session of an earlier Connect is not left open.
    if (handle != 0)
        sicl::iclose(handle);
    const QString name = QStringLiteral("COM%1").arg(port);
    handle = sicl::iopen(name.toLatin1().constData());
    if (handle == 0) {
        logLine(ThermometerNotFoundText(name, sicl::lastSerialOpenProblem()));
        return;
    }
    configureThermometerLine(handle, kind);
    DelayMs(1000);
    sendThermometerStartup(handle, kind);
    logLine(Message(Msg::ThermalSensorOk));
}

void AnalyzerConnection::closeSessions(int& thermometerHandle) {
    sicl::iclose(thermometerHandle);
    thermometerHandle = 0;
    if (session_)
        session_->Close(analyzer_.AnalyzerHandle);
    analyzer_.AnalyzerHandle = 0;
}

} // namespace ymt
