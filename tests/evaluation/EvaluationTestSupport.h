// Spectra and checks shared by the evaluation tests.
#pragma once

#include "evaluation/ResonanceEvaluation.h"
#include "plot/curves/CurveStore.h"

#include <QString>
#include <gtest/gtest.h>

#include <vector>

namespace ymt::test {

// Curve 3 gets (f, |Z|), curve 4 (f, theta) with theta 0 unless given.
inline CurveStore SpectrumStore(const std::vector<double>& f, const std::vector<double>& z,
                                const std::vector<double>& theta = {}) {
    CurveStore store;
    for (size_t i = 0; i < f.size(); ++i) {
        store.AddPoint(kImpedanceCurve, f[i], z[i]);
        store.AddPoint(kPhaseCurve, f[i], i < theta.size() ? theta[i] : 0.0);
    }
    return store;
}

inline bool IsNumberText(const QString& text) {
    const QString lower = text.toLower();
    return !lower.contains(QStringLiteral("nan")) && !lower.contains(QStringLiteral("inf"));
}

inline void ExpectNoNonFiniteLabel(const ResultLabels& labels) {
    for (const QString* label : {&labels.FMin, &labels.FMax, &labels.Rs, &labels.Q3dB, &labels.B3dB,
                                 &labels.DeltaLgR, &labels.KEff, &labels.KMode})
        EXPECT_TRUE(IsNumberText(*label)) << label->toStdString();
}

} // namespace ymt::test
