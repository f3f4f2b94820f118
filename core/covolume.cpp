#include "core/attraction_terms.h"
#include "core/globals.h"
#include "framework/runtime.h"

namespace Globals {

double bMixture(const GasArray& x) {
  CriticalValues();
  // Built privately and published whole, before the sum and again when the
  // call returns, as aMixture's table.
  GasArray bi{};
  bi[H2O] = 14.6;  // fixed, not from the critical constants
  for (int i = 1; i < kGases; ++i) {
    bi[i] = ((terms::G() * 8.314472) * Tcrit[i]) / (3 * Pcrit[i]);
    RuntimeBackgroundTask();
  }
  b = bi;
  double sum = 0.0;
  for (int i = 0; i < kGases; ++i) {
    sum = sum + x[i] * bi[i];
    RuntimeBackgroundTask();
  }
  b = bi;  // again: the sum lets events through too
  return sum;
}

}  // namespace Globals
