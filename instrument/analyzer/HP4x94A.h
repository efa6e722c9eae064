// HP4x94A: the analyzer operations of the program, translated into the command language of the
// selected model (HP 4194A or HP 4294A) and sent over the analyzer session (TSicl).
//
//   TSicl session("gpib0", 2000);
//   HP4x94A analyzer;
//   analyzer.AnalyzerSession = &session;      // not owned
//   session.Open(17, analyzer.AnalyzerHandle);
//   analyzer.AnalyzerModel = 1;               // 0 = HP 4194A, 1 = HP 4294A
//   analyzer.PresetAnalyzer();
//   analyzer.SetSweepRange(100, 300);         // kHz, either order
//   analyzer.MeasureSweep();                  // TraceA = |Z| (ohm), TraceB = theta (degrees)
//
// Every operation does nothing while AnalyzerHandle is not above 0, AnalyzerSession is null or
// AnalyzerModel is neither 0 nor 1. Results never raise errors: a lost reply shows as 0 or as
// array entries left as they were, and the operations say how much really came back (return
// values, SweepPointsRead, SpanReported). Waits run on the one clock (virtual with --fast).
#pragma once

#include "instrument/analyzer/AnalyzerCommandTables.h"
#include "instrument/sicl/SiclObject.h"

#include <QString>

#include <array>
#include <span>

namespace ymt {

// Lets the operator end a completion wait early. While a wait runs, its delays pass through
// pause(), which keeps the window responsive and reports whether the operator stopped it.
class CompletionWaitObserver {
public:
    virtual ~CompletionWaitObserver() = default;
    virtual void waitStarted() = 0;
    // Lets ms milliseconds pass on the one clock; true when the operator stopped the wait.
    virtual bool pause(int ms) = 0;
    virtual void waitEnded(bool stopped) = 0;
};

class HP4x94A {
public:
    static constexpr int kTracePoints = 401;
    static constexpr int kSessionTimeoutMs = 2000;

    TSicl* AnalyzerSession = nullptr;
    int AnalyzerHandle = 0;
    int AnalyzerModel = 0;     // 0 = HP 4194A, 1 = HP 4294A, anything else: send nothing
    int CompletionTimeout = 0; // ms, 0 = no limit
    int Averaging = 1;         // 1-256
    double OscLevel = 0.5;     // V
    double BiasLevel = 0;      // V, 0 = bias off
    std::array<double, kTracePoints> TraceA{}; // |Z| in ohm of the last sweep
    std::array<double, kTracePoints> TraceB{}; // theta in degrees of the last sweep
    // Points of the last MeasureSweep that came back in both traces (0 after a lost trace or a
    // stopped wait); the trace entries after them are left over from earlier sweeps.
    int SweepPointsRead = 0;
    // Readings of the last MeasureSpot that came back in both traces; its means are of these.
    int SpotReadingsRead = 0;
    // False when the last GetSweepRange got no number for start or stop.
    bool SpanReported = true;
    // Null: waits block as plain delays do. Not owned.
    CompletionWaitObserver* WaitObserver = nullptr;
    // The last completion wait was ended by the operator.
    bool WaitStopped = false;
    // The last completion wait ended at its timeout or a failed session, not at the analyzer's
    // report of completion (nor at a stop).
    bool WaitRanOut = false;

    void SendCommand(const QString& cmd);
    void WaitComplete(int timeout);
    // False when the reply held no number (lost, timed out or garbled); value is 0 then.
    bool QueryNumber(const QString& name, double& value);
    // Reads trace "A" or "B" (either case) into values (at most count, at most values.size()).
    // Returns the number of values that came back as numbers, from the first on.
    int ReadTrace(const QString& name, std::span<double> values, int count);
    void PresetAnalyzer();
    void SetSweepRange(double a, double b); // kHz
    // A limit the analyzer does not report is the model's own (spanStartKHz, spanStopKHz).
    void GetSweepRange(double& start, double& stop); // kHz
    void SetDisplayScales(bool logA, bool logB);
    void SetSweepMode(bool continuous);
    void SetCompensation(bool on);
    void MeasureOpen();
    void MeasureShort();
    // n points (clamped to 1-401) at f kHz, |Z| and theta whatever the display pair; the means
    // are of the readings that came back (both 0 when none did). zAvg and thetaAvg stay
    // unchanged when not connected.
    void MeasureSpot(int n, double& zAvg, double& thetaAvg, double f);
    void MeasureSweep();
    void AutoscaleDisplay();
    void SelectFunction(int code); // 1-21; others send nothing
    void ApplyAnalyzerSettings(int averaging, double bias, double level);

    // The averaging count the HP 4194A receives: the nearest power of two, 1 to 256.
    static int PowerOfTwoAveraging(int averaging);

private:
    bool connected() const;
    bool is4194() const { return AnalyzerModel == 0; }
    const AnalyzerCommandTable& table() const;
    void sendEach(const QStringList& commands);
    void waitForServiceRequest(int timeout);
    void waitForOperationComplete(int timeout);
    // A delay of a completion wait: through the observer when there is one.
    bool pauseInWait(int ms);
};

} // namespace ymt
