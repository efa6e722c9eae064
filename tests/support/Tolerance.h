// Near-equality of computed numbers in the tests: one relative comparison for every test, and
// the resolution of the numbers the analyzers send.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace ymt::test {

// Within `relative` of the expected magnitude, or within `floor` for values near zero; equal
// values always are (infinities too), a NaN never is.
inline bool RelativelyNear(double actual, double expected, double relative, double floor = 0) {
    return actual == expected ||
           std::fabs(actual - expected) <= std::max(relative * std::fabs(expected), floor);
}

// The same as an assertion that shows both values:
// EXPECT_TRUE(IsRelativelyNear(fitted, expected, 1e-7)) << "C0";
inline ::testing::AssertionResult IsRelativelyNear(double actual, double expected, double relative,
                                                   double floor = 0) {
    if (RelativelyNear(actual, expected, relative, floor))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << actual << " vs " << expected << " (relative tolerance " << relative << ")";
}

// Relative resolution of the analyzers' replies: the 4194A (model 0) sends 6 significant
// digits, the 4294A 10.
inline double AnalyzerDigitsTolerance(int model) {
    return model == 0 ? 6e-6 : 1e-9;
}

} // namespace ymt::test
