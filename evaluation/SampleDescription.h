// What the operator tells about the sample: names, notes and the electrode geometry.
#pragma once

#include <QString>

#include <optional>

namespace ymt {

enum class GeometryKind { Arbitrary = 0, CircularDisc = 1, RectangularDisc = 2, Ring = 3 };

struct SampleDescription {
    QString Material;
    QString SampleName; // cleaned: part of file names
    QString Notes;
    QString MeasuredBy;
    GeometryKind Geometry = GeometryKind::Arbitrary;
    double ElectrodeDistance = 1.0; // mm
    double ElectrodeArea = 78.54;   // mm²
    double Dimension1 = 0.0;        // mm
    double Dimension2 = 0.0;        // mm
    // For the material constants: empty until typed, so that a missing value is named, not 0.
    std::optional<double> DensityKgM3;
    std::optional<double> PoissonRatio; // the disc's; 0.31 when empty
};

} // namespace ymt
