// The thermodynamic property functions of a mixture by the modified
// Redlich-Kwong equation of state: fugacities, saturation pressures of the
// pure gases, ideal-gas properties, da/dT, the five energy functions, chemical
// potentials and excess properties. Units as in core/globals.h; energies in
// J/mol, entropies in J/(mol K), reference state 298.15 K and 0.1 MPa.
//
// Like the core, every formula is evaluated in a fixed order and grouping so
// that results are reproducible to the last bit.
#pragma once

#include <cstdint>
#include <optional>

#include "core/globals.h"

namespace Globals {

// IdealGasKind: the kind argument of IdealGas.
inline constexpr std::int32_t IdealHeatCapacity = 0;  // Cp, J/(mol K)
inline constexpr std::int32_t IdealEntropy = 1;       // J/(mol K)
inline constexpr std::int32_t IdealEnthalpy = 2;      // J/mol, formation scale

// ExcessKind: the kind argument of Excess.
inline constexpr std::int32_t ExcessVolume = 0;
inline constexpr std::int32_t ExcessEnergy = 1;
inline constexpr std::int32_t ExcessEnthalpy = 2;
inline constexpr std::int32_t ExcessEntropy = 3;
inline constexpr std::int32_t ExcessHelmholtz = 4;
inline constexpr std::int32_t ExcessGibbs = 5;

// Fills Coefficient and Fugacity (MPa) for all eleven gases, absent ones too,
// at the molar volume V of the phase the caller chose, and LnCoefficient with
// ln phi. An invalid state (P = 0, T <= 0 or V <= b) gives coefficients 1.0,
// fugacities 0.0 and ln phi NaN. A coefficient that is not computed, because
// exp(ln phi) is no normal double or ln phi is no number (Z <= 0, no
// attraction constant at T), is NaN, and so is its fugacity; LnCoefficient
// still holds ln phi where it is finite.
void Fugacities(const GasArray& x, double T, double P, double V, std::int32_t model);
extern GasArray LnCoefficient;

// Vapour (or sublimation) pressure of one pure gas, MPa. Between the triple
// and the critical point the gas's own correlation, elsewhere a simpler one.
// 0.0 for a gas index outside 0..10 or a temperature that gives no finite
// value.
double SaturationPressure(std::int32_t gas, double T);

// Cp, S or H of the ideal-gas mixture at T over the present components; 0.0
// for any other kind.
double IdealGas(std::int32_t kind, const GasArray& x, double T);

// da/dT of the mixture, MPa cm6 K^-0.5 mol-2. Under Ostrem1999 it reads
// Tcrit and Pcrit as the caller's last aMixture or bMixture call left them.
double dadT(const GasArray& x, double T, std::int32_t model);

// Molar functions at (T, V); 0.0 outside StateDefined, where that 0.0 is no
// value of the function.
double Entropy(const GasArray& x, double T, double V, std::int32_t model);    // J/(mol K)
double Helmholtz(const GasArray& x, double T, double V, std::int32_t model);  // J/mol
double Enthalpy(const GasArray& x, double T, double V, std::int32_t model);   // J/mol
double Energy(const GasArray& x, double T, double V, std::int32_t model);     // J/mol
double Gibbs(const GasArray& x, double T, double V, std::int32_t model);      // J/mol

// Where those functions are defined for a mixture of co-volume bm: T > 0,
// bm > 0 (an empty composition has no state) and V > bm; for the internal
// energy, which has no ln(V - b), V > 0.
inline bool StateDefined(double V, double T, double bm, bool energy = false) {
  return T > 0 && bm > 0 && (energy ? V > 0 : V > bm);
}

// Chemical potential of component i (x_i > 0), J/mol; 0.0 for V <= b, T <= 0
// or an index outside 0..10.
double ChemicalPotential(std::int32_t i, const GasArray& x, double T, double V, std::int32_t model);

// The excess value of the mixture property Fmix (named by kind) at T and P
// against the pure components, each in the phase it takes there. 0.0 for a
// pure fluid; Fmix for a kind outside 0..5. Nothing (not computed) when a
// present component has no positive molar volume (for kinds 1-5: none above
// its co-volume), when no component is present, or when the value is no
// finite number. Leaves the last pure component's values in a and b.
std::optional<double> Excess(std::int32_t kind, const GasArray& x, double T, double P, double Fmix,
                             std::int32_t model);

}  // namespace Globals
