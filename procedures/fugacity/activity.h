// What the fugacity and activity windows list, worked out without a window:
// one row per component, in GasIndex order. No Qt here.
//
// Units: T in K, P and Pref in MPa, V in cm3/mol, fugacities in MPa;
// activities and coefficients are dimensionless.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/globals.h"

namespace fugacity {

// One listed component: a fugacity (MPa) and its coefficient phi, or an
// activity a and its coefficient a/x. A value that is not a number marks a
// component whose state has no solution (the window shows "no solution").
struct ComponentRow {
  int gas = 0;  // GasIndex
  double value = 0.0;
  double coefficient = 0.0;
};

// Fugacity f_i = x_i phi_i P and coefficient phi_i of every component with
// x_i > 0 at (T, P, V), by Globals::Fugacities. A state it cannot compute
// (P = 0, T <= 0, V <= b, e.g. a complex root stored as 0), or a coefficient
// it did not compute (phi beyond the double range, or ln phi no number),
// lists no numbers for that component (not the fallback 0 and 1), and a mixture
// without an attraction constant at T (N2 between about 1197 and 2136 K
// under Ostrem) none for any.
std::vector<ComponentRow> FugacityRows(const Globals::GasArray& x, double T, double P, double V,
                                       std::int32_t model);

// The standard states of the activities, numbered as their radio buttons.
enum class StandardState {
  PureRealAtP = 0,      // pure real gas i at T and P
  PureRealAtPref = 1,   // pure real gas i at T and Pref
  PureIdealAtPref = 2,  // ideal gas: f°_i = x_i Pref
};

// A reference pressure as typed: a number above 0 (MPa).
bool IsReferencePressure(std::string_view text);

// Activities a_i = f_i / f°_i of the mixture x at (T, P) on molar volume Vm,
// against `state`, for every component with x_i != 0, with a_i / x_i as the
// coefficient. For the pure real states the pure gas takes its vapour-like
// (largest) root when the standard pressure lies strictly below its
// saturation pressure, else its liquid-like (smallest) one, also where that
// pressure is below 0 (argon below about 81.9 K); a gas whose fugacity in
// the mixture or in the standard state was not computed (no root above the
// co-volume, a coefficient out of range) lists no numbers. Pref (only
// states 1 and 2) must be a number above 0: otherwise nothing is computed
// and no row comes back.
//
// Side effects on the shared state: Globals::Activity holds
// the computed activities (state 2 writes all eleven, the others the present
// ones), Globals::Fugacity and Globals::Coefficient what the last
// Globals::Fugacities call left, except that state 2 writes x_i Pref into
// Globals::Fugacity.
std::vector<ComponentRow> ActivityRows(const Globals::GasArray& x, double T, double P, double Vm,
                                       std::int32_t model, StandardState state, double Pref);

}  // namespace fugacity
