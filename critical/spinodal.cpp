#include "critical/critical.h"

#include <cmath>

#include "critical/critical_internal.h"
#include "framework/runtime.h"

namespace Globals {

using detail::AccurateDeterminant;
using detail::AnyPresent;
using detail::DeterminantDD;
using detail::Finite;
using detail::SpinodalInDouble;

// ---- Spinodal ----

namespace {

// The spinodal temperature at a stop T of the secant. A root is confirmed by
// a sign change of the accurate determinant across T(1 -+ d), both sides
// above their rounding error, for the smallest d of 1e-11, 1e-9, ... 1e-3 that
// shows one: at 1e-11, T itself is kept; a wider one (the secant stopped
// early, where the whole determinant is below the snap) is halved on the
// determinant's sign until T is right to 1e-10, or until a point within the
// determinant's rounding, kept where that band is within 1e-9 of T. 0.0 where
// no d shows one.
double Refined(const GasArray& x, double T, double V, std::int32_t model) {
  Matrix Q = SpinodalMatrix(x, T, V, model);
  if (!Q.AllFinite()) return 0.0;
  const Matrix Cof = CofactorMatrix(Q, false);
  if (!Cof.AllFinite()) return 0.0;
  constexpr int kFailed = 2;
  auto sign = [&](double t) {
    const AccurateDeterminant d = DeterminantDD(x, t, V, model, Cof);
    if (!d.ok) return kFailed;
    if (!(Abs(d.value) > d.error)) return 0;
    return d.value > 0 ? 1 : -1;
  };
  for (double d : {1e-11, 1e-9, 1e-7, 1e-5, 1e-3}) {
    double lo = T * (1 - d), hi = T * (1 + d);
    const int below = sign(lo), above = sign(hi);
    if (below == kFailed || above == kFailed) return 0.0;
    if (below == 0 || above == 0 || below == above) continue;
    if (d == 1e-11) return T;
    for (int k = 0; k < 64 && hi - lo > 1e-10 * hi; ++k) {
      const double mid = lo + (hi - lo) / 2;
      const int at = sign(mid);
      if (at == kFailed) return 0.0;
      if (at == 0) {
        // The root as far as the determinant tells, where the band of its
        // rounding around mid (the root lies between its last points of
        // either sign) is narrow enough for T to be right to 1e-9.
        double l = lo, h = hi;
        for (double* edge : {&l, &h}) {
          const int want = edge == &l ? below : -below;
          double in = mid;
          for (int m = 0; m < 64 && Abs(*edge - in) > 1e-11 * hi; ++m) {
            const double t = *edge + (in - *edge) / 2;
            const int s = sign(t);
            if (s == kFailed) return 0.0;
            (s == want ? *edge : in) = t;
          }
        }
        return h - l <= 1e-9 * hi ? mid : 0.0;
      }
      (at == below ? lo : hi) = mid;
      RuntimeBackgroundTask();
    }
    return lo + (hi - lo) / 2;
  }
  return 0.0;
}

// Passes of the secant on the accurate determinant: from the starts, steps of
// a tenth of T reach 0.1 K in under 90.
constexpr int kAccuratePasses = 200;

// The secant of SpinDetSolution, on the determinant in double or, where that
// is all rounding (near the co-volume), on the accurate one; then a
// determinant at or below its rounding error stands for the snap.
double SpinodalSecant(const GasArray& x, double T0, double V, std::int32_t model, bool accurate) {
  // Nothing present: an empty matrix has determinant 1 at every T.
  if (!AnyPresent(x)) return 0.0;
  // The equation of state holds only for V > b.
  const double bm = bMixture(x);
  if (!Finite(V) || !(V > bm)) return 0.0;

  bool ok = true;
  // The unsnapped determinant: the secant must see a residual that decays
  // towards 0 as it is, not as a root.
  auto f = [&](double T) {
    Matrix Q = Globals::SpinodalMatrix(x, T, V, model);
    if (!Q.AllFinite()) {
      ok = false;
      return 0.0;
    }
    if (accurate) {
      const AccurateDeterminant d = DeterminantDD(x, T, V, model, Matrix());
      if (!d.ok) ok = false;
      return d.value;
    }
    const double det = DeterminantUnsnapped(Q);
    if (!Finite(det)) ok = false;
    return det;
  };
  // The accurate determinant's rounding error at T, asked for only where the
  // search has settled; NaN where it is no number.
  auto rounding = [&](double T) {
    if (!accurate) return kDeterminantSnap;
    const Matrix Cof = CofactorMatrix(Globals::SpinodalMatrix(x, T, V, model), false);
    const AccurateDeterminant d = Cof.AllFinite() ? DeterminantDD(x, T, V, model, Cof) : AccurateDeterminant{};
    return d.ok ? d.error : NAN;
  };

  const double Ta = T0, fa = f(Ta);
  const double Tb = 0.99 * T0, fb = f(Tb);
  if (!ok) return 0.0;
  double Tcur, fcur, Tprev, fprev;
  if (Abs(fa) >= Abs(fb)) {
    Tcur = Ta, fcur = fa, Tprev = Tb, fprev = fb;
  } else {
    Tcur = Tb, fcur = fb, Tprev = Ta, fprev = fa;
  }

  for (int k = 0; k <= (accurate ? kAccuratePasses : 1000); ++k) {
    const double D = fcur - fprev;
    double dT;
    if (D == 0.0) {
      // Equal determinants that are not 0 give no direction: a stop there
      // is no root.
      if (fcur != 0.0 && (k == 0 || Tcur != Tprev)) return 0.0;
      dT = 0.0;
    } else {
      dT = ((Tprev - Tcur) * fcur) / D;
      if (Abs(dT) > Tcur / 10) dT = dT < 0 ? -Tcur / 10 : Tcur / 10;
    }
    Tprev = Tcur;
    fprev = fcur;
    Tcur = Tcur + dT;
    fcur = f(Tcur);
    if (!ok) return 0.0;
    if (!(Abs(dT) < 1e300) || Tcur == 0.0) return 0.0;
    // A step below 1e-14 T has located the root as far as doubles allow
    // (rounding noise of a large matrix keeps the secant dithering there).
    if (Abs(dT) <= 1e-14 * Abs(Tcur)) return Refined(x, Tcur, V, model);
    // A determinant under the snap counts as a root only where the search
    // has settled; after a large step it is a residual that decays.
    if (Abs(dT) <= 1e-3 * Abs(Tcur) && Abs(fcur) <= rounding(Tcur)) return Refined(x, Tcur, V, model);
    RuntimeBackgroundTask();
  }
  return 0.0;
}

}  // namespace

namespace detail {

double SpinodalInDouble(const GasArray& x, double V, std::int32_t model, const double (&starts)[3]) {
  for (double T0 : starts) {
    const double T = SpinodalSecant(x, T0, V, model, false);
    if (T >= 0.1) return T;
  }
  return 0.0;
}

}  // namespace detail

double SpinDetSolution(const GasArray& x, double T0, double V, std::int32_t model) {
  return SpinodalSecant(x, T0, V, model, false);
}

double SpinodalTemperature(const GasArray& x, double V, std::int32_t model, const double (&starts)[3]) {
  const double T = SpinodalInDouble(x, V, model, starts);
  if (T > 0.0) return T;
  // Near the co-volume the determinant in double is all rounding and the
  // secant stops anywhere: the starts again on the accurate determinant.
  for (double T0 : starts) {
    const double t = SpinodalSecant(x, T0, V, model, true);
    if (t >= 0.1) return t;
  }
  return 0.0;
}

}  // namespace Globals
