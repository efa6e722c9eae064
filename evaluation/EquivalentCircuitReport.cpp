#include "evaluation/EquivalentCircuitReport.h"

#include "core/Misc.h"
#include "evaluation/DisplayQuantities.h"

#include <complex>
#include <numbers>

namespace ymt {

CircuitFitTexts FormatCircuitFit(const EquivalentCircuit& fit) {
    const ButterworthVanDyke& c = fit.Circuit;
    CircuitFitTexts texts;
    texts.C0 = FixedText(c.C0 * 1e9, 1, 4);
    texts.LossTangent = FixedText(c.LossTangent * 1e4, 1, 1);
    texts.R1 = FixedText(c.R1, 1, 3);
    texts.L1 = FixedText(c.L1 * 1e3, 1, 4);
    texts.C1 = FixedText(c.C1 * 1e12, 1, 3);
    texts.Fs = FixedText(fit.SeriesResonanceKHz, 1, 3);
    texts.Fp = FixedText(fit.ParallelResonanceKHz, 1, 3);
    texts.Qm = FixedText(fit.QualityFactor, 1, 0);
    texts.KEff = FixedText(fit.CouplingFactor * 100, 1, 2);
    texts.Rms = FixedText(fit.RelativeRms * 100, 1, 3);
    texts.Points = IntText(fit.Points);
    return texts;
}

QString CircuitFitProtocolLine(const QString& sampleName, const EquivalentCircuit& fit) {
    const CircuitFitTexts texts = FormatCircuitFit(fit);
    return sampleName + QStringLiteral("\tfit\tfs[kHz] ") + texts.Fs +
           QStringLiteral("\tfp[kHz] ") + texts.Fp + QStringLiteral("\tQm ") + texts.Qm;
}

void StoreFittedCurves(CurveStore& store, const ButterworthVanDyke& circuit,
                       const std::vector<double>& frequenciesKHz, int displayCode,
                       const SampleDescription& sample) {
    ClearFittedCurves(store);
    const DisplayPairInfo pair = DisplayPair(displayCode);
    if (displayCode == kPermittivityPair && sample.ElectrodeArea <= 0)
        return;
    for (const int curve : {kFittedFirstCurve, kFittedSecondCurve}) {
        const Curve& measured = store.curve(curve == kFittedFirstCurve ? 1 : 2);
        store.setAxis(curve, measured.Axis);
        store.setWidth(curve, 1);
        store.setColor(curve, curve == kFittedFirstCurve ? 0x000000 : 0x404040);
        // Shown with the measured curve it follows.
        store.setVisible(curve, measured.Visible);
    }
    for (const double f : frequenciesKHz) {
        const std::complex<double> z = CircuitImpedance(circuit, f);
        const PointTerms terms = TermsOfPoint(f, std::abs(z), std::arg(z) * 180 / std::numbers::pi);
        store.AddPoint(
            kFittedFirstCurve, f,
            QuantityValue(pair.First, terms, sample.ElectrodeDistance, sample.ElectrodeArea));
        store.AddPoint(
            kFittedSecondCurve, f,
            QuantityValue(pair.Second, terms, sample.ElectrodeDistance, sample.ElectrodeArea));
    }
}

void ClearFittedCurves(CurveStore& store) {
    store.ClearCurve(kFittedFirstCurve);
    store.ClearCurve(kFittedSecondCurve);
    store.setVisible(kFittedFirstCurve, false);
    store.setVisible(kFittedSecondCurve, false);
}

} // namespace ymt
