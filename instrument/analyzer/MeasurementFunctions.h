// The 21 measurement functions of the analyzers (display pairs 1-21): what traces A and B
// show for a complex impedance. Code 21 (eps' - eps'') is measured as |Z| - theta, as the
// program selects it that way; the permittivity needs the sample geometry, which only the
// program knows.
#pragma once

#include <complex>

namespace ymt {

struct TracePairValues {
    double traceA = 0;
    double traceB = 0;
};

// z in ohm at frequency f in Hz (f > 0). Angles in degrees; L in H, C in F, G and B in S.
// Codes outside 1-21 give |Z| - theta.
TracePairValues MeasurementFunctionValues(int code, std::complex<double> z, double frequencyHz);

} // namespace ymt
