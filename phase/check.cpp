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

// Fugacities (MPa) of the phase x at molar volume V, T and P; none (NaN)
// where Fugacities put its coefficient to 1.0 because |ln phi| reached its
// cut: x P is then no fugacity, and two such "agree" whatever the phases.
// (A true coefficient of exactly 1.0 needs |ln phi| below 1.2e-16.)
GasArray FugacitiesAt(const GasArray& x, double T, double P, double V, std::int32_t model) {
  Globals::Fugacities(x, T, P, V, model);
  GasArray f = Globals::Fugacity;
  for (int i = 0; i < kGases; ++i) {
    if (Globals::Coefficient[i] == 1.0) f[i] = NAN;
  }
  return f;
}

// Whether V is a root of the phase's equation of state at T and P, within a
// Newton step of 1e-3 V:
//     |P(V) - P| <= 1e-3 V |dP/dV|,  dP/dV = -RT/(V - b)^2 + a (2V + b)/(sqrt(T) V^2 (V + b)^2).
// Against the slope rather than P itself: a liquid root off by a rounding
// misses P by far more than P's own rounding, yet is a tiny step from V.
// The cubic's liquid root at a pressure near 1e-8 MPa, tens of per cent off,
// is not a root.
bool OnItsRoot(const GasArray& x, double V, double T, double P, std::int32_t model) {
  const double am = Globals::aMixture(x, T, model);
  const double bm = Globals::bMixture(x);
  const double R = Globals::GasConstant;
  const double slope =
      -(R * T) / ((V - bm) * (V - bm)) + (am * (2 * V + bm)) / ((std::sqrt(T) * V * V) * ((V + bm) * (V + bm)));
  const double miss = std::fabs(Globals::Pressure(x, T, V, model) - P);
  return miss <= 1e-3 * V * std::fabs(slope);
}

}  // namespace

bool UsableVolume(double V) { return std::isfinite(V) && V > 0; }

bool IsEquilibrium(const GasArray& x, double Vx, const GasArray& y, double Vy, double T, double P,
                   std::int32_t model) {
  if (!PlainComposition(x) || !PlainComposition(y)) return false;
  if (!std::isfinite(Vx) || !std::isfinite(Vy) || !std::isfinite(T) || !std::isfinite(P)) return false;
  if (!(Vx > Globals::bMixture(x)) || !(Vy > Globals::bMixture(y))) return false;
  if (!OnItsRoot(x, Vx, T, P, model) || !OnItsRoot(y, Vy, T, P, model)) return false;

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
