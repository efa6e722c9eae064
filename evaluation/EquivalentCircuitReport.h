// What the window shows of a fitted equivalent circuit: the value texts in their units, the
// protocol line the operator adds, and the fitted curves drawn in the current display pair.
#pragma once

#include "evaluation/EquivalentCircuitFit.h"
#include "evaluation/SampleDescription.h"
#include "plot/curves/CurveStore.h"

#include <QString>

#include <vector>

namespace ymt {

// Curves of the measurement plot that carry the fitted display pair (1-4 hold the spectrum).
inline constexpr int kFittedFirstCurve = 5;
inline constexpr int kFittedSecondCurve = 6;

struct CircuitFitTexts {
    QString C0;          // nF, 4 decimals
    QString LossTangent; // of C0, 1e-4, 1 decimal
    QString R1;          // ohm, 3 decimals
    QString L1;          // mH, 4 decimals
    QString C1;          // pF, 3 decimals
    QString Fs;          // kHz, 3 decimals
    QString Fp;          // kHz, 3 decimals
    QString Qm;          // no decimals
    QString KEff;        // %, 2 decimals
    QString Rms;         // %, 3 decimals
    QString Points;
};
CircuitFitTexts FormatCircuitFit(const EquivalentCircuit& fit);

// One protocol line: the sample name, then fs, fp and Qm as the results show them, by tabs.
QString CircuitFitProtocolLine(const QString& sampleName, const EquivalentCircuit& fit);

// Fills curves kFittedFirstCurve and kFittedSecondCurve with the two quantities of the display
// pair computed from the fitted circuit at each frequency (kHz), on the axes of curves 1 and 2.
// The permittivity pair needs an electrode area above 0, as for the measured curves.
void StoreFittedCurves(CurveStore& store, const ButterworthVanDyke& circuit,
                       const std::vector<double>& frequenciesKHz, int displayCode,
                       const SampleDescription& sample);

// Empties both fitted curves.
void ClearFittedCurves(CurveStore& store);

} // namespace ymt
