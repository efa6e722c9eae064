// A simulated impedance analyzer (HP 4194A or HP 4294A) on the simulated bus. The state and the
// sweep engine are shared; each model is a command table (SimAnalyzer4194.cpp,
// SimAnalyzer4294.cpp) that maps its command language onto the operations below.
#pragma once

#include "instrument/simulated/SimAnalyzerConfig.h"
#include "instrument/simulated/SimBus.h"

#include <QByteArray>
#include <QStringList>

#include <random>
#include <vector>

namespace ymt::sim {

class SimAnalyzer;

struct ParsedCommand {
    QByteArray header;   // upper case, with "?" for queries: "START?", "IMP", "STAR", "*OPC?"
    QByteArray argument; // the rest: "40.000", "12", "IMPH", "ON"
};

struct SimCommand {
    const char* header;
    // False when the argument is not acceptable.
    bool (*run)(SimAnalyzer& analyzer, const QByteArray& argument);
};

struct SimCommandSet {
    AnalyzerModel model;
    double minHz, maxHz;
    int minPoints, maxPoints, presetPoints;
    // A sweep takes overhead + points x per point x averaging milliseconds.
    double sweepOverheadMs, sweepPerPointMs;
    const char* lineEnd;
    std::vector<ParsedCommand> (*parse)(const QByteArray& message);
    std::vector<SimCommand> commands;

    const SimCommand* find(const QByteArray& header) const;
};

const SimCommandSet& hp4194CommandSet();
const SimCommandSet& hp4294CommandSet();

class SimAnalyzer : public SimDevice {
public:
    explicit SimAnalyzer(SimAnalyzerConfig config);

    unsigned char serialPoll() override;
    bool requestsService() override;
    void deviceClear() override;

    const SimAnalyzerConfig& config() const { return configuration; }
    // Null while an "auto" analyzer has not yet heard a command of one of the two languages.
    const SimCommandSet* commandSet() const { return commands; }
    AnalyzerModel model() const { return commands ? commands->model : AnalyzerModel::Auto; }

    // Settings, changed by the command tables.
    double startHz = 0, stopHz = 0;
    int points = 401;
    int function = 1; // measurement function, display pair code 1-20
    bool continuous = true;
    int averaging = 1;
    bool averagingOn = true;
    double oscLevelV = 0.5;
    double biasV = 0;
    bool biasOn = false;
    bool openCompensation = false, shortCompensation = false;
    bool logScaleA = false, logScaleB = false;
    char activeTrace = 'A';
    bool serviceRequestEnabled = false;
    int displayMode = 1;
    QStringList rejectedCommands; // what this analyzer did not understand or accept
    // Sweeps a recorded sample could not answer (outside its range), each once; they send no
    // values.
    QStringList refusedSweeps;

    void preset();
    void setStart(double hz);
    void setStop(double hz);
    void setCenter(double hz);
    void setSpan(double hz);
    void setPoints(double count);
    // Starts one sweep now; its end raises the service request (when enabled) and *OPC?.
    void triggerSweep();
    // An operation (compensation, preset) that keeps the analyzer busy for ms.
    void beginOperation(qint64 ms);
    qint64 sweepDurationMs() const;
    qint64 busyUntil() const { return busyUntilMs; }

    // Measured values of the last sweep; a continuously sweeping analyzer measures anew.
    const std::vector<double>& trace(char name);
    // The frequencies (Hz) of the points of trace(): those of the current settings while
    // sweeping continuously, else those of the last sweep.
    std::vector<double> sweepFrequencies() const;
    // Number of trace values sent, after the trace faults.
    int traceLength() const;
    // Queues a reply (line end added), applying the reply faults of its query.
    void reply(const QByteArray& queryHeader, const QByteArray& body, qint64 readyAtMs = 0);
    // A reply in the analyzer's number format, full precision.
    static QByteArray numberText(double value);
    // A numeric argument (at least one digit); false otherwise.
    static bool numberArgument(const QByteArray& argument, double& value);
    // ON/OFF (or 1/0).
    static bool switchArgument(const QByteArray& argument, bool& on);

protected:
    void receiveMessage(const QByteArray& message) override;

private:
    void measure();
    double pointHz(int i) const;
    void setCenterAndSpan(double centerHz, double spanHz);
    void adoptCommandSet(const SimCommandSet& set);
    // Raises the service request once the triggered sweep has ended (when enabled).
    void noteSweepEnd();

    SimAnalyzerConfig configuration;
    const SimCommandSet* commands = nullptr;
    std::mt19937 noiseGenerator;
    std::vector<double> traceA, traceB;
    std::vector<double> measuredHz; // the point frequencies of traceA and traceB
    qint64 busyUntilMs = 0;
    qint64 sweepEndMs = 0;
    bool sweepEndPending = false;
    bool serviceRequested = false;
};

// Command handlers that both command languages share.
template <void (SimAnalyzer::*setter)(double)>
bool setFrequency(SimAnalyzer& analyzer, const QByteArray& argument) {
    double hz = 0;
    if (!SimAnalyzer::numberArgument(argument, hz))
        return false;
    (analyzer.*setter)(hz);
    return true;
}
bool setPointsCommand(SimAnalyzer& analyzer, const QByteArray& argument);
bool replyNumber(SimAnalyzer& analyzer, const QByteArray& header, double value);

} // namespace ymt::sim
