#include "critical/critical.h"

#include "core/attraction_terms.h"
#include "critical/critical_internal.h"
#include "framework/runtime.h"

namespace Globals {

using detail::AnyPresent;
using detail::Finite;
using detail::R;

// ---- Pseudo-critical conditions ----

PseudoCritical PseudoCriticalConditions(const GasArray& x, std::int32_t model) {
  PseudoCritical r;
  CriticalValues();
  double T0 = 0.0;
  for (int i = 0; i < kGases; ++i) {
    if (x[i] > 0) T0 = T0 + x[i] * Tcrit[i];
    RuntimeBackgroundTask();
  }
  const double c = terms::G();
  const double c43 = Pow(c, 1.3333333333333333);
  const double b = bMixture(x);
  const double Vpc = b / c;

  auto f = [&](double T) {
    const double a = aMixture(x, T, model);
    const double q = (3 * a) / (b * R);
    return T - c43 * Pow(q, 0.6666666666666666);
  };

  double Tcur, fcur, Tprev, fprev;
  const double fa = f(T0), fb = f(T0 + 1);
  if (Abs(fa) < Abs(fb)) {
    Tcur = T0, fcur = fa, Tprev = T0 + 1, fprev = fb;
  } else {
    Tcur = T0 + 1, fcur = fb, Tprev = T0, fprev = fa;
  }
  double dT = (Tcur - Tprev) / 2;
  bool converged = false;
  for (int pass = 0; pass < 500; ++pass) {
    if (fcur == fprev && fcur != 0) {
      dT = Tcur == Tprev ? 2 * dT : (Tcur - Tprev) / 2;
    } else {
      dT = 0.5 * (Tprev - Tcur) * fcur / (fcur - fprev);
    }
    Tprev = Tcur;
    fprev = fcur;
    Tcur = Tcur + dT;
    if (!(Tcur > 0)) Tcur = (Tcur - dT) / 2;
    fcur = f(Tcur);
    RuntimeBackgroundTask();
    if (Abs(dT) > 1e300) break;
    if (Abs(dT / Tcur) < 1e-12 || fcur == 0) {
      converged = true;
      break;
    }
  }
  const double Tpc = converged ? Tcur : T0;
  const double a = aMixture(x, Tpc, model);
  const double Ppc = Pow((R * a) * a / ((((3 * b) * b) * b) * b * b), 0.3333333333333333) * Pow(c, 2.3333333333333335);

  r.Vpc = Vpc;
  r.Tpc = Tpc;
  r.Ppc = Ppc;
  r.V1 = Vpc;
  r.V2 = b + (Vpc - b) / 2;
  r.ok = AnyPresent(x) && Finite(Vpc) && Vpc > 0 && Finite(Tpc) && Tpc > 0 && Finite(Ppc) && Finite(r.V2);
  return r;
}

}  // namespace Globals
