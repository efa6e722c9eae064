// A simulated sample made of a piezoelectric material (class 6mm, poled along 3): its shape, its
// dimensions and the material's constants with their losses, answering with the closed-form
// impedance of the shape's one-dimensional model (the fundamental of its mode and the overtones).
// Losses enter as complex constants: compliances s (1 - j/Qm), stiffnesses c (1 + j/Qm),
// permittivities eps (1 - j tand).
//
// sicl.conf keys of a device section (instead of C0 and branch):
//   shape = bar | rod | plate | shear | disc   (the k31, k33, kt, k15 and kp samples)
//   length, width, thickness, diameter [mm], area [mm^2]: what the shape needs
//     bar: length width thickness   rod: length diameter   plate, shear: thickness area
//     disc: diameter thickness
//   density [kg/m^3], Qm, tand (the same key as for C0's loss)
//   sE11 sE12 sE13 sE33 sE55 [1e-12 m^2/N], d31 d33 d15 [1e-12 C/N], eps11T eps33T [eps0]:
//     bar: sE11 d31 eps33T   rod: sE33 d33 eps33T   shear: sE55 d15 eps11T
//     disc: sE11 sE12 d31 eps33T   plate: sE11 sE12 sE13 sE33 d31 d33 eps33T
// Constants a shape does not need may be given (one material for all five shapes).
#pragma once

#include <QString>
#include <QStringList>

#include <complex>
#include <optional>

namespace ymt {

enum class SampleShape { Bar, Rod, ThicknessPlate, ShearPlate, Disc };

// SI units; permittivities relative to eps0.
struct PiezoMaterial {
    double densityKgM3 = 0;
    double sE11 = 0, sE12 = 0, sE13 = 0, sE33 = 0, sE55 = 0; // m^2/N
    double d31 = 0, d33 = 0, d15 = 0;                        // C/N
    double eps11T = 0, eps33T = 0;                           // relative
    double qm = 0;                                           // mechanical quality factor
    double lossTangent = 0;                                  // dielectric loss tangent
};

struct MaterialSample {
    SampleShape shape = SampleShape::Bar;
    double lengthM = 0, widthM = 0, thicknessM = 0, diameterM = 0, areaM2 = 0;
    PiezoMaterial material;
};

// The lossless constants of the shape's model, derived from the material:
//   bar: k31, sE11, eps33T    rod: k33, sD33, eps33T    plate: kt, cD33, eps33S
//   shear: k15, cD55, eps11T  disc: kp, sE11, eps33T and sigma = -sE12/sE11
struct ShapeConstants {
    double coupling = 0;
    double elastic = 0;      // compliance (bar, rod, disc) or stiffness (plates), SI
    double permittivity = 0; // relative
    double poissonRatio = 0; // disc only
};
ShapeConstants DeriveShapeConstants(const MaterialSample& sample);

// Complex impedance in ohm at f (Hz); defined for f > 0.
std::complex<double> MaterialSampleImpedance(const MaterialSample& sample, double frequencyHz);

// J0 or J1 of a complex argument (the disc's lossy radial wave).
std::complex<double> BesselJ(int order, std::complex<double> z);

// The sicl.conf keys above, collected while a device section is read.
struct MaterialSampleKeys {
    QString shape;
    std::optional<double> length, width, thickness, diameter, area, density, qm;
    std::optional<double> sE11, sE12, sE13, sE33, sE55, d31, d33, d15, eps11T, eps33T;
};
// True when the key is one of the material sample's (its value then kept).
bool ReadMaterialSampleKey(const QString& key, const QString& value, MaterialSampleKeys& keys);
// The sample the keys describe; none when no shape is given. A shape with a key missing, or a
// value that is not a positive number where one is needed, gives none and names each problem
// ("shape = disc: diameter missing").
std::optional<MaterialSample> MaterialSampleFromKeys(const MaterialSampleKeys& keys,
                                                     double lossTangent,
                                                     QStringList* problems = nullptr);

} // namespace ymt
