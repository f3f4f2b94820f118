#include <cmath>
#include <limits>

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

// ln phi of every gas in the phase x at molar volume V, T and P; NaN where
// Fugacities could not work it out. Taken from ln phi itself, so that a
// trace gas whose phi lies far out of the double range is judged too.
GasArray LnCoefficientsAt(const GasArray& x, double T, double P, double V, std::int32_t model) {
  Globals::Fugacities(x, T, P, V, model);
  return Globals::LnCoefficient;
}

// Whether V is a root of the phase's equation of state at T and P, within a
// Newton step of 1e-3 V:
//     |P(V) - P| <= 1e-3 V |dP/dV|,  dP/dV = -RT/(V - b)^2 + a (2V + b)/(sqrt(T) V^2 (V + b)^2).
// Against the slope rather than P itself: a liquid root off by a rounding
// misses P by far more than P's own rounding, yet is a tiny step from V.
bool OnItsRoot(const GasArray& x, double V, double T, double P, std::int32_t model) {
  const double am = Globals::aMixture(x, T, model);
  const double bm = Globals::bMixture(x);
  const double R = Globals::GasConstant;
  const double slope =
      -(R * T) / ((V - bm) * (V - bm)) + (am * (2 * V + bm)) / ((std::sqrt(T) * V * V) * ((V + bm) * (V + bm)));
  const double miss = std::fabs(Globals::Pressure(x, T, V, model) - P);
  return miss <= 1e-3 * V * std::fabs(slope);
}

// The most that rounding an exact fraction to the grid of half step h moves
// the logarithm of the shown fraction v: -ln(1 - h/v). A fraction 0 has
// none (it is judged as a bound); one at or below h could stand for 0 and
// is left unjudged.
double RoundingOfLn(double v, double h) {
  if (v == 0.0 || h == 0.0) return 0.0;
  const double share = h / std::fabs(v);
  return share < 1 ? -std::log1p(-share) : std::numeric_limits<double>::infinity();
}

}  // namespace

bool UsableVolume(double V) { return std::isfinite(V) && V > 0; }

bool IsFeed(const GasArray& z, const GasArray& phase, double step) {
  // The phase sums to 1, so it is compared with z scaled to the sum 1. A
  // count n_i = round(v_i / step) is within half a step of v_i, their sum
  // within half a step per gas of 1, so n_i / sum is off by that share of
  // v_i more. The split's own rounding (d_i = K_i up to an ulp of 1) adds a
  // few ulps of 1 at most, as K_i >= z_i wherever the other phase sums to 1.
  const double h = step / 2;
  double sum = 0.0;
  for (double zi : z) sum += zi;
  if (!(sum > 0) || !std::isfinite(sum)) return false;
  const double splitRounding = 4 * std::numeric_limits<double>::epsilon();
  for (int i = 0; i < kGases; ++i) {
    const double feed = z[i] / sum;
    const double bound = h + splitRounding + kGases * h * std::fabs(feed);
    if (!(std::fabs(phase[i] - feed) <= bound)) return false;
    RuntimeBackgroundTask();
  }
  return true;
}

bool HoldsTheFeed(const GasArray& z, const GasArray& x, const GasArray& y, double beta, double tolerance) {
  for (int i = 0; i < kGases; ++i) {
    if (!(std::fabs((1 - beta) * x[i] + beta * y[i] - z[i]) <= tolerance)) return false;
    RuntimeBackgroundTask();
  }
  return true;
}

bool IsEquilibrium(const GasArray& x, double Vx, const GasArray& y, double Vy, double T, double P,
                   std::int32_t model, double step) {
  if (!PlainComposition(x) || !PlainComposition(y)) return false;
  if (!std::isfinite(Vx) || !std::isfinite(Vy) || !std::isfinite(T) || !std::isfinite(P)) return false;
  if (!(Vx > Globals::bMixture(x)) || !(Vy > Globals::bMixture(y))) return false;
  if (!OnItsRoot(x, Vx, T, P, model) || !OnItsRoot(y, Vy, T, P, model)) return false;

  // The solver's own coefficients make y = K x agree by construction; the
  // test is the fugacities of what is shown, computed afresh.
  const GasArray keptCoefficient = Globals::Coefficient, keptFugacity = Globals::Fugacity;
  const GasArray keptLn = Globals::LnCoefficient;
  const GasArray lnPhiX = LnCoefficientsAt(x, T, P, Vx, model);
  const GasArray lnPhiY = LnCoefficientsAt(y, T, P, Vy, model);
  Globals::Coefficient = keptCoefficient;
  Globals::Fugacity = keptFugacity;
  Globals::LnCoefficient = keptLn;

  // Every component present in either phase, trace ones included, by
  //     |ln(x_i phiX_i) - ln(y_i phiY_i)| <= 1e-3 + r(x_i) + r(y_i),
  // r(v) the most that rounding to the grid moves ln v: a shown v = n/s
  // stands for an exact value within h (half the grid step) of it, so ln v
  // is off by at most -ln(1 - h/v). A fraction 0 stands for one below h,
  // or below the smallest double off a grid: the other phase must put it
  // there.
  constexpr double kTolerance = 1e-3;
  const double h = step / 2;
  const double lnZero = std::log(std::fmax(h, std::numeric_limits<double>::denorm_min()));
  bool anyShared = false;
  for (int i = 0; i < kGases; ++i) {
    if (x[i] == 0.0 && y[i] == 0.0) continue;
    if (!std::isfinite(lnPhiX[i]) || !std::isfinite(lnPhiY[i])) return false;
    const double allowance = kTolerance + RoundingOfLn(x[i], h) + RoundingOfLn(y[i], h);
    if (x[i] > 0 && y[i] > 0) {
      const double gap = (std::log(x[i]) + lnPhiX[i]) - (std::log(y[i]) + lnPhiY[i]);
      if (!(std::fabs(gap) <= allowance)) return false;
      anyShared = true;
    } else if (x[i] > 0) {
      if (!(std::log(x[i]) + lnPhiX[i] - lnPhiY[i] <= lnZero + allowance)) return false;
    } else {
      if (!(std::log(y[i]) + lnPhiY[i] - lnPhiX[i] <= lnZero + allowance)) return false;
    }
    RuntimeBackgroundTask();
  }
  return anyShared;
}

}  // namespace phase
