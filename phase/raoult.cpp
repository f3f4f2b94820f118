#include "framework/runtime.h"
#include "phase/phase.h"
#include "properties/properties.h"

namespace Globals {

double RaoultPressure(const GasArray& x, double T, std::int32_t mode) {
  double S = 0.0;
  for (int i = 0; i < kGases; ++i) {
    const double psat = SaturationPressure(i, T);
    // An absent gas adds nothing: at T <= 0 its Psat is 0 or not finite and
    // 0 * inf would poison the sum. For T > 0 the result is unchanged.
    if (x[i] != 0.0) {
      if (mode == 0) S = S + x[i] * psat;
      if (mode == 1) S = S + x[i] / psat;
    }
    RuntimeBackgroundTask();
  }
  if (mode == 1) return S > 0 ? 1 / S : 0.0;
  if (mode == 0) return S;
  return 0.0;
}

GasArray WilsonDistribution(double T, double P) {
  GasArray K;
  K.fill(1.0);
  if (T > 0 && P > 0) {
    CriticalValues();
    for (int i = 0; i < kGases; ++i) {
      K[i] = Exp(Log(Pcrit[i] / P) + (5.373 * (1 + Acentric[i])) * (1 - Tcrit[i] / T));
      RuntimeBackgroundTask();
    }
  }
  return K;
}

}  // namespace Globals
