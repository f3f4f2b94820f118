#include <cmath>
#include <limits>

#include "framework/runtime.h"
#include "properties/properties.h"

namespace Globals {

GasArray LnCoefficient{};

void Fugacities(const GasArray& x, double T, double P, double V, std::int32_t model) {
  // a and b are refreshed even for an invalid state: callers read the tables.
  const double am = aMixture(x, T, model);
  const PairTable aij = a;  // a handler let through below may recompute a and b
  const double bm = bMixture(x);
  const GasArray bs = b;

  // P != 0 written so that a NaN pressure fails it, like T > 0 and V > b.
  if (!((P < 0 || P > 0) && T > 0 && V > bm)) {
    for (int i = 0; i < kGases; ++i) {
      Coefficient[i] = 1.0;
      Fugacity[i] = 0.0;
      LnCoefficient[i] = std::numeric_limits<double>::quiet_NaN();
      RuntimeBackgroundTask();
    }
    return;
  }

  const double R = GasConstant;
  const double Z = (P * V) / (R * T);
  // The terms that no component changes.
  const double Lplus = Log((V + bm) / V);
  const double Lminus = Log(V / (V - bm));
  const double LnZ = Log(Z);
  const double pairScale = ((bm * R) * T) * Sqrt(T);
  const double ownScale = (((bm * bm) * R) * T) * Sqrt(T);
  const double ownLog = Lplus - bm / (V + bm);
  for (int i = 0; i < kGases; ++i) {
    const double bi = bs[i];
    double S = 0.0;
    for (int j = 0; j < kGases; ++j) {
      // An absent gas adds nothing, also where its pair constant is undefined
      // (N2 or CH4 between about 1197 K and 2136 K under Ostrem).
      if (x[j] != 0.0) S = S + (2 * x[j]) * aij[j][i];
      RuntimeBackgroundTask();
    }
    double lnPhi = Lminus;
    lnPhi = lnPhi + bi / (V - bm);
    lnPhi = lnPhi - (S * Lplus) / pairScale;
    lnPhi = lnPhi + ((am * bi) * ownLog) / ownScale;
    lnPhi = lnPhi - LnZ;

    // A trace gas in a liquid can have ln phi of several hundred; phi is
    // kept wherever it is a normal double. Past that (|ln phi| above about
    // 708), or where ln phi is no number (Z <= 0, no attraction constant at
    // T), there is no coefficient: NaN, never a stand-in that looks like one.
    LnCoefficient[i] = lnPhi;
    const double phi = Exp(lnPhi);
    if (std::isnormal(phi)) {
      Coefficient[i] = phi;
      Fugacity[i] = (x[i] * phi) * P;
    } else {
      Coefficient[i] = std::numeric_limits<double>::quiet_NaN();
      Fugacity[i] = std::numeric_limits<double>::quiet_NaN();
    }
    RuntimeBackgroundTask();
  }
}

}  // namespace Globals
