#include "critical/critical.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "critical/critical_internal.h"
#include "framework/runtime.h"

namespace Globals {

using detail::Constants;
using detail::CriticalMatrixHolding;
using detail::Evaluate;
using detail::Finite;
using detail::HoldFirst;
using detail::Slice;
using detail::Snap;
using detail::SpinodalInDouble;
using detail::SpinodalMatrix;
using detail::ThirdDerivatives;
using detail::Thirds;

// ---- Critical point ----

namespace {

// The cubic form along the unit null vector u, with the amount of the present
// component `held` fixed instead of the first's, and its rounding, taken as
// 1e-10 of the magnitudes of its terms: the third derivatives themselves may
// cancel (A_VVV does at a critical point). u is turned to point along `along`
// where that is given. NaN where there is no finite null vector.
struct Form {
  double C = NAN, noise = NAN;
  std::vector<double> u;
};

Form CubicFormHolding(const GasArray& x, double T, double V, std::int32_t model, int held,
                      const std::vector<double>* along) {
  Form f;
  Constants constants = Evaluate(x, T, model);
  std::vector<int>& P = constants.present;
  if (!HoldFirst(P, held)) return f;
  Matrix Q = SpinodalMatrix(constants, x, V);
  const int n = Q.Order();
  if (n == 0 || !Q.AllFinite()) return f;
  // Every row of the adjugate of a matrix of rank n - 1 is a multiple of its
  // null vector; the largest is the best conditioned.
  const Matrix Cof = CofactorMatrix(Q, false);
  int best = 0;
  double bestNorm = -1.0;
  for (int r = 0; r < n; ++r) {
    double norm = 0.0;
    for (int c = 0; c < n; ++c) norm = norm + Cof(r, c) * Cof(r, c);
    if (norm > bestNorm) {
      bestNorm = norm;
      best = r;
    }
    RuntimeBackgroundTask();
  }
  if (!(bestNorm > 0.0) || !Finite(bestNorm)) return f;
  std::vector<double>& u = f.u;
  u.resize(static_cast<std::size_t>(n));
  for (int c = 0; c < n; ++c) u[static_cast<std::size_t>(c)] = Cof(best, c) / Sqrt(bestNorm);
  if (along != nullptr && along->size() == u.size()) {
    double dot = 0.0;
    for (std::size_t c = 0; c < u.size(); ++c) dot = dot + u[c] * (*along)[c];
    if (dot < 0.0) {
      for (double& v : u) v = -v;
    }
  }

  ThirdDerivatives d = Thirds(constants, x, T, V);
  double C = 0.0, magnitude = 0.0;
  for (int k = 0; k < n; ++k) {
    const Matrix Dk = Slice(d, k == 0 ? -1 : P[static_cast<std::size_t>(k)]);
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        const double term = Dk(i, j) * u[static_cast<std::size_t>(i)] * u[static_cast<std::size_t>(j)] *
                            u[static_cast<std::size_t>(k)];
        C = C + term;
        magnitude = magnitude + Abs(term);
      }
    }
    RuntimeBackgroundTask();
  }
  f.C = C;
  f.noise = 1e-10 * magnitude;
  return f;
}

// The present component with the largest fraction (the first of equals).
int Largest(const GasArray& x) {
  int largest = -1;
  for (int i : PresentComponents(x)) {
    if (largest < 0 || x[i] > x[largest]) largest = i;
  }
  return largest;
}

// The cubic form on the spinodal at V, its temperature found from T near
// it first (the same branch) and from the windows' starts where that fails.
struct OnSpinodal {
  bool ok = false;  // a temperature and a form above its rounding
  double T = 0.0;
  Form form;
};

OnSpinodal AlongSpinodal(const GasArray& x, double V, std::int32_t model, int held, double Tnear,
                         const std::vector<double>& along) {
  OnSpinodal s;
  s.T = SpinDetSolution(x, Tnear, V, model);
  if (!(s.T >= 0.1)) s.T = SpinodalInDouble(x, V, model, kAnalysisStarts);
  if (!(s.T > 0)) return s;
  s.form = CubicFormHolding(x, s.T, V, model, held, &along);
  s.ok = Finite(s.form.C) && Abs(s.form.C) > s.form.noise;
  return s;
}

// Criticality at (T, V) on the spinodal: the cubic form, taken with the
// largest component held (so that it does not shrink with the first), changes
// sign across V(1 -+ 1e-3), both sides above their rounding, and is small at V
// against them (V within about 1e-5 of its zero).
struct Criticality {
  bool critical = false;
  bool signChange = false;  // across V(1 -+ 1e-3), both sides above rounding
  int held = -1;
  Form here;
  double V[2] = {0.0, 0.0}, T[2] = {0.0, 0.0}, C[2] = {0.0, 0.0};
};

Criticality Judge(const GasArray& x, double T, double V, std::int32_t model) {
  Criticality j;
  if (!(T > 0) || !(V > 0) || !Finite(T) || !Finite(V)) return j;
  j.held = Largest(x);
  if (j.held < 0) return j;
  j.here = CubicFormHolding(x, T, V, model, j.held, nullptr);
  if (!Finite(j.here.C)) return j;
  for (int k = 0; k < 2; ++k) {
    j.V[k] = V * (k == 0 ? 1 - 1e-3 : 1 + 1e-3);
    const OnSpinodal side = AlongSpinodal(x, j.V[k], model, j.held, T, j.here.u);
    if (!side.ok) return j;
    j.T[k] = side.T;
    j.C[k] = side.form.C;
  }
  j.signChange = (j.C[0] < 0 && j.C[1] > 0) || (j.C[0] > 0 && j.C[1] < 0);
  j.critical = j.signChange && Abs(j.here.C) <= 1e-2 * std::min(Abs(j.C[0]), Abs(j.C[1]));
  return j;
}

// Where the critical function's own rounding left the search's V off the
// zero of the cubic form (a trace first component), the zero is found in the
// bracket of the judgement (regula falsi, Illinois): V and T move onto it.
// A point already within 1e-9 or so of it is left as it is. True where the
// zero was reached: the bracket narrowed to 1e-11, or the form fell below its
// rounding, and at the point reached it is at most 1e-2 of the bracket's ends
// (a sign change through a jump of the form is no zero).
bool Settle(const GasArray& x, std::int32_t model, const Criticality& j, double& T, double& V) {
  const double ends = std::min(Abs(j.C[0]), Abs(j.C[1]));
  if (Abs(j.here.C) <= 1e-6 * ends) return true;
  double a = j.V[0], b = j.V[1], fa = j.C[0], fb = j.C[1];
  double Va = V, Ta = T, Ca = j.here.C;
  bool zero = false;
  int side = 0;
  for (int k = 0; k < 60 && b - a > 1e-11 * b; ++k) {
    double c = (a * fb - b * fa) / (fb - fa);
    if (!(c > a && c < b)) c = a + (b - a) / 2;
    const OnSpinodal at = AlongSpinodal(x, c, model, j.held, Ta, j.here.u);
    if (!(at.T > 0) || !Finite(at.form.C)) return false;  // keep the search's point
    Va = c, Ta = at.T, Ca = at.form.C;
    if (!at.ok) {
      zero = true;  // the zero as far as the form tells
      break;
    }
    if ((at.form.C < 0) == (fb < 0)) {
      b = c, fb = at.form.C;
      if (side == -1) fa = fa / 2;
      side = -1;
    } else {
      a = c, fa = at.form.C;
      if (side == 1) fb = fb / 2;
      side = 1;
    }
    RuntimeBackgroundTask();
  }
  V = Va, T = Ta;
  return (zero || b - a <= 1e-11 * b) && Abs(Ca) <= 1e-2 * ends;
}

// The root of F(V) = det(critical matrix at T(V), V) by the secant from V1
// and V2. held < 0: the critical matrix as declared (the first present
// component held); else the one with component `held` held.
struct SecantEnd {
  double V = 0.0, T = 0.0;
  bool converged = false;
  bool outOfPasses = false;  // V and T are where it ended
};

SecantEnd CriticalSecant(const GasArray& x, std::int32_t model, double V1, double V2, int held) {
  SecantEnd e;
  double V = 0.0, T = 0.0;
  bool converged = false;
  bool ok = true;
  // F = det(critical matrix at T, V), snapped; 0 where there is no
  // spinodal temperature. A matrix or determinant that is no number fails
  // the search.
  auto F = [&](double t, double v) {
    if (!(t > 0)) return 0.0;
    Matrix M = CriticalMatrixHolding(x, t, v, model, held);
    if (!M.AllFinite()) {
      ok = false;
      return 0.0;
    }
    const double det = DeterminantUnsnapped(M);
    if (!Finite(det)) ok = false;
    return Snap(det);
  };
  const double T1 = SpinodalInDouble(x, V1, model, kAnalysisStarts);
  const double F1 = F(T1, V1);
  const double T2 = SpinodalInDouble(x, V2, model, kAnalysisStarts);
  const double F2 = F(T2, V2);
  double Fc, Vold, Fold;
  if (Abs(F1) >= Abs(F2)) {
    V = V1, T = T1, Fc = F1, Vold = V2, Fold = F2;
  } else {
    V = V2, T = T2, Fc = F2, Vold = V1, Fold = F1;
  }
  bool failed = !ok;
  for (int k = 0; k <= 1000 && !failed; ++k) {
    double dV;
    if (Fc - Fold == 0.0) {
      // Equal residuals that are not 0: a zero step that locates nothing.
      if (Fc != 0.0 && (k == 0 || V != Vold)) {
        failed = true;
        break;
      }
      dV = 0.0;
    } else {
      dV = ((Vold - V) * Fc) / (Fc - Fold);
      if (Abs(dV) > V / 5) dV = dV < 0 ? -V / 5 : V / 5;
    }
    Vold = V;
    Fold = Fc;
    V = V + dV;
    T = SpinodalInDouble(x, V, model, kAnalysisStarts);
    Fc = F(T, V);
    if (!ok) {
      failed = true;
      break;
    }
    if (!(Abs(dV) < 1e9) || V == 0.0) {
      failed = true;  // diverged
      break;
    }
    if (Abs(dV / V) < 1e-10) {
      converged = true;
      break;
    }
    if (Fc == 0.0) {
      // Under the snap after a large step: a residual that decays.
      if (Abs(dV) <= 1e-3 * Abs(V)) {
        converged = true;
      } else {
        failed = true;
      }
      break;
    }
    RuntimeBackgroundTask();
  }
  e.outOfPasses = !converged && !failed;
  if (failed) T = 0.0, V = 0.0;
  e.V = V, e.T = T, e.converged = converged;
  return e;
}

// A mixture's converged point judged: critical where the form is small at V
// and changes sign across it; then V and T are settled onto its zero. Where
// it changes sign but is not small at V (the critical function's rounding,
// with a trace first component, left V further off the zero), the point is
// critical only where that zero is reached inside the bracket.
bool Accept(const GasArray& x, std::int32_t model, double& T, double& V) {
  const Criticality j = Judge(x, T, V, model);
  if (!j.signChange) return false;
  double Ts = T, Vs = V;
  if (!Settle(x, model, j, Ts, Vs) && !j.critical) return false;
  T = Ts, V = Vs;
  return true;
}
}  // namespace

double CubicForm(const GasArray& x, double T, double V, std::int32_t model) {
  const int held = Largest(x);
  return held < 0 ? NAN : CubicFormHolding(x, T, V, model, held, nullptr).C;
}

bool IsCriticalPoint(const GasArray& x, double T, double V, std::int32_t model) {
  return Judge(x, T, V, model).critical;
}

CriticalSearchResult CriticalPointSearch(const GasArray& x, std::int32_t model, double Vpc, double V1, double V2) {
  CriticalSearchResult r;
  bool pure = false;
  for (int i = 0; i < kGases; ++i) {
    if (x[i] == 1.0) pure = true;
    RuntimeBackgroundTask();
  }

  double V = 0.0, T = 0.0;
  bool outOfPasses = false;
  if (pure) {
    V = Vpc;
    T = SpinodalInDouble(x, V, model, kAnalysisStarts);
    r.found = T > 0 && Judge(x, T, V, model).critical;
  } else {
    const SecantEnd end = CriticalSecant(x, model, V1, V2, -1);
    V = end.V, T = end.T, outOfPasses = end.outOfPasses;
    r.found = end.converged && T > 0 && Accept(x, model, T, V);
    // With a trace first component (below 1e-3 of the largest) its amount,
    // held in the critical matrix, leaves F rounding noise: the search again
    // with the largest one held.
    const std::vector<int> present = PresentComponents(x);
    const int largest = Largest(x);
    if (!r.found && !present.empty() && x[present[0]] < 1e-3 * x[largest]) {
      const SecantEnd again = CriticalSecant(x, model, V1, V2, largest);
      double Ta = again.T, Va = again.V;
      if (again.converged && Ta > 0 && Accept(x, model, Ta, Va)) {
        r.found = true;
        T = Ta, V = Va;
      }
    }
  }
  if (!r.found && !outOfPasses) T = 0.0, V = 0.0;
  r.T = T;
  r.V = V;
  r.P = T > 0 && V > 0 ? Pressure(x, T, V, model) : 0.0;
  if (!Finite(r.P)) r.P = 0.0;
  return r;
}

// ---- Analysis table ----

AnalysisRow AnalysisAt(const GasArray& x, double V, std::int32_t model) {
  AnalysisRow row;
  row.T = SpinodalTemperature(x, V, model, kAnalysisStarts);
  row.hasTemperature = row.T > 0;
  if (!row.hasTemperature) return row;
  row.P = Pressure(x, row.T, V, model);
  Matrix M = CriticalMatrix(x, row.T, V, model);
  row.F = Det_LU_Decomposition(M);
  return row;
}

}  // namespace Globals
