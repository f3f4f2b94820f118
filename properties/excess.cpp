#include <cmath>

#include "framework/runtime.h"
#include "properties/presence.h"
#include "properties/properties.h"

namespace Globals {

namespace {

double PureProperty(std::int32_t kind, const GasArray& pure, double T, double V,
                    std::int32_t model) {
  switch (kind) {
    case ExcessVolume:
      return V;
    case ExcessEnergy:
      return Energy(pure, T, V, model);
    case ExcessEnthalpy:
      return Enthalpy(pure, T, V, model);
    case ExcessEntropy:
      return Entropy(pure, T, V, model);
    case ExcessHelmholtz:
      return Helmholtz(pure, T, V, model);
    case ExcessGibbs:
      return Gibbs(pure, T, V, model);
    default:
      return 0.0;
  }
}

}  // namespace

std::optional<double> Excess(std::int32_t kind, const GasArray& x, double T, double P, double Fmix,
                             std::int32_t model) {
  constexpr double R = GasConstant;
  bool pure = false;      // one count equals the whole: never reset in the call
  bool any = false;       // a present component
  bool noVolume = false;  // a present component without a usable volume
  GasArray single{}, F{};

  // Present here means any non-zero count: a negative fraction counts.
  for (int i = 0; i < kGases; ++i) {
    const std::int64_t n = detail::FixedPoint(x[i]);
    if (n == PrecisionFactor) pure = true;
    if (n != 0) {
      any = true;
      single[i] = 1.0;
      CubicRoots roots = Volume(single, T, P, model);
      const double Psat = SaturationPressure(i, T);
      // Below its saturation pressure a pure component is a vapour.
      const double V =
          P < Psat ? VolumeChoice(roots, LargestRoot) : VolumeChoice(roots, SmallestRoot);
      // The energy functions fail (0.0) on a root not above the co-volume,
      // which a negative pressure gives; only the volume itself is kept.
      const double least = kind == ExcessVolume ? 0.0 : bMixture(single);
      if (!(V > least)) noVolume = true;
      F[i] = PureProperty(kind, single, T, V, model);
      single[i] = 0.0;
    }
    RuntimeBackgroundTask();
  }

  double E = Fmix;
  for (int i = 0; i < kGases; ++i) {
    if (detail::FixedPoint(x[i]) != 0) {
      E = E - x[i] * F[i];
      if (kind == ExcessEntropy) {
        E = E + (R * x[i]) * Log(x[i]);
      } else if (kind == ExcessHelmholtz || kind == ExcessGibbs) {
        E = E - ((R * T) * x[i]) * Log(x[i]);
      }
    }
    RuntimeBackgroundTask();
  }
  if (pure) return 0.0;
  const bool known = kind >= ExcessVolume && kind <= ExcessGibbs;
  // A pure-component value computed at no volume is a failure value, not a
  // property, and nothing present leaves nothing to compare with: an excess
  // built on either would be meaningless.
  if (known && (noVolume || !any)) return std::nullopt;
  // A negative fraction has no logarithm, and a pure component may have no
  // attraction constant at T (Ostrem 1999).
  if (!std::isfinite(E)) return std::nullopt;
  return E;
}

}  // namespace Globals
