// The one module of shared state and numerics: per-gas constants, the
// composition and the model choice shared by all windows, a and b of gases and
// mixtures, and the modified Redlich-Kwong equation of state
//     P = RT/(V - b) - a/(sqrt(T) V (V + b))
// solved for P, T and V. Units: T in K, P in MPa, V in cm3/mol.
//
// Every formula is evaluated in a fixed order and grouping so that results are
// reproducible to the last bit; do not "simplify" the arithmetic.
#pragma once

#include <array>
#include <cstdint>

#include "framework/runtime.h"

namespace Globals {

inline constexpr int kGases = 11;

// Indexed by GasIndex.
using GasArray = std::array<double, kGases>;
// [0] real parts, [1] imaginary parts of the three roots (columns 0..2).
using CubicRoots = std::array<std::array<double, 3>, 2>;
using PairTable = std::array<std::array<double, kGases>, kGases>;
using IntegerArray = std::array<std::int64_t, kGases>;

enum GasIndex : int {
  H2O = 0, CO2 = 1, N2 = 2, H2S = 3, NH3 = 4, H2 = 5, O2 = 6, CO = 7, Ar = 8, CH4 = 9, C2H6 = 10
};

// AModel: the parameter set for a, kept in Selection.
inline constexpr std::int32_t Brennick1977 = 0;
inline constexpr std::int32_t Brennick1981 = 1;
inline constexpr std::int32_t Ostrem1999 = 2;

// RootChoice: the mode argument of VolumeChoice.
inline constexpr std::int32_t LargestRoot = 0;
inline constexpr std::int32_t MiddleRoot = 1;
inline constexpr std::int32_t SmallestRoot = 2;

// J/(mol K), which is also MPa cm3/(mol K).
inline constexpr double GasConstant = 8.314472;

// ---- Module state. Everything is zero at start but PrecisionFactor. ----
extern GasArray fraction;
extern GasArray Ttrip, Tcrit, Pcrit, Vcrit, Acentric;
extern GasArray MM;
extern PairTable a;
extern GasArray b;
extern std::array<double, 4> MolarVolumes;
extern GasArray Fugacity, Coefficient, Activity;
extern GasArray K_liq_vap, xgas, ygas;
extern IntegerArray IntegerFraction;
extern std::int64_t PrecisionFactor;  // 1000000000000: twelve decimal places
extern std::int32_t Selection;        // an AModel value
extern double TempKelvin, PresMPa, Vexcess;
// How many times a window has stored TempKelvin: a window can tell whether
// another stored a temperature since, also one of the same value.
extern std::uint64_t TempKelvinStores;
inline void StoreTempKelvin(double T) {
  TempKelvin = T;
  ++TempKelvinStores;
}

// A fraction in counts of 1/PrecisionFactor, as the composition window keeps
// it: the conversion saturates at the int64 limits and reads NaN as 0.
inline std::int64_t FixedPoint(double fraction) {
  return RuntimeCvtReal64ToSInt64(RuntimeCvtSInt64ToReal64(PrecisionFactor) * fraction);
}

// Puts every property back to its start value (start-up runs it once).
void InitProperties();
// Clears the arrays at exit. The scalars keep their values.
void ExitProperties();

// ---- Gas constants ----
// Refills Ttrip, Tcrit, Pcrit, Vcrit and Acentric.
void CriticalValues();
// Refills MM.
void MolecularMasses();

// ---- Mixture constants ----
// a of the mixture (MPa cm6 K^0.5 mol-2); leaves the pair table in `a`.
double aMixture(const GasArray& x, double T, std::int32_t model);
// b of the mixture (cm3/mol); leaves the co-volumes of the gases in `b`.
double bMixture(const GasArray& x);
// Whether the composition is empty (the composition window's clear): the
// equation of state then describes an ideal gas of nothing, which has no
// volume, pressure, temperature or excess to show.
inline bool NoGas(const GasArray& x) { return !(bMixture(x) > 0); }

// ---- Equation of state ----
// P in MPa, 0.0 when V <= b.
double Pressure(const GasArray& x, double T, double V, std::int32_t model);
// T in K at given P and V, 0.0 when there is no solution.
double Temperature(const GasArray& x, double P, double V, std::int32_t model);
// The three roots of the cubic in V, in CubicEquation's column order.
CubicRoots Volume(const GasArray& x, double T, double P, std::int32_t model);
// Density in g/cm3 at molar volume V; 0.0 when it is not a finite number.
double Density(const GasArray& x, double V);

// ---- Cubic equation and root choice ----
// Roots of V^3 + c2 V^2 + c1 V + c0 = 0. One real root: column 0, the complex
// pair in columns 1 and 2. Three real roots: middle, smallest, largest.
CubicRoots CubicEquation(double c2, double c1, double c0);
// The largest (mode 0), middle (1) or smallest (2) real root; 0.0 when none is
// real. Writes 0.0 into the real part of every complex root of `roots`.
double VolumeChoice(CubicRoots& roots, std::int32_t mode);

// ---- Composition ----
// Rescales x in place so that its fixed-point sum is exactly 1; returns the
// sum before rescaling.
double Normaliser(GasArray& x);

}  // namespace Globals
