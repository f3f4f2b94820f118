#include "framework/runtime.h"
#include "properties/properties.h"

namespace Globals {

void Fugacities(const GasArray& x, double T, double P, double V, std::int32_t model) {
  // a and b are refreshed even for an invalid state: callers read the tables.
  const double am = aMixture(x, T, model);
  const double bm = bMixture(x);

  // P != 0 written so that a NaN pressure fails it, like T > 0 and V > b.
  if (!((P < 0 || P > 0) && T > 0 && V > bm)) {
    for (int i = 0; i < kGases; ++i) {
      Coefficient[i] = 1.0;
      Fugacity[i] = 0.0;
      RuntimeBackgroundTask();
    }
    return;
  }

  const double R = GasConstant;
  const double Z = (P * V) / (R * T);
  for (int i = 0; i < kGases; ++i) {
    const double bi = b[i];
    double S = 0.0;
    for (int j = 0; j < kGases; ++j) {
      // An absent gas adds nothing, also where its pair constant is undefined
      // (N2 or CH4 between about 1197 K and 2136 K under Ostrem).
      if (x[j] != 0.0) S = S + (2 * x[j]) * a[j][i];
      RuntimeBackgroundTask();
    }
    const double Lplus = Log((V + bm) / V);
    double lnPhi = Log(V / (V - bm));
    lnPhi = lnPhi + bi / (V - bm);
    lnPhi = lnPhi - (S * Lplus) / (((bm * R) * T) * Sqrt(T));
    lnPhi = lnPhi + ((am * bi) * (Lplus - bm / (V + bm))) / ((((bm * bm) * R) * T) * Sqrt(T));
    lnPhi = lnPhi - Log(Z);

    // Beyond |ln phi| = 227 exp would leave the range the windows can show;
    // a NaN (Z <= 0) fails the test as well.
    double phi = 1.0;
    if (Abs(lnPhi) < 227) phi = Exp(lnPhi);
    Coefficient[i] = phi;
    Fugacity[i] = (x[i] * phi) * P;
    RuntimeBackgroundTask();
  }
}

}  // namespace Globals
