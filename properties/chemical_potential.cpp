#include "framework/runtime.h"
#include "properties/presence.h"
#include "properties/properties.h"

namespace Globals {

double ChemicalPotential(std::int32_t i, const GasArray& x, double T, double V,
                         std::int32_t model) {
  const double am = aMixture(x, T, model);
  const PairTable aij = a;  // a handler let through below may recompute a and b
  const double bm = bMixture(x);
  const GasArray bs = b;
  if (!(V > bm && T > 0) || i < 0 || i >= kGases) return 0.0;

  constexpr double R = GasConstant;
  // Ideal-gas Gibbs energy of pure i: U - TS + RT = H - TS.
  GasArray pure{};
  pure[i] = 1.0;
  const double H0 = IdealGas(IdealEnthalpy, pure, T);
  const double S0 = IdealGas(IdealEntropy, pure, T);
  const double U0 = H0 - R * T;
  double mu = (U0 - T * S0) + R * T;

  // Only present components attract: one below the fixed-point resolution
  // is left out, i itself included.
  double S = 0.0;
  for (int j = 0; j < kGases; ++j) {
    if (detail::Present(x[j])) S = S + (2 * x[j]) * aij[i][j];
    RuntimeBackgroundTask();
  }
  mu = mu - (S / (bm * Sqrt(T)) - (bs[i] * am) / ((bm * bm) * Sqrt(T))) * Log((V + bm) / V);
  mu = mu - (am * bs[i]) / ((bm * Sqrt(T)) * (V + bm));
  mu = mu - (R * T) * Log((V - bm) / V);
  mu = mu + ((R * T) * bs[i]) / (V - bm);
  mu = mu - (R * T) * Log((0.1 * V) / ((x[i] * R) * T));
  return mu;
}

}  // namespace Globals
