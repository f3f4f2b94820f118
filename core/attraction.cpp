#include <cmath>

#include "core/attraction_terms.h"
#include "core/globals.h"
#include "framework/runtime.h"

namespace Globals {

namespace {

// Stores a value of the atm-based sets in MPa units.
inline double ToMPa(double v) { return (v * 1.01325) / 10; }

// Polynomials in t (degrees Celsius): each power formed left to right, terms
// combined left to right.
double H2OBrennick1977(double t) {
  return ((166800000 - 193080 * t) + (186.4 * t) * t) - ((0.071288 * t) * t) * t;
}

double H2OBrennick1981(double t) {
  if (t < 600) {
    return (((4221000000.0 - 31227000 * t) + (87485 * t) * t) - ((107.295 * t) * t) * t) +
           (((0.0486111 * t) * t) * t) * t;
  }
  if (t < 1200) return H2OBrennick1977(t);
  return 40000000 - 50000 * t;
}

double CO2Brennick(double t) { return (73030000 - 71400 * t) + (21.57 * t) * t; }

// Forms in 1/T, multiplied by 1e6 last.
double H2OOstrem(double T) {
  return (((9.4654 - 2024.6 / T) + 1492800 / (T * T)) + 757000000 / ((T * T) * T)) * 1000000;
}
double CO2Ostrem(double T) {
  return (((-1.2887 + 5936.3 / T) - 1412400 / (T * T)) + 117670000 / ((T * T) * T)) * 1000000;
}

// Association constant of H2O with CO2.
double Association(double T) { return T > 100.925 ? terms::AssociationExp(T) : 1e100; }

}  // namespace

double aMixture(const GasArray& x, double T, std::int32_t model) {
  const double t = T - 273.15;
  CriticalValues();

  if (model == Brennick1977 || model == Brennick1981 || model == Ostrem1999) {
    const bool ostrem = model == Ostrem1999;
    GasArray a0{}, aT{};
    double K, Q;

    if (!ostrem) {
      a0[H2O] = 35000000;
      a0[CO2] = 46000000;
      for (int i = 2; i < kGases; ++i) {
        a0[i] = terms::BrennickA0(Tcrit[i], Pcrit[i]);
        RuntimeBackgroundTask();
      }
      if (model == Brennick1977) {
        aT[H2O] = H2OBrennick1977(t);
      } else {
        aT[H2O] = H2OBrennick1981(t);
      }
      aT[CO2] = CO2Brennick(t);
      for (int i = 2; i < kGases; ++i) {
        aT[i] = a0[i];
        RuntimeBackgroundTask();
      }
      K = Association(T);
      Q = 682.2644424813527;
    } else {
      a0[H2O] = 3546375;
      a0[CO2] = 4660950;
      for (int i = 2; i < kGases; ++i) {
        a0[i] = terms::OstremA0(Tcrit[i], Pcrit[i]);
        aT[i] = a0[i];
        RuntimeBackgroundTask();
      }
      aT[H2O] = H2OOstrem(T);
      aT[CO2] = CO2Ostrem(T);
      aT[N2] = terms::N2Ostrem(T);
      aT[CH4] = terms::CH4Ostrem(T);
      K = T > 100.925 ? Association(T) * 9.869232667160128 : 9.869232667160128e100;
      Q = 69.130444638784;
    }

    auto store = [ostrem](double v) { return ostrem ? v : ToMPa(v); };

    // Built privately and published whole, before the sum and again when the
    // call returns: a handler let through in the loops may call aMixture
    // itself, and its table must not end up in this call's.
    PairTable table{};
    for (int i = 0; i < kGases; ++i) {
      table[i][i] = store(aT[i]);
      RuntimeBackgroundTask();
    }
    // The table is symmetric (the products under the roots commute exactly),
    // so each pair is worked out once. H2O and CO2 enter every pair with
    // another gas with their fixed a0.
    for (int i = 0; i < kGases; ++i) {
      for (int j = i + 1; j < kGases; ++j) {
        const double aij = i <= CO2 && j > CO2 ? store(Sqrt(a0[i] * aT[j]))
                                                : store(Sqrt(aT[i] * aT[j]));
        table[i][j] = aij;
        table[j][i] = aij;
        RuntimeBackgroundTask();
      }
      RuntimeBackgroundTask();
    }
    table[H2O][CO2] = store(Sqrt(a0[H2O] * a0[CO2])) + ((((Q * T) * T) * Sqrt(T)) * K) / 2;
    table[CO2][H2O] = table[H2O][CO2];
    a = table;
    const double sum = terms::PairSum(x, table);
    a = table;  // again: the sum lets events through too
    return sum;
  }

  const PairTable table = a;
  return terms::PairSum(x, table);
}

}  // namespace Globals
