// The five molar functions of the mixture at a chosen molar-volume root, with
// their ideal-mixture and excess parts: what the thermodynamic-function
// windows show. No Qt here.
#pragma once

#include <cstdint>

#include "core/globals.h"

namespace thermo {

enum class ThermoFunction { Energy, Enthalpy, Entropy, Helmholtz, Gibbs };

// The function's value of the mixture x at T (K) and V (cm3/mol): U, H, A or
// G in J/mol relative to 298.15 K and 0.1 MPa, S in J/(mol K).
double FunctionValue(ThermoFunction f, const Globals::GasArray& x, double T, double V,
                     std::int32_t model);

// The ExcessKind that Excess takes for the function.
std::int32_t ExcessKindOf(ThermoFunction f);

// Whether (T, V) lies where the function is defined (StateDefined). Outside
// it the function returns 0.0, a failure value and not a property.
bool InDomain(ThermoFunction f, const Globals::GasArray& x, double T, double V);

enum class Outcome {
  Computed,     // total, ideal and excess hold the values
  NoExcess,     // total holds X; the excess (and so the ideal part) has no value
  NotComputed,  // no positive root, or a root outside the function's domain
  NoSolution,   // nothing present, or the function is no finite number there
};

struct FunctionParts {
  Outcome outcome = Outcome::NotComputed;
  double total = 0.0;   // X
  double ideal = 0.0;   // X - Xex
  double excess = 0.0;  // Xex
};

// X at root V, and its parts against the pure components at T and P (MPa).
// Excess runs only on a computed, finite X: a failure value of X would give
// an "excess" of nothing. A cleared composition has no state at all.
FunctionParts PartsAtRoot(ThermoFunction f, const Globals::GasArray& x, double T, double P,
                          double V, std::int32_t model);

}  // namespace thermo
