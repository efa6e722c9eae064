// What the "Material Constants" window shows: the window's inputs (tab "Sample", the fit of the
// displayed window or f(min)/f(max), the spot capacitance) turned into MaterialInputs, and the
// result turned into the lines the window, the protocol, the clipboard and the script driver's
// state share, so that all four give the same numbers.
#pragma once

#include "evaluation/EquivalentCircuitFit.h"
#include "evaluation/MaterialConstants.h"
#include "evaluation/SampleDescription.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ymt {

// Where fs and fp came from.
enum class ResonanceSource { None, CircuitFit, MinMax };

struct MaterialWindowInputs {
    int Mode = kDefaultCouplingMode;
    SampleDescription Sample;             // mm, mm², kg/m^3
    std::optional<EquivalentCircuit> Fit; // the fit of the displayed window, when shown
    double FMinKHz = 0;                   // 0 = not determined
    double FMaxKHz = 0;
    double CapNF = 0;                        // spot capacitance; 0 = not measured
    QString CapFrequencyKHz;                 // as the field shows it
    double Q3dB = 0;                         // 0 = not determined
    std::optional<double> SecondRadialFsKHz; // disc: the first radial overtone, when found
};

struct MaterialReport {
    ResonanceSource Source = ResonanceSource::None;
    MaterialInputs Inputs;
    MaterialConstantsResult Result;
    QString CapFrequencyText; // kHz, as the field shows it
};

// Which geometry field gives which dimension: the thickness (bar, plates, disc) and the rod's
// length are the electrode distance, the plates' and the rod's area the electrode area, the bar's
// length and width the rectangular geometry's, the rod's and disc's diameter the circular one's.
MaterialInputs MaterialInputsFrom(const MaterialWindowInputs& window, ResonanceSource* source);
MaterialReport BuildMaterialReport(const MaterialWindowInputs& window);

// The disc's first radial overtone: the deepest interior minimum of |Z| between 2.3 and 3.0
// times fs (what -1 < sigma < 0.5 allows), refined by a parabola through it and its neighbours;
// empty when the spectrum does not reach that far or holds no such minimum there.
std::optional<double> FindRadialOvertoneKHz(const std::vector<ImpedancePoint>& spectrum,
                                            double fsKHz);

// "sE11 = 1.6540e-11 m^2/N = 16.540 1e-12 m^2/N", or "d31 = --- (missing: density)".
QStringList MaterialConstantLines(const MaterialReport& report);
// fs, fp and their source, C^T and its frequency, the dimensions, the density, sigma.
QStringList MaterialInputLines(const MaterialReport& report);
QStringList MaterialWarningLines(const MaterialReport& report);
// The whole text as the window shows it and the clipboard gets it.
QString MaterialReportText(const MaterialReport& report);
// "mat.NAME=value" (SI, permittivities relative) per constant with a value, then mat.fs and
// mat.fp in kHz; nothing for an empty report.
QStringList MaterialStateLines(const MaterialReport* report);
// One protocol line: the sample name, then NAME=value (customary units) by tabs.
QString MaterialProtocolLine(const QString& sampleName, const MaterialReport& report);

} // namespace ymt
