#include <cmath>
#include <limits>

#include "framework/runtime.h"
#include "phase/phase.h"
#include "phase/search_steps.h"

namespace phase {

using Globals::kGases;

std::string SolutionText(int passes) { return "Solution after " + std::to_string(passes) + " iterations"; }

using detail::Computed;
using detail::DampedSecantStep;
using detail::Distribution;
using detail::Evaluate;
using detail::PhaseAt;
using detail::Trivial;

namespace {
// A step that has shrunk away while the residual exceeds 1e-6 only through
// the split's own rounding ends AtRounding: it is a solution if the phases
// check out, never a trivial one.
enum class End { Converged, AtRounding, Stalled, Diverged, Exhausted, Uncomputable };

// The residual Sx - Sy of the split of z by K and beta, with each
// denominator formed as K_i beta + (1 - beta): exact for beta 0 or 1, where
// the split's (K_i - 1) beta + 1 cancels for K_i far below 1 (relative error
// 1e-16 / K_i), which can hold the search's own residual above 1e-6 at a
// genuine point. No number where a denominator is not above 0.
double AccurateResidual(const GasArray& z, const GasArray& K, double beta) {
  double Sx = 0.0, Sy = 0.0;
  for (int i = 0; i < kGases; ++i) {
    if (z[i] != 0.0) {
      const double d = K[i] * beta + (1 - beta);
      if (!(d > 0)) return std::numeric_limits<double>::quiet_NaN();
      Sx += z[i] / d;
      Sy += K[i] * (z[i] / d);
    }
    RuntimeBackgroundTask();
  }
  return Sx - Sy;
}
}  // namespace

// A damped secant search on the sought pressure or temperature X for the
// residual F = sum(x) - sum(y) of the split before normalisation: at the
// homogenisation point the phase of the feed and its incipient phase have
// equal fugacities, so y = K x sums to 1 exactly when x does.
HomogenisationResult SolveHomogenisation(const HomogenisationInput& in) {
  HomogenisationResult r;
  const double beta = in.mode == Mode::Vapour ? 1.0 : 0.0;
  GasArray x = in.x, y = in.y;
  (void)Globals::Normaliser(x);
  (void)Globals::Normaliser(y);

  double T = in.pressureSought ? in.given : 0.0;
  double P = in.pressureSought ? 0.0 : in.given;
  const double X0 = in.guess;
  double X = X0;
  double Xold = in.pressureSought ? 0.9 * X0 : X0 - 10;
  double F = 0.01, Fold = -0.01, dX = 0.0;
  PhaseAt phaseX, phaseY;
  GasArray K = in.K;
  End end = End::Exhausted;
  int n = 0;
  for (;; ++n) {
    DampedSecantStep(X, Xold, F, Fold, dX);
    if (in.pressureSought) {
      P = X;
    } else {
      T = X;
    }

    phaseX = Evaluate(x, T, P, Globals::SmallestRoot, in.model);
    phaseY = Evaluate(y, T, P, Globals::LargestRoot, in.model);
    if (!Computed(in.z, phaseX, phaseY)) {
      end = End::Uncomputable;
      break;
    }
    K = Distribution(phaseX.phi, phaseY.phi);
    const Split s = SplitFixedPoint(in.z, K, beta);
    x = s.x;
    y = s.y;
    F = s.Sx - s.Sy;

    // A NaN step never recovers: it is a divergence, ended at once.
    if (std::fabs(dX) > 1e300 || !std::isfinite(X)) {
      end = End::Diverged;
      break;
    }
    if (F == 0) {
      end = End::Converged;
      break;
    }
    // The step also shrinks where the residual has stopped changing (the
    // halving branch above); that is no solution unless F is small.
    if (std::fabs(dX / X) < 1e-12) {
      if (std::fabs(F) <= 1e-6) {
        end = End::Converged;
      } else {
        end = std::fabs(AccurateResidual(in.z, K, beta)) <= 1e-6 ? End::AtRounding : End::Stalled;
      }
      break;
    }
    if (n == kLastPass) break;
    RuntimeBackgroundTask();
  }

  r.passes = n;
  r.answer = X;
  r.T = T;
  r.P = P;
  r.Vx = phaseX.V;
  r.Vy = phaseY.V;
  r.x = x;
  r.y = y;
  r.phiX = phaseX.phi;
  r.phiY = phaseY.phi;
  r.K = K;
  if (UsableVolume(r.Vx)) r.densityX = Globals::Density(x, r.Vx);
  if (UsableVolume(r.Vy)) r.densityY = Globals::Density(y, r.Vy);
  for (int i = 0; i < kGases; ++i) {
    if (UsableVolume(r.Vx) && std::isfinite(r.phiX[i])) r.fugacityX[i] = x[i] * r.phiX[i] * P;
    if (UsableVolume(r.Vy) && std::isfinite(r.phiY[i])) r.fugacityY[i] = y[i] * r.phiY[i] * P;
  }

  const bool converged = end == End::Converged;
  const bool trivial = Trivial(in.z, r.Vx, r.Vy);
  if (converged && trivial) {
    r.outcome = Outcome::Trivial;
    r.message = kTrivial;
  } else if ((converged || end == End::AtRounding) && !trivial && n >= 1 &&
             IsFeed(in.z, beta == 1.0 ? y : x, kFixedPointStep) &&
             IsEquilibrium(x, r.Vx, y, r.Vy, T, P, in.model, kFixedPointStep)) {
    r.outcome = Outcome::Solution;
    r.message = SolutionText(n);
    // The liquid mode marks the phase of the smaller molar volume, the
    // vapour mode that of the larger.
    if (in.mode == Mode::Liquid) {
      if (r.Vx < r.Vy) r.labelX = kPhaseXSolution;
      if (r.Vy < r.Vx) r.labelY = kPhaseYSolution;
    } else if (in.mode == Mode::Vapour) {
      if (r.Vx < r.Vy) r.labelY = kPhaseYSolution;
      if (r.Vy < r.Vx) r.labelX = kPhaseXSolution;
    }
  } else {
    r.outcome = Outcome::NoSolution;
    r.message = kNoSolution;
  }
  return r;
}

}  // namespace phase
