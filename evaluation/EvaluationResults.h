// The results of evaluating the measured spectrum. A field of 0 means "not determined";
// result labels then show "---".
#pragma once

namespace ymt {

struct EvaluationResults {
    double FMin = 0;  // kHz, frequency of minimum |Z|
    double FMax = 0;  // kHz, frequency of maximum |Z|
    double ZMin = 0;  // ohm, shown as Rs
    double ZMax = 0;  // ohm
    int IndexMin = 0; // position in curve 3
    int IndexMax = 0; // position in curve 3
    double B3dB = 0;  // kHz
    double Q3dB = 0;
    double KEff = 0;  // %
    double KMode = 0; // %
    double CapNF = 0; // nF
    double TanD = 0;  // units of 1e-4
    double EpsRel = 0;
    double ZAvg = 0;     // ohm
    double ThetaAvg = 0; // degrees
};

} // namespace ymt
