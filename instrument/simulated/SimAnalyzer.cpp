#include "instrument/simulated/SimAnalyzer.h"

#include "core/Clock.h"
#include "core/Misc.h"
#include "core/NumberParsing.h"
#include "instrument/analyzer/MeasurementFunctions.h"
#include "instrument/simulated/SampleModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ymt::sim {
namespace {

constexpr unsigned char kServiceRequestBit = 0x40;
constexpr unsigned char kMessageAvailableBit = 0x10;

// Which language an "auto" analyzer speaks: the one that knows the first command while the
// other does not (the HP 4194A when both know it).
const SimCommandSet* recognisedCommandSet(const QByteArray& message) {
    const SimCommandSet& hp4194 = hp4194CommandSet();
    const SimCommandSet& hp4294 = hp4294CommandSet();
    const auto first4194 = hp4194.parse(message);
    const auto first4294 = hp4294.parse(message);
    const bool known4194 = !first4194.empty() && hp4194.find(first4194.front().header);
    const bool known4294 = !first4294.empty() && hp4294.find(first4294.front().header);
    if (known4294 && !known4194)
        return &hp4294;
    return known4194 ? &hp4194 : nullptr;
}

} // namespace

const SimCommand* SimCommandSet::find(const QByteArray& header) const {
    for (const SimCommand& command : commands)
        if (header == command.header)
            return &command;
    return nullptr;
}

SimAnalyzer::SimAnalyzer(SimAnalyzerConfig config)
    : configuration(std::move(config)), noiseGenerator(configuration.seed) {
    if (configuration.model == AnalyzerModel::HP4194A)
        adoptCommandSet(hp4194CommandSet());
    else if (configuration.model == AnalyzerModel::HP4294A)
        adoptCommandSet(hp4294CommandSet());
}

void SimAnalyzer::adoptCommandSet(const SimCommandSet& set) {
    commands = &set;
    preset();
}

void SimAnalyzer::preset() {
    startHz = commands->minHz;
    stopHz = commands->maxHz;
    points = commands->presetPoints;
    function = 1;
    continuous = true;
    averaging = 1;
    averagingOn = commands->model == AnalyzerModel::HP4194A;
    oscLevelV = 0.5;
    biasV = 0;
    biasOn = false;
    openCompensation = shortCompensation = false;
    logScaleA = logScaleB = false;
    activeTrace = 'A';
    serviceRequestEnabled = false;
    sweepEndPending = serviceRequested = false;
    measure();
}

void SimAnalyzer::setStart(double hz) {
    startHz = std::clamp(hz, commands->minHz, commands->maxHz);
    stopHz = std::max(stopHz, startHz);
}

void SimAnalyzer::setStop(double hz) {
    stopHz = std::clamp(hz, commands->minHz, commands->maxHz);
    startHz = std::min(startHz, stopHz);
}

// Center and span keep the center where it was asked for; a span that would reach past the
// frequency range shrinks to fit, as on the instruments.
void SimAnalyzer::setCenterAndSpan(double centerHz, double spanHz) {
    const double center = std::clamp(centerHz, commands->minHz, commands->maxHz);
    const double halfSpan =
        std::min({std::max(spanHz, 0.0) / 2, center - commands->minHz, commands->maxHz - center});
    startHz = center - halfSpan;
    stopHz = center + halfSpan;
}

void SimAnalyzer::setCenter(double hz) {
    setCenterAndSpan(hz, stopHz - startHz);
}

void SimAnalyzer::setSpan(double hz) {
    setCenterAndSpan((startHz + stopHz) / 2, hz);
}

void SimAnalyzer::setPoints(double count) {
    points = static_cast<int>(
        std::clamp(std::round(count), double(commands->minPoints), double(commands->maxPoints)));
}

qint64 SimAnalyzer::sweepDurationMs() const {
    const int rounds = averagingOn ? std::max(averaging, 1) : 1;
    return static_cast<qint64>(commands->sweepOverheadMs +
                               points * commands->sweepPerPointMs * rounds);
}

void SimAnalyzer::triggerSweep() {
    measure();
    sweepEndMs = clock::nowMs() + sweepDurationMs();
    busyUntilMs = std::max(busyUntilMs, sweepEndMs);
    sweepEndPending = true;
}

void SimAnalyzer::beginOperation(qint64 ms) {
    busyUntilMs = std::max(busyUntilMs, clock::nowMs() + ms);
}

// Both ends of the range are measured: f_i = start + (stop - start) i / (N - 1).
double SimAnalyzer::pointHz(int i) const {
    return points > 1 ? startHz + (stopHz - startHz) * i / (points - 1) : startHz;
}

std::vector<double> SimAnalyzer::sweepFrequencies() const {
    if (!continuous)
        return measuredHz;
    std::vector<double> hz(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i)
        hz[static_cast<std::size_t>(i)] = pointHz(i);
    return hz;
}

void SimAnalyzer::measure() {
    if (const RecordedSample* recording = configuration.recording.get()) {
        // A recording answers only inside its range: a sweep that leaves it gives no values,
        // rather than values nobody measured.
        const bool inside = recording->covers(pointHz(0) / 1000.0) &&
                            recording->covers(pointHz(points - 1) / 1000.0);
        if (!inside) {
            traceA.clear();
            traceB.clear();
            measuredHz.clear();
            const QString refusal =
                recording->empty()
                    ? QStringLiteral("sweep refused: %1").arg(recording->error)
                    : QStringLiteral("sweep %1 ... %2 kHz refused: the recorded sample %3 holds "
                                     "%4 ... %5 kHz")
                          .arg(pointHz(0) / 1000.0)
                          .arg(pointHz(points - 1) / 1000.0)
                          .arg(recording->path)
                          .arg(recording->lowestKHz())
                          .arg(recording->highestKHz());
            if (!refusedSweeps.contains(refusal))
                refusedSweeps << refusal;
            return;
        }
    }
    traceA.resize(static_cast<std::size_t>(points));
    traceB.resize(static_cast<std::size_t>(points));
    measuredHz.resize(static_cast<std::size_t>(points));
    std::normal_distribution<double> normal(0.0, 1.0);
    for (int i = 0; i < points; ++i) {
        const double hz = pointHz(i);
        measuredHz[static_cast<std::size_t>(i)] = hz;
        std::complex<double> z =
            configuration.recording
                ? RecordedImpedance(*configuration.recording, hz / 1000.0).value_or(0.0)
                : SampleImpedance(configuration.sample, hz / 1000.0);
        if (configuration.noise > 0)
            z *= std::complex<double>(1.0 + configuration.noise * normal(noiseGenerator),
                                      configuration.noise * normal(noiseGenerator));
        const TracePairValues values = MeasurementFunctionValues(function, z, hz);
        traceA[static_cast<std::size_t>(i)] = values.traceA;
        traceB[static_cast<std::size_t>(i)] = values.traceB;
    }
}

const std::vector<double>& SimAnalyzer::trace(char name) {
    if (continuous)
        measure();
    return name == 'B' ? traceB : traceA;
}

int SimAnalyzer::traceLength() const {
    // A refused sweep (outside a recording) has no values to send.
    if (traceA.empty())
        return 0;
    int length = points;
    if (const Fault* fault = configuration.fault(FaultKind::ShortTrace))
        length = std::min(length, fault->count);
    if (const Fault* fault = configuration.fault(FaultKind::ExtraValues))
        length += fault->count;
    return length;
}

void SimAnalyzer::reply(const QByteArray& queryHeader, const QByteArray& body, qint64 readyAtMs) {
    const SimAnalyzerConfig& c = configuration;
    if (c.fault(FaultKind::DropReply, queryHeader))
        return;
    readyAtMs = std::max(readyAtMs, clock::nowMs());
    if (c.fault(FaultKind::LateReply, queryHeader))
        readyAtMs += c.lateReplyMs;
    QByteArray bytes;
    if (c.fault(FaultKind::GarbageReply, queryHeader))
        bytes = "#?!garbage!?#";
    else if (!c.fault(FaultKind::EmptyReply, queryHeader))
        bytes = body;
    if (c.fault(FaultKind::OversizeReply, queryHeader))
        bytes += QByteArray(400, ' ');
    // The 4194A trace format carries its own end (the separator of the last field).
    if (!bytes.endsWith('\n'))
        bytes += commands->lineEnd;
    queueReply(std::move(bytes), readyAtMs);
}

QByteArray SimAnalyzer::numberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.11E", value);
    return text;
}

bool SimAnalyzer::numberArgument(const QByteArray& argument, double& value) {
    if (!std::any_of(argument.begin(), argument.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    value = ParseNumber(QString::fromLatin1(argument));
    return std::isfinite(value);
}

bool SimAnalyzer::switchArgument(const QByteArray& argument, bool& on) {
    if (argument == "ON" || argument == "1")
        on = true;
    else if (argument == "OFF" || argument == "0")
        on = false;
    else
        return false;
    return true;
}

void SimAnalyzer::noteSweepEnd() {
    if (sweepEndPending && clock::nowMs() >= sweepEndMs) {
        sweepEndPending = false;
        if (serviceRequestEnabled && !configuration.fault(FaultKind::NoServiceRequest))
            serviceRequested = true;
    }
}

bool SimAnalyzer::requestsService() {
    noteSweepEnd();
    return serviceRequested;
}

unsigned char SimAnalyzer::serialPoll() {
    noteSweepEnd();
    unsigned char status = hasOutput() ? kMessageAvailableBit : 0;
    if (serviceRequested)
        status |= kServiceRequestBit;
    serviceRequested = false;
    return status;
}

void SimAnalyzer::deviceClear() {
    SimDevice::deviceClear();
    serviceRequested = false;
}

void SimAnalyzer::receiveMessage(const QByteArray& message) {
    if (!commands) {
        const SimCommandSet* recognised = recognisedCommandSet(message);
        if (!recognised) {
            rejectedCommands << QString::fromLatin1(message.trimmed());
            return;
        }
        adoptCommandSet(*recognised);
    }
    for (const ParsedCommand& command : commands->parse(message)) {
        const SimCommand* known = commands->find(command.header);
        if (!known || !known->run(*this, command.argument))
            rejectedCommands
                << QString::fromLatin1(command.header + ' ' + command.argument).trimmed();
    }
}

bool setPointsCommand(SimAnalyzer& analyzer, const QByteArray& argument) {
    double count = 0;
    if (!SimAnalyzer::numberArgument(argument, count))
        return false;
    analyzer.setPoints(count);
    return true;
}

bool replyNumber(SimAnalyzer& analyzer, const QByteArray& header, double value) {
    analyzer.reply(header, SimAnalyzer::numberText(value));
    return true;
}

} // namespace ymt::sim
