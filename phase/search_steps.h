// The steps that the two searches share: a phase on its root with its
// fugacity coefficients, the distribution coefficients, and the
// trivial-solution test.
#pragma once

#include <cmath>

#include "framework/runtime.h"
#include "phase/phase.h"
#include "properties/properties.h"

namespace phase::detail {

struct PhaseAt {
  double V = 0.0;  // cm3/mol; 0.0 when the chosen root is not real
  GasArray phi{};
};

// The phase x at T and P on the root `root` (SmallestRoot or LargestRoot).
inline PhaseAt Evaluate(const GasArray& x, double T, double P, std::int32_t root, std::int32_t model) {
  PhaseAt at;
  Globals::CubicRoots roots = Globals::Volume(x, T, P, model);
  at.V = Globals::VolumeChoice(roots, root);
  Globals::Fugacities(x, T, P, at.V, model);
  at.phi = Globals::Coefficient;
  return at;
}

// One damped secant step of X from (Xold, Fold) and (X, F): half the secant
// step, or with equal residuals half the last move (twice dX when X stood
// still); a step to X <= 0 goes halfway to 0 instead. The point left becomes
// (Xold, Fold).
inline void DampedSecantStep(double& X, double& Xold, double F, double& Fold, double& dX) {
  if (F == Fold) {
    dX = X == Xold ? 2 * dX : (X - Xold) / 2;
  } else {
    dX = 0.5 * (Xold - X) * F / (F - Fold);
  }
  Xold = X;
  Fold = F;
  X = X + dX;
  if (X <= 0) X = (X - dX) / 2;
}

// K_i = phiX_i / phiY_i, 1.0 where phiY_i is not above 0.
inline GasArray Distribution(const GasArray& phiX, const GasArray& phiY) {
  GasArray K{};
  for (int i = 0; i < Globals::kGases; ++i) {
    K[i] = phiY[i] > 0 ? phiX[i] / phiY[i] : 1.0;
    RuntimeBackgroundTask();
  }
  return K;
}

// Phases of nearly the same composition or molar volume, judged on the first
// component with z_i > 0 alone: a fraction below 1 by either test, a pure
// fluid by the volumes only, a fraction above 1 by neither.
inline bool Trivial(const GasArray& z, const GasArray& x, const GasArray& y, double Vx, double Vy) {
  for (int i = 0; i < Globals::kGases; ++i) {
    if (!(z[i] > 0)) continue;
    const bool sameVolume = Vx > 0 && std::fabs((Vx - Vy) / Vx) < 0.01;
    if (z[i] < 1) return std::fabs(x[i] - y[i]) < 0.0001 || sameVolume;
    if (z[i] == 1) return sameVolume;
    return false;
  }
  return false;
}

}  // namespace phase::detail
