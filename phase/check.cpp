#include <cmath>

#include "framework/runtime.h"
#include "phase/phase.h"
#include "properties/properties.h"

namespace phase {

using Globals::kGases;

namespace {

// A phase as shown: finite fractions inside [0, 1] and summing to 1, both
// up to rounding.
bool PlainComposition(const GasArray& x) {
  constexpr double kSlack = 1e-9;
  double sum = 0.0;
  for (double xi : x) {
    if (!std::isfinite(xi) || xi < -kSlack || xi > 1 + kSlack) return false;
    sum += xi;
  }
  return std::fabs(sum - 1) <= kSlack;
}

// Fugacities (MPa) of the phase x at molar volume V, T and P.
GasArray FugacitiesAt(const GasArray& x, double T, double P, double V, std::int32_t model) {
  Globals::Fugacities(x, T, P, V, model);
  return Globals::Fugacity;
}

}  // namespace

bool UsableVolume(double V) { return std::isfinite(V) && V > 0; }

bool IsEquilibrium(const GasArray& x, double Vx, const GasArray& y, double Vy, double T, double P,
                   std::int32_t model) {
  if (!PlainComposition(x) || !PlainComposition(y)) return false;
  if (!std::isfinite(Vx) || !std::isfinite(Vy) || !std::isfinite(T) || !std::isfinite(P)) return false;
  if (!(Vx > Globals::bMixture(x)) || !(Vy > Globals::bMixture(y))) return false;

  // The solver's own coefficients make y = K x agree by construction; the
  // test is the fugacities of what is shown, computed afresh.
  const GasArray keptCoefficient = Globals::Coefficient, keptFugacity = Globals::Fugacity;
  const GasArray fX = FugacitiesAt(x, T, P, Vx, model);
  const GasArray fY = FugacitiesAt(y, T, P, Vy, model);
  Globals::Coefficient = keptCoefficient;
  Globals::Fugacity = keptFugacity;

  // A trace fraction on the 1e-12 grid of the fixed-point form is a few per
  // mille off; such components are not held to the tolerance.
  constexpr double kTrace = 1e-6, kTolerance = 1e-3;
  bool anyShared = false;
  for (int i = 0; i < kGases; ++i) {
    if (x[i] == 0.0 || y[i] == 0.0) continue;
    const bool equal = std::isfinite(fX[i]) && std::isfinite(fY[i]) && fX[i] > 0 && fY[i] > 0 &&
                       std::fabs(fX[i] - fY[i]) <= kTolerance * std::fmax(fX[i], fY[i]);
    if (x[i] >= kTrace && y[i] >= kTrace) {
      if (!equal) return false;
      anyShared = true;
    } else if (equal) {
      anyShared = true;
    }
    RuntimeBackgroundTask();
  }
  return anyShared;
}

}  // namespace phase
