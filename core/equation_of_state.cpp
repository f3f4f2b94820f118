#include <cmath>

#include "core/globals.h"
#include "framework/runtime.h"

namespace Globals {

double Pressure(const GasArray& x, double T, double V, std::int32_t model) {
  const double bm = bMixture(x);
  if (bm < V) {
    const double am = aMixture(x, T, model);
    return (8.314472 * T) / (V - bm) - am / ((Sqrt(T) * V) * (V + bm));
  }
  return 0.0;
}

namespace {

// The damped secant search on F(T) = P - Pressure(T): half the secant step
// per pass, at most 500 passes. Returns where it stands.
double SecantTemperature(const GasArray& x, double P, double V, std::int32_t model, double bm) {
  auto F = [&](double T) { return P - Pressure(x, T, V, model); };

  const double Ta = (P * (V - bm)) / 8.314472;
  const double Fa = F(Ta);
  const double Tb = Ta + 10.0;
  const double Fb = F(Tb);

  double Tc, Fc, To, Fo;
  if (Abs(Fa) < Abs(Fb)) {
    Tc = Ta, Fc = Fa, To = Tb, Fo = Fb;
  } else {
    Tc = Tb, Fc = Fb, To = Ta, Fo = Fa;
  }
  double s = (Tc - To) / 2;

  int counter = 1;
  while (!(counter > 1000)) {
    counter += 1;
    if (Fc == Fo && Fc != 0) {
      s = Tc == To ? s * 2 : (Tc - To) / 2;
    } else {
      s = (((To - Tc) * 0.5) * Fc) / (Fc - Fo);
    }
    To = Tc;
    Fo = Fc;
    Tc = Tc + s;
    if (!(Tc > 0)) Tc = (Tc - s) / 2;
    Fc = F(Tc);
    if (Abs(s) > 1e300) {
      RuntimeBackgroundTask();
      break;
    }
    if (Abs(s / Tc) < 1e-12) break;
    if (Fc == 0) break;
    RuntimeBackgroundTask();
    counter += 1;
  }
  return Tc;
}

// Bisection on a bracket of F = P - Pressure(T), for when the secant search
// ends on something that does not solve the equation. 0.0 when F cannot be
// bracketed in [1e-3 K, 1e7 K].
double BracketedTemperature(const GasArray& x, double P, double V, std::int32_t model,
                            double start) {
  auto F = [&](double T) { return P - Pressure(x, T, V, model); };

  double lo = std::isfinite(start) && start > 1e-3 ? start : 1.0;
  double Flo = F(lo);
  while (!(Flo > 0) && lo > 1e-3) {
    lo = lo / 2;
    Flo = F(lo);
    RuntimeBackgroundTask();
  }
  if (!(Flo > 0)) return 0.0;

  double hi = lo;
  double Fhi = Flo;
  while (!(Fhi < 0) && hi < 1e7) {
    if (Fhi > 0) lo = hi;  // the last point with F > 0 is the best lower end
    hi = hi * 2 < 1e7 ? hi * 2 : 1e7;
    Fhi = F(hi);
    RuntimeBackgroundTask();
  }
  if (!(Fhi < 0)) return 0.0;

  for (int pass = 0; pass < 200 && hi - lo > 1e-14 * hi; ++pass) {
    const double mid = lo + (hi - lo) / 2;
    if (mid <= lo || mid >= hi) break;
    const double Fm = F(mid);
    if (Fm == 0) return mid;
    if (Fm > 0) {
      lo = mid;
    } else if (Fm < 0) {
      hi = mid;
    } else {
      return 0.0;  // NaN inside the bracket
    }
    RuntimeBackgroundTask();
  }
  return lo + (hi - lo) / 2;
}

}  // namespace

double Temperature(const GasArray& x, double P, double V, std::int32_t model) {
  const double bm = bMixture(x);
  if (!std::isfinite(P) || !std::isfinite(V) || !(V > bm)) return 0.0;

  const double T = SecantTemperature(x, P, V, model, bm);

  // The secant search can stop on a value that does not solve the equation
  // (far below 1 K, or a NaN); accept it only when it reproduces P.
  if (std::isfinite(T) && T > 0) {
    const double residual = Abs(P - Pressure(x, T, V, model));
    if (residual <= 1e-9 * (Abs(P) + (8.314472 * T) / (V - bm))) return T;
  }
  return BracketedTemperature(x, P, V, model, (P * (V - bm)) / 8.314472);
}

CubicRoots Volume(const GasArray& x, double T, double P, std::int32_t model) {
  CubicRoots roots{};
  const double am = aMixture(x, T, model);
  const double bm = bMixture(x);
  if (P == 0) return roots;
  const double c2 = (-8.314472 * T) / P;
  const double c1 = ((-bm) * bm - ((8.314472 * T) * bm) / P) + am / (P * Sqrt(T));
  const double c0 = ((-am) * bm) / (P * Sqrt(T));
  return CubicEquation(c2, c1, c0);
}

double Density(const GasArray& x, double V) {
  MolecularMasses();
  double s = 0.0;
  for (int i = 0; i < kGases; ++i) {
    s = s + x[i] * MM[i];
    RuntimeBackgroundTask();
  }
  // V = 0 (an empty field) must not show an infinity.
  const double rho = s / V;
  return std::isfinite(rho) ? rho : 0.0;
}

}  // namespace Globals
