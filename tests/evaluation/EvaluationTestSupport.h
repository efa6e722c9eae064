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

inline void ExpectNoNonFiniteLabel(const ShownResults& shown) {
    for (const ResultValue* result : {&shown.FMin, &shown.FMax, &shown.Rs, &shown.Q3dB, &shown.B3dB,
                                      &shown.DeltaLgR, &shown.KEff, &shown.KMode})
        EXPECT_TRUE(IsNumberText(ResultText(*result))) << ResultText(*result).toStdString();
}

} // namespace ymt::test
