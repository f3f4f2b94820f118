#include <cmath>

#include "framework/runtime.h"
#include "phase/phase.h"
#include "phase/search_steps.h"

namespace phase {

using Globals::kGases;

using detail::Computed;
using detail::DampedSecantStep;
using detail::Distribution;
using detail::Evaluate;
using detail::PhaseAt;
using detail::Trivial;

// A damped secant search on the pressure P for the residual F = sum(x) -
// sum(y) of the split before normalisation. Each pass takes K from the
// fugacity coefficients of both phases and the vapour amount fraction beta
// from the lever rule on the molar volumes: with phi the volume fraction of
// phase Y, V = (1 - beta) Vx + beta Vy gives
//     phi = Vy (V - Vx) / (V (Vy - Vx)),  beta = phi Vx / (Vy + phi (Vx - Vy)).
LiquidVapourResult SolveLiquidVapour(const LiquidVapourInput& in) {
  LiquidVapourResult r;
  const double V = in.V, T = in.T;
  GasArray K = in.K;
  double phi = in.fraction0;
  Split s = SplitPresent(in.z, K, phi);

  double X = in.P0;
  double Xold = 0.9 * in.P0;
  double dX = (X - Xold) / 2;
  double F = s.Sx - s.Sy, Fold = -0.01;
  double P = X;
  PhaseAt phaseX, phaseY;
  double lastBeta = phi;  // the amount fraction of the last split
  bool converged = false;
  int m = 0;
  for (int n = 0; n <= kLastPass; ++n) {
    m = n;
    DampedSecantStep(X, Xold, F, Fold, dX);
    P = X;

    phaseX = Evaluate(s.x, T, P, Globals::SmallestRoot, in.model);
    phaseY = Evaluate(s.y, T, P, Globals::LargestRoot, in.model);
    if (!Computed(in.z, phaseX, phaseY)) break;  // not converged
    K = Distribution(phaseX.phi, phaseY.phi);

    const double Vx = phaseX.V, Vy = phaseY.V;
    double beta = 0.5;
    if (V > 0 && Vx != Vy) {
      phi = Vy * (V - Vx) / (V * (Vy - Vx));
      beta = phi * Vx / (Vy + phi * (Vx - Vy));
    }
    if (beta > 2) beta = 0.5;
    if (beta < -1) beta = 0;

    s = SplitPresent(in.z, K, beta);
    lastBeta = beta;
    F = s.Sx - s.Sy;

    if (std::fabs(dX) > 1e300 || !std::isfinite(X)) break;  // diverged
    if (F == 0) {
      converged = true;
      break;
    }
    // A step that has shrunk while the residual stands still is no solution.
    if (std::fabs(dX / P) < 1e-12) {
      converged = std::fabs(F) <= 1e-6;
      break;
    }
    RuntimeBackgroundTask();
  }

  r.passes = m;
  r.P = P;
  r.T = T;
  r.fraction = phi;
  // With no overall volume the lever rule never applied: the fractions would
  // only repeat the guess.
  if (V > 0 && std::isfinite(phi)) {
    r.fractionX = 1 - phi;
    r.fractionY = phi;
  }
  r.Vx = phaseX.V;
  r.Vy = phaseY.V;
  r.x = s.x;
  r.y = s.y;
  r.phiX = phaseX.phi;
  r.phiY = phaseY.phi;
  r.K = K;
  if (UsableVolume(r.Vx)) r.densityX = Globals::Density(r.x, r.Vx);
  if (UsableVolume(r.Vy)) r.densityY = Globals::Density(r.y, r.Vy);
  for (int i = 0; i < kGases; ++i) {
    if (UsableVolume(r.Vx) && std::isfinite(r.phiX[i])) r.fugacityX[i] = r.x[i] * r.phiX[i] * P;
    if (UsableVolume(r.Vy) && std::isfinite(r.phiY[i])) r.fugacityY[i] = r.y[i] * r.phiY[i] * P;
  }

  r.outcome = Outcome::Solution;
  r.message = SolutionText(m);
  if (!converged || m == 0) {
    r.outcome = Outcome::NoSolution;
    r.message = kNoSolution;
  }
  if (converged) {
    if (Trivial(in.z, r.Vx, r.Vy)) {
      r.outcome = Outcome::Trivial;
      r.message = kTrivial;
    }
    // Written so that a fraction that is no number fails too.
    if (!(phi > 0 && phi <= 1)) {
      r.outcome = Outcome::FractionRange;
      r.message = kFractionRange;
    }
  }
  // Besides equal fugacities, the phases must hold the feed: with beta 1
  // and K_i below about 1e-16 the split's (K_i - 1) beta + 1 rounds to 0
  // and loses a component. The allowance is the stop rule's on F.
  if (r.outcome == Outcome::Solution &&
      (!HoldsTheFeed(in.z, r.x, r.y, lastBeta, 1e-6) || !IsEquilibrium(r.x, r.Vx, r.y, r.Vy, T, P, in.model))) {
    r.outcome = Outcome::NoSolution;
    r.message = kNoSolution;
  }
  return r;
}

}  // namespace phase
