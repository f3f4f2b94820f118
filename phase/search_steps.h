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

// Whether both phases have a coefficient for every component of the feed z;
// one that Fugacities could not compute (NaN) leaves the search nothing to
// split by. Absent gases do not count.
inline bool Computed(const GasArray& z, const PhaseAt& X, const PhaseAt& Y) {
  for (int i = 0; i < Globals::kGases; ++i) {
    if (z[i] != 0.0 && !(std::isfinite(X.phi[i]) && std::isfinite(Y.phi[i]))) return false;
  }
  return true;
}

// K_i = phiX_i / phiY_i, 1.0 where phiY_i is not above 0 or either
// coefficient was not computed (only absent gases get that far).
inline GasArray Distribution(const GasArray& phiX, const GasArray& phiY) {
  GasArray K{};
  for (int i = 0; i < Globals::kGases; ++i) {
    K[i] = phiY[i] > 0 && std::isfinite(phiX[i]) && std::isfinite(phiY[i]) ? phiX[i] / phiY[i] : 1.0;
    RuntimeBackgroundTask();
  }
  return K;
}

// Phases that are alike: molar volumes within 1 % of each other, judged for
// a feed whose first component with z_i > 0 is a fraction up to 1 (one above
// 1 is never judged). Compositions are no test: a trace first component, or
// one that is nearly the whole feed, differs by less than 1e-4 between any
// two phases.
inline bool Trivial(const GasArray& z, double Vx, double Vy) {
  for (int i = 0; i < Globals::kGases; ++i) {
    if (!(z[i] > 0)) continue;
    return z[i] <= 1 && Vx > 0 && std::fabs((Vx - Vy) / Vx) < 0.01;
  }
  return false;
}

}  // namespace phase::detail
