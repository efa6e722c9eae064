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
// array entries left as they were. Waits run on the one clock (virtual with --fast).
#pragma once

#include "instrument/AnalyzerCommandTables.h"
#include "instrument/SiclObject.h"

#include <QString>

#include <array>
#include <span>

namespace ymt {

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

    void SendCommand(const QString& cmd);
    void WaitComplete(int timeout);
    void QueryNumber(const QString& name, double& value);
    // Reads trace "A" or "B" (either case) into values (at most count, at most values.size()).
    void ReadTrace(const QString& name, std::span<double> values, int count);
    void PresetAnalyzer();
    void SetSweepRange(double a, double b);          // kHz
    void GetSweepRange(double& start, double& stop); // kHz
    void SetDisplayScales(bool logA, bool logB);
    void SetSweepMode(bool continuous);
    void SetCompensation(bool on);
    void MeasureOpen();
    void MeasureShort();
    // n points (clamped to 1-401) at f kHz; zAvg and thetaAvg stay unchanged when not connected.
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
};

} // namespace ymt
