#include "critical/critical.h"

#include <cmath>
#include <utility>
#include <vector>

#include "critical/critical_internal.h"
#include "framework/runtime.h"

namespace Globals {

// ---- The stability determinant where it cancels ----
// Near the co-volume, and with a trace first component (whose amount is held
// while the Helmholtz energy is homogeneous in all of them), the determinant
// is a tiny difference of large products, and the rounding of the elements in
// double can outweigh it. It is evaluated again in double-double arithmetic
// (about 32 digits: error-free sums, and products by fma) from the same
// constants, with every element formed at the amounts themselves (n = sum x,
// B and D summed again), so that the elements stay derivatives of one
// function; a constant error of ln((V + b)/V) or sqrt T only scales a
// homogeneous part of it and is harmless.

namespace {

struct DD {
  double hi = 0.0, lo = 0.0;
};

DD Of(double v) { return {v, 0.0}; }

DD Normalised(double s, double e) {
  const double hi = s + e;
  return {hi, e - (hi - s)};
}

DD operator+(DD a, DD b) {
  const double s = a.hi + b.hi;
  const double v = s - a.hi;
  const double e = (a.hi - (s - v)) + (b.hi - v);
  return Normalised(s, e + (a.lo + b.lo));
}

DD operator-(DD a) { return {-a.hi, -a.lo}; }
DD operator-(DD a, DD b) { return a + (-b); }

DD operator*(DD a, DD b) {
  const double p = a.hi * b.hi;
  const double e = std::fma(a.hi, b.hi, -p);
  return Normalised(p, e + (a.hi * b.lo + a.lo * b.hi));
}

DD operator/(DD a, DD b) {
  // Three quotient digits, each from the remainder left by the ones before.
  const double q1 = a.hi / b.hi;
  DD r = a - b * Of(q1);
  const double q2 = r.hi / b.hi;
  r = r - b * Of(q2);
  const double q3 = r.hi / b.hi;
  return Normalised(q1, q2) + Of(q3);
}

// A sum that keeps the magnitude of its terms, the scale of its rounding.
struct Sum {
  DD v;
  double magnitude = 0.0;
  void Add(DD t) {
    v = v + t;
    magnitude = magnitude + Abs(t.hi);
  }
};

}  // namespace

namespace detail {

AccurateDeterminant DeterminantDD(const GasArray& x, double T, double V, std::int32_t model, const Matrix& Cof) {
  AccurateDeterminant r;
  const Constants c = Evaluate(x, T, model);
  const std::vector<int>& P = c.present;
  const int n = static_cast<int>(P.size());
  // An empty Cof asks for the value alone (error 0): the cofactors cost more
  // than the determinant.
  if (n == 0 || (Cof.Order() != n && Cof.Order() != 0)) return r;

  DD N, B, D;
  GasArray apHi{}, apLo{};
  for (int i : P) {
    N = N + Of(x[i]);
    B = B + Of(x[i]) * Of(c.bi[i]);
    DD sum;
    for (int k : P) sum = sum + Of(x[k]) * Of(c.aij[i][k]);
    const DD ap = Of(2.0) * sum;
    apHi[i] = ap.hi, apLo[i] = ap.lo;
    D = D + Of(x[i]) * sum;
    RuntimeBackgroundTask();
  }
  // The elements are those at one mole in all. Fractions that sum to 1 but for
  // their rounding count at their own sum, which keeps the elements
  // derivatives of one function (with a trace first component, the 1e-16 of
  // the sum would shift its spinodal by 1e-8); others as they stand.
  if (!(Abs(N.hi - 1.0) <= 1e-9)) N = Of(1.0);
  auto ap = [&](int i) { return DD{apHi[i], apLo[i]}; };
  const DD RT = Of(R) * Of(T), Vd = Of(V);
  const DD Vb = Vd + B, Vm = Vd - B;
  const DD L = Of(Log(Vb.hi / V));
  const DD one = Of(1.0), two = Of(2.0);
  // Reciprocals once; the elements are then products.
  const DD iV = one / Vd, iVb = one / Vb, iVm = one / Vm, iB = one / B, iS = one / Of(c.s);
  const DD iVm2 = iVm * iVm, k = L * iB * iS, g = iB * iS * iVb;

  std::vector<DD> Q(static_cast<std::size_t>(n * n));
  std::vector<double> E(static_cast<std::size_t>(n * n));
  auto at = [n](int p, int q) { return static_cast<std::size_t>(p * n + q); };
  for (int p = 0; p < n; ++p) {
    for (int q = 0; q < n; ++q) {
      Sum m;
      if (p == 0 && q == 0) {
        m.Add(N * RT * iVm2);
        m.Add(-(D * (two * Vd + B) * iS * iV * iV * iVb * iVb));
      } else if (p == 0 || q == 0) {
        const int i = P[static_cast<std::size_t>(p == 0 ? q : p)];
        const DD bi = Of(c.bi[i]);
        m.Add(ap(i) * iV * iVb * iS);
        m.Add(-(D * bi * iV * iVb * iVb * iS));
        m.Add(-(RT * iVm));
        m.Add(-(N * RT * bi * iVm2));
      } else {
        const int i = P[static_cast<std::size_t>(p)], j = P[static_cast<std::size_t>(q)];
        const DD bi = Of(c.bi[i]), bj = Of(c.bi[j]);
        m.Add(-(two * Of(c.aij[i][j]) * k));
        m.Add(bi * ap(j) * iB * k);
        m.Add(bj * ap(i) * iB * k);
        m.Add(-(two * bi * bj * D * iB * iB * k));
        m.Add(-(bi * ap(j) * g));
        m.Add(-(bj * ap(i) * g));
        m.Add(bi * bj * (two * iB + iVb) * D * g);
        m.Add(RT * (bi + bj) * iVm);
        m.Add(N * RT * bi * bj * iVm2);
        if (i == j) m.Add(RT / Of(x[i]));
      }
      Q[at(p, q)] = m.v;
      E[at(p, q)] = m.magnitude;
    }
    RuntimeBackgroundTask();
  }

  double scale = 0.0;
  for (int p = 0; p < Cof.Order(); ++p) {
    for (int q = 0; q < n; ++q) scale = scale + E[at(p, q)] * Abs(Cof(p, q));
  }

  // Gaussian elimination with partial pivoting.
  DD det = Of(1.0);
  for (int j = 0; j < n; ++j) {
    int pivot = j;
    for (int i = j + 1; i < n; ++i) {
      if (Abs(Q[at(i, j)].hi) > Abs(Q[at(pivot, j)].hi)) pivot = i;
    }
    if (pivot != j) {
      for (int k = 0; k < n; ++k) std::swap(Q[at(pivot, k)], Q[at(j, k)]);
      det = -det;
    }
    det = det * Q[at(j, j)];
    if (Q[at(j, j)].hi == 0.0) break;
    for (int i = j + 1; i < n; ++i) {
      const DD f = Q[at(i, j)] / Q[at(j, j)];
      for (int k = j + 1; k < n; ++k) Q[at(i, k)] = Q[at(i, k)] - f * Q[at(j, k)];
    }
    RuntimeBackgroundTask();
  }
  r.value = det.hi + det.lo;
  r.error = 1e-28 * scale;
  r.ok = Finite(r.value) && Finite(r.error);
  return r;
}

}  // namespace detail

}  // namespace Globals
