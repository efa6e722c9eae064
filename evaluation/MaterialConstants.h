// Material constants of the resonance method: elastic compliances and stiffnesses, d and g
// constants, free and clamped permittivities, the frequency constant and Qm, from the series and
// parallel resonance of a bar, rod, thickness plate, shear plate or disc, its dimensions, its
// density and its capacitance. Pure functions: the window, the protocol and the script driver
// all format the same result.
#pragma once

#include "evaluation/CouplingFactors.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace ymt {

inline constexpr double kVacuumPermittivityFm = 8.8541878128e-12; // F/m
inline constexpr double kDefaultPoissonRatio = 0.31;

// An input a constant needs; a constant whose inputs are not all there is named missing.
enum class MaterialInput {
    SeriesResonance,    // fs
    ParallelResonance,  // fp
    ResonancePair,      // fp above fs, and inside the mode's first branch
    Density,            // rho
    Length,             // bar, rod
    Width,              // bar
    Thickness,          // bar, plates, disc
    Diameter,           // rod, disc
    Area,               // plates
    FreeCapacitance,    // C^T
    ClampedCapacitance, // C^S (thickness plate)
    PoissonRatio,       // disc: outside -1 < sigma < 0.5
    MotionalBranch,     // R1 and C1 of the fit, or Q(3dB)
};
// Name of the input as the window lists it, in the current language: "fs", "fp", "C^T" and
// "C^S" as symbols, the others ("fp above fs", "density", "length", "width", "thickness",
// "diameter", "area", "Poisson's ratio", "R1 and C1 or Q(3dB)" in English) from the texts.
QString MaterialInputName(MaterialInput input);

// What a value is, for its customary unit.
enum class MaterialUnit {
    Coupling,             // 1 (customary %)
    Compliance,           // m^2/N (1e-12 m^2/N)
    Stiffness,            // N/m^2 (1e10 N/m^2)
    ChargeConstant,       // C/N (1e-12 C/N = pm/V)
    VoltageConstant,      // V m/N (1e-3 V m/N)
    RelativePermittivity, // eps/eps0 (SI: times eps0 in F/m)
    FrequencyConstant,    // Hz m
    Ratio,                // Poisson's ratio, Qm: no unit
};
// Customary value = SI value * CustomaryFactor; the permittivity's SI unit is F/m and its value
// is kept relative, so SiFactor gives F/m from it (eps0) and 1 for all others.
double CustomaryFactor(MaterialUnit unit);
double SiFactor(MaterialUnit unit);
QString SiUnitText(MaterialUnit unit);        // "m^2/N", "N/m^2", "C/N", "V m/N", "F/m", "Hz m", ""
QString CustomaryUnitText(MaterialUnit unit); // "%", "1e-12 m^2/N", "1e10 N/m^2", "pC/N", ...

struct MaterialConstant {
    QString Name; // as in the state lines after "mat.": "sE11", "d31", "eps33T", "N", "Qm"
    MaterialUnit Unit = MaterialUnit::Ratio;
    std::optional<double> Value;        // SI; permittivities relative to eps0; empty when missing
    std::vector<MaterialInput> Missing; // why Value is empty (in the order the relation needs)
};

// Everything in SI units (Hz, kg/m^3, m, m^2, F, ohm). An empty, non-finite or non-positive value
// counts as missing (the Poisson's ratio only outside -1..0.5).
struct MaterialInputs {
    int Mode = kDefaultCouplingMode; // CouplingMode
    std::optional<double> FsHz, FpHz;
    std::optional<double> DensityKgM3;
    std::optional<double> LengthM, WidthM, ThicknessM, DiameterM;
    std::optional<double> AreaM2; // thickness and shear plate; the rod's from its diameter
    std::optional<double> FreeCapacitanceF;    // C^T, well below the first resonance
    std::optional<double> ClampedCapacitanceF; // C^S of the thickness plate (C0 of the fit)
    std::optional<double> SecondRadialFsHz;    // disc: fs of the first radial overtone
    std::optional<double> TypedPoissonRatio;   // disc: used when no overtone is given
    std::optional<double> R1Ohm, C1F;          // fit; Qm = 1/(2 pi fs R1 C1)
    std::optional<double> Q3dB;                // Qm when the fit gives none
};

enum class PoissonSource { NotUsed, Overtone, Typed, Default };

// The standard's size conditions, reported as warnings, never refusals.
enum class SizeCondition {
    BarShorterThan3_5Widths,        // l < 3.5 w
    BarNarrowerThan3Thicknesses,    // w < 3 t
    RodShorterThan2_5Diameters,     // l < 2.5 d
    PlateNarrowerThan10Thicknesses, // sqrt(A) < 10 t (thickness plate)
    DiscNarrowerThan10Thicknesses,  // D < 10 t
};
struct SizeWarning {
    SizeCondition Condition = SizeCondition::BarShorterThan3_5Widths;
    double Ratio = 0; // the sample's ratio (l/w, w/t, l/d, sqrt(A)/t, D/t)
    double Limit = 0; // 3.5, 3, 2.5, 10, 10
};
// In the current language; in English "bar shorter than 3.5 widths (l/w = 2.90)".
QString SizeWarningText(const SizeWarning& warning);

struct MaterialConstantsResult {
    int Mode = -1;
    // Per mode, in this order (all present, with a value or named missing):
    //   k31: k31 sE11 sD11 eps33T d31 g31 N Qm            (N = fs l)
    //   k33: k33 sD33 sE33 eps33T d33 g33 N Qm            (N = fs l)
    //   kt:  kt cD33 cE33 eps33S N Qm                     (N = fs t)
    //   k15: k15 cD55 cE55 sE55 eps11T d15 g15 N Qm       (N = fs t)
    //   kp:  kp sigma sE11 sE12 eps33T k31 d31 g31 N Qm   (N = fs D)
    std::vector<MaterialConstant> Constants;
    std::vector<SizeWarning> Warnings;
    PoissonSource SigmaSource = PoissonSource::NotUsed;
    std::optional<double> Eta1; // disc: the lowest root used for sigma
};

// Nothing (no constants) for a mode outside 0..4.
MaterialConstantsResult ComputeMaterialConstants(const MaterialInputs& inputs);

// The constant of that name, or null.
const MaterialConstant* FindMaterialConstant(const MaterialConstantsResult& result,
                                             QStringView name);

// The n-th (1, 2, ...) positive root of eta J0(eta) = (1 - sigma) J1(eta), the radial
// resonances of a free disc; empty for n < 1 or sigma outside -1..0.5.
std::optional<double> DiscFrequencyRoot(double sigma, int n);

// Poisson's ratio whose second to first disc root ratio is fs2/fs1 (2.6234 for 0.31); empty when
// the ratio lies outside what -1 < sigma < 0.5 gives.
std::optional<double> PoissonRatioFromOvertone(double overtoneRatio);

} // namespace ymt
