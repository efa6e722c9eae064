// Capacitance, loss tangent and relative permittivity of a sample from one single-frequency
// reading, and the electrode area that follows from the sample geometry. Plain functions: the
// "CT / eps / tand" command and the repeat measurement both compute with them.
#pragma once

#include "evaluation/ResultsSnapshot.h"
#include "evaluation/SampleDescription.h"

#include <QString>

#include <optional>

namespace ymt {

// Vacuum permittivity scaled so that C in nF, distance in mm and area in mm² give eps(rel).
inline constexpr double kVacuumPermittivity = 8.85e-6;

struct CapacitanceValues {
    double CapNF = 0; // nF; 0 = not measured
    double TanD = 0;  // units of 1e-4
};

// C and tand from the mean |Z| (ohm) and theta (degrees) at frequencyKHz. A reading that cannot
// give a capacitance (|Z| or the frequency not above 0, sin(theta) = 0, anything not finite)
// gives 0 for both, never a division by zero.
CapacitanceValues CapacitanceFromReading(double frequencyKHz, double zAvg, double thetaAvgDeg);

// eps(rel) = C d / (A eps0); 0 when C is 0 or the geometry gives no positive finite value.
double RelativePermittivity(double capNF, double distanceMm, double areaMm2);

enum class LossTangentUnit { PerMille = 0, Per10000 = 1 }; // list items "[1e-3]", "[1e-4]"

// The results as their labels show them: not determined for a value of 0 or one that is not
// finite.
ResultValue CapacitanceResult(double capNF);                      // 3 decimals
ResultValue LossTangentResult(double tanD, LossTangentUnit unit); // 1 decimal in the unit
ResultValue PermittivityResult(double epsRel);                    // 0 decimals

// The readings the spot measurement averages: "Number of points" as a whole number of at
// least 1; any other text (the field has no leave handler) gives 10.
int CapacitancePointCount(const QString& text);

// The electrode area (mm²) of a geometry from its two dimensions (mm). Empty for the arbitrary
// geometry (typed directly) and for dimensions that give no positive finite area, such as a ring
// whose inner diameter is not below the outer one.
std::optional<double> AreaFromDimensions(GeometryKind kind, double dimension1, double dimension2);

// The dimensions shown after an area is typed: the diameter of a disc or ring (with inner
// diameter 0), the side of a square; empty for the arbitrary geometry.
struct Dimensions {
    double Dimension1 = 0;
    double Dimension2 = 0;
};
std::optional<Dimensions> DimensionsFromArea(GeometryKind kind, double areaMm2);

// A typed positive value as the fields take it: anything not a positive finite number becomes
// the field's default (10 mm for a dimension, 1 mm for the distance, 100 mm² for the area).
double PositiveOr(double value, double fallback);

// A typed positive value as its field will show it (3 decimals): what the field shows is what
// is used, and a value that shows as 0 or less takes the field's default.
double ShownPositive(double typed, double fallback);

// A dimension as typed: the area follows from the values read, not from their 3-decimal
// display; a value that would show as 0 or less takes the default.
double TypedPositive(double typed, double fallback);

} // namespace ymt
