#include <cmath>

#include "framework/runtime.h"
#include "phase/phase.h"

namespace phase {

using Globals::kGases;

namespace {

// x_i = z_i / ((K_i - 1)·beta + 1) (z_i where that is not above 0), y_i =
// K_i·x_i, and the two sums; with `presentOnly`, gases with z_i <= 0 stay 0.
Split Spread(const GasArray& z, const GasArray& K, double beta, bool presentOnly) {
  Split s;
  for (int i = 0; i < kGases; ++i) {
    if (!presentOnly || z[i] > 0) {
      const double d = (K[i] - 1) * beta + 1;
      s.x[i] = d > 0 ? z[i] / d : z[i];
      s.y[i] = K[i] * s.x[i];
    }
    RuntimeBackgroundTask();
  }
  for (int i = 0; i < kGases; ++i) {
    s.Sx = s.Sx + s.x[i];
    s.Sy = s.Sy + s.y[i];
  }
  return s;
}

}  // namespace

Split Distribute(const GasArray& z, const GasArray& K, double beta) { return Spread(z, K, beta, false); }

Split SplitFixedPoint(const GasArray& z, const GasArray& K, double beta) {
  Split s = Distribute(z, K, beta);
  s.Sx = Globals::Normaliser(s.x);
  s.Sy = Globals::Normaliser(s.y);
  return s;
}

Split SplitPlain(const GasArray& z, const GasArray& K, double beta) {
  Split s = Distribute(z, K, beta);
  const double Sx = s.Sx > 0 ? s.Sx : 1.0;
  const double Sy = s.Sy > 0 ? s.Sy : 1.0;
  for (int i = 0; i < kGases; ++i) {
    s.x[i] = s.x[i] / Sx;
    s.y[i] = s.y[i] / Sy;
  }
  return s;
}

Split SplitPresent(const GasArray& z, const GasArray& K, double beta) {
  Split s = Spread(z, K, beta, true);
  // A phase with nothing in it (before any first approach K is all 0) or with
  // an overflowed sum is kept as it is rather than divided into NaN.
  const bool divideX = std::isfinite(s.Sx) && s.Sx > 0;
  const bool divideY = std::isfinite(s.Sy) && s.Sy > 0;
  for (int i = 0; i < kGases; ++i) {
    if (divideX) s.x[i] = s.x[i] / s.Sx;
    if (divideY) s.y[i] = s.y[i] / s.Sy;
  }
  return s;
}

HomogenisationStart HomogenisationFirstApproach(const GasArray& z, bool temperatureGiven, double T,
                                                double P, std::int32_t mode) {
  HomogenisationStart start;
  if (temperatureGiven) {
    start.T = T;
    start.P = Globals::RaoultPressure(z, T, mode);
    start.guess = start.P;
  } else {
    start.T = 298.15;
    start.guess = 298.15;
    start.P = P;
  }
  start.K = Globals::WilsonDistribution(start.T, start.P);
  const Split s = SplitFixedPoint(z, start.K, static_cast<double>(mode));
  start.x = s.x;
  start.y = s.y;
  return start;
}

LiquidVapourStart LiquidVapourFirstApproach(const GasArray& z, double T) {
  LiquidVapourStart start;
  start.T = T;
  const double bubble = Globals::RaoultPressure(z, T, 0);
  const double dew = Globals::RaoultPressure(z, T, 1);
  start.P = 0.5 * (bubble + dew);
  start.fraction = 0.5;
  start.K = Globals::WilsonDistribution(T, start.P);
  const Split s = SplitPlain(z, start.K, 0.5);
  start.x = s.x;
  start.y = s.y;
  return start;
}

}  // namespace phase
