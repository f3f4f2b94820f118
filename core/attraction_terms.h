// The pure-gas terms of the attraction constant that aMixture and its
// temperature derivative both need, and the mixing sum they share. One
// definition each, so that a and da/dT can never drift apart by a bit.
#pragma once

#include "core/globals.h"
#include "framework/runtime.h"

namespace Globals::terms {

// 2^(1/3) - 1 through the power function, not cbrt: the two differ by an ulp.
inline double G() { return Pow(2.0, 0.3333333333333333) - 1; }

// a0 of gases 2..10 from their critical constants (K, MPa): in atm units for
// the Brennick sets, in MPa units for Ostrem.
inline double BrennickA0(double Tc, double Pc) {
  return ((6733.426523378758 * Tc) * Tc) * Sqrt(Tc) / ((((Pc * 10) / 1.01325) * 9) * G());
}
inline double OstremA0(double Tc, double Pc) {
  return ((69.130444638784 * Tc) * Tc) * Sqrt(Tc) / ((Pc * 9) * G());
}

// Ostrem's temperature-dependent a of N2 and CH4: forms in 1/T, times 1e6 last.
inline double N2Ostrem(double T) { return ((0.060191 - 200.59 / T) + 153860 / (T * T)) * 1000000; }
inline double CH4Ostrem(double T) {
  return (((-1.1764 + 3521.6 / T) - 1155000 / (T * T)) + 117670000 / ((T * T) * T)) * 1000000;
}

// The association constant of H2O with CO2 before any scaling; only for
// T > 100.925 K, below which callers take their fixed values.
inline double AssociationExp(double T) {
  return Exp(((-11.071 + 5953 / T) - 2746000 / (T * T)) + 464600000 / ((T * T) * T));
}

// Sum over i (outer) and j (inner) of (x_i x_j) table_ij. A term whose weight
// is exactly 0 is skipped: where a table entry is undefined (a negative aT
// under a root) an absent gas must not make the sum NaN.
inline double PairSum(const GasArray& x, const PairTable& table) {
  double sum = 0.0;
  for (int i = 0; i < kGases; ++i) {
    for (int j = 0; j < kGases; ++j) {
      const double w = x[i] * x[j];
      if (w != 0.0) sum = sum + w * table[i][j];
      RuntimeBackgroundTask();
    }
    RuntimeBackgroundTask();
  }
  return sum;
}

}  // namespace Globals::terms
