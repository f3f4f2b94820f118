#include "critical/critical.h"

#include <algorithm>
#include <cmath>

#include "core/attraction_terms.h"
#include "framework/runtime.h"

namespace Globals {

namespace {

constexpr double R = 8.314472;

bool Finite(double v) { return std::isfinite(v); }

double Snap(double det) { return Abs(det) > kDeterminantSnap ? det : 0.0; }

// What one evaluation of the stability matrix or its derivatives needs: a and
// b of the mixture and private copies of the pair table and co-volumes, taken
// right after aMixture and bMixture return, so that a handler running while
// events are let through cannot change them under the loops.
struct Constants {
  double a = 0.0, b = 0.0, s = 0.0, RT = 0.0;
  PairTable aij{};
  GasArray bi{};
  std::vector<int> present;
  GasArray ap{};  // a'_i = 2 sum_k x_k a_ik over the present k
};

Constants Evaluate(const GasArray& x, double T, std::int32_t model) {
  Constants c;
  c.a = aMixture(x, T, model);
  c.aij = Globals::a;
  c.b = bMixture(x);
  c.bi = Globals::b;
  c.s = Sqrt(T);
  c.RT = R * T;
  c.present = PresentComponents(x);
  for (int i : c.present) {
    double sum = 0.0;
    for (int k : c.present) {
      sum = sum + x[k] * c.aij[i][k];
      RuntimeBackgroundTask();
    }
    c.ap[i] = 2 * sum;
  }
  return c;
}

// The whole set of third derivatives of the present components at (T, V).
struct ThirdDerivatives {
  Constants c;
  double AVVV = 0.0;
  GasArray AVVn{};     // A_VVi
  PairTable AVnn{};    // A_Vij
  std::vector<double> Annn;  // A_ijm at [(i * 11 + j) * 11 + m]
  double& nnn(int i, int j, int m) { return Annn[static_cast<std::size_t>((i * kGases + j) * kGases + m)]; }
};

ThirdDerivatives Thirds(const Constants& constants, const GasArray& x, double T, double V) {
  ThirdDerivatives d;
  d.c = constants;
  d.Annn.assign(static_cast<std::size_t>(kGases * kGases * kGases), 0.0);
  const Constants& c = d.c;
  const double a = c.a, b = c.b, s = c.s, RT = c.RT;
  const double L = Log((V + b) / V);
  const double Vb = V + b, Vm = V - b;

  // -d2P/dV2; 16.628944 is 2R.
  d.AVVV = 2 * a * ((2 * V + b) * (2 * V + b) / (V * Vb) - 1) / (s * V * V * Vb * Vb) -
           16.628944 * T / (Vm * Vm * Vm);

  for (int i : c.present) {
    const double bi = c.bi[i];
    double v = 0.0;
    v = v - (2 * V + b) * c.ap[i] / (s * V * V * Vb * Vb);
    v = v + bi * (3 * V + b) * a / (s * V * V * Vb * Vb * Vb);
    v = v + RT * (1 / (Vm * Vm) + 2 * bi / (Vm * Vm * Vm));
    d.AVVn[i] = v;
    RuntimeBackgroundTask();
  }

  const double F = 2 / b + 1 / Vb;
  const double k = 1 / (b * Vb * s);
  for (int i : c.present) {
    for (int j : c.present) {
      const double bi = c.bi[i], bj = c.bi[j];
      double v = 0.0;
      v = v + 2 * c.aij[i][j] / (V * Vb * s);
      v = v - bi * c.ap[j] / (Vb * Vb * V * s);
      v = v - bj * c.ap[i] / (Vb * Vb * V * s);
      v = v + 2 * bi * bj * a / (Vb * Vb * Vb * V * s);
      v = v - RT * ((bi + bj) / (Vm * Vm) + 2 * bi * bj / (Vm * Vm * Vm));
      d.AVnn[i][j] = v;
      for (int m : c.present) {
        const double bm = c.bi[m];
        const double U = bm * c.aij[i][j] + bi * c.aij[j][m] + bj * c.aij[i][m];
        const double P = bi * bj * bm;
        const double W = bi * bj + bi * bm + bj * bm;
        double w = 0.0;
        w = w + (2 / (b * b * s)) * U * L;
        w = w - (2 / (b * b * b * s)) * (bi * bj * c.ap[m] + bi * bm * c.ap[j] + bj * bm * c.ap[i]) * L;
        w = w + (6 / (b * b * b * b * s)) * P * a * L;
        w = w - (2 / (b * Vb * s)) * U;
        w = w + k * bi * bj * F * c.ap[m];
        w = w + k * bi * bm * F * c.ap[j];
        w = w + k * bj * bm * F * c.ap[i];
        w = w - (1 / (b * b * b * Vb * Vb * Vb * s)) * P * (2 * b * b + 6 * Vb * Vb + 3 * b * Vb) * a;
        w = w + RT * W / (Vm * Vm);
        w = w + 2 * RT * P / (Vm * Vm * Vm);
        if (i == j && j == m) w = w - RT / (x[i] * x[i]);
        d.nnn(i, j, m) = w;
        RuntimeBackgroundTask();
      }
      RuntimeBackgroundTask();
    }
    RuntimeBackgroundTask();
  }
  return d;
}

// The slice of the third derivatives along variable k (-1: the volume).
Matrix Slice(ThirdDerivatives& d, int k) {
  const std::vector<int>& P = d.c.present;
  const int n = static_cast<int>(P.size());
  Matrix r(n, n);
  if (n == 0) return r;
  if (k < -1 || k >= kGases) return r;
  const bool present = k == -1 || d.c.present.end() != std::find(P.begin(), P.end(), k);
  if (!present) return r;  // nothing involving an absent gas was computed
  for (int p = 0; p < n; ++p) {
    for (int q = 0; q < n; ++q) {
      r(p, q) = k == -1 ? d.AVnn[P[p]][P[q]] : d.nnn(k, P[p], P[q]);
      RuntimeBackgroundTask();
    }
  }
  r(0, 0) = k == -1 ? d.AVVV : d.AVVn[k];
  for (int p = 1; p < n; ++p) {
    const double v = k == -1 ? d.AVVn[P[p]] : d.AVnn[k][P[p]];
    r(0, p) = v;
    r(p, 0) = v;
    RuntimeBackgroundTask();
  }
  return r;
}

// sum over r (outer) and c (inner) of A(r, c) B(r, c).
double Contract(const Matrix& A, const Matrix& B) {
  double sum = 0.0;
  const int n = A.Order();
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      sum = sum + A(r, c) * B(r, c);
      RuntimeBackgroundTask();
    }
  }
  return sum;
}

bool AnyPresent(const GasArray& x) { return !PresentComponents(x).empty(); }

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

// The determinant in double-double and an estimate of its rounding error.
// An element's rounding is about 2^-104 of the magnitude of its terms, and
// moves the determinant by that times its cofactor (Cof from the double
// matrix at a temperature nearby serves as the cofactors' scale); 1e-28
// keeps a margin of three decades above it, for the elimination as well.
struct AccurateDeterminant {
  double value = 0.0, error = 0.0;
  bool ok = false;  // false: an element or the result is no number
};

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

}  // namespace

bool Matrix::AllFinite() const {
  for (double v : data_) {
    if (!Finite(v)) return false;
  }
  return true;
}

std::vector<int> PresentComponents(const GasArray& x) {
  std::vector<int> present;
  for (int i = 0; i < kGases; ++i) {
    if (x[i] > 0.0) present.push_back(i);
    RuntimeBackgroundTask();
  }
  return present;
}

// ---- Linear algebra ----

double DeterminantUnsnapped(Matrix& M) {
  const int N = M.Order() - 1;
  double d = 1.0;
  std::vector<double> scale(static_cast<std::size_t>(N + 1), 0.0);
  for (int i = 0; i <= N; ++i) {
    double big = 0.0;
    for (int j = 0; j <= N; ++j) {
      if (Abs(M(i, j)) > big) big = Abs(M(i, j));
      RuntimeBackgroundTask();
    }
    scale[static_cast<std::size_t>(i)] = big == 0.0 ? 0.0 : 1.0 / big;
  }
  for (int j = 0; j <= N; ++j) {
    for (int i = 0; i < j; ++i) {
      double s = M(i, j);
      for (int k = 0; k < i; ++k) {
        s = s - M(i, k) * M(k, j);
        RuntimeBackgroundTask();
      }
      M(i, j) = s;
    }
    double big = 0.0;
    int p = j;
    for (int i = j; i <= N; ++i) {
      double s = M(i, j);
      for (int k = 0; k < j; ++k) {
        s = s - M(i, k) * M(k, j);
        RuntimeBackgroundTask();
      }
      M(i, j) = s;
      const double w = scale[static_cast<std::size_t>(i)] * Abs(s);
      if (w >= big) {
        big = w;
        p = i;
      }
    }
    if (p != j) {
      for (int k = 0; k <= N; ++k) {
        const double t = M(p, k);
        M(p, k) = M(j, k);
        M(j, k) = t;
        RuntimeBackgroundTask();
      }
      d = -d;
      scale[static_cast<std::size_t>(p)] = scale[static_cast<std::size_t>(j)];
    }
    if (M(j, j) == 0.0) M(j, j) = 1e-30;
    if (j != N) {
      const double r = 1.0 / M(j, j);
      for (int i = j + 1; i <= N; ++i) {
        M(i, j) = M(i, j) * r;
        RuntimeBackgroundTask();
      }
    }
  }
  double det = d;
  for (int i = 0; i <= N; ++i) det = det * M(i, i);
  return det;
}

double Det_LU_Decomposition(Matrix& M) { return Snap(DeterminantUnsnapped(M)); }

Matrix CofactorMatrix(const Matrix& M, bool snapped) {
  const int n = M.Order();
  Matrix Z(n, n);
  Matrix W(n > 0 ? n - 1 : 0, n > 0 ? n - 1 : 0);  // each minor overwrites it whole
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      for (int r = 0; r < n; ++r) {
        if (r == i) continue;
        for (int c = 0; c < n; ++c) {
          if (c == j) continue;
          W(r < i ? r : r - 1, c < j ? c : c - 1) = M(r, c);
        }
        RuntimeBackgroundTask();
      }
      const double sign = (i + j) % 2 == 0 ? 1.0 : -1.0;
      Z(i, j) = sign * (snapped ? Det_LU_Decomposition(W) : DeterminantUnsnapped(W));
      RuntimeBackgroundTask();
    }
  }
  return Z;
}

// ---- Matrices of the Helmholtz energy ----

namespace {

Matrix SpinodalMatrix(const Constants& c, const GasArray& x, double V) {
  const double a = c.a, b = c.b, s = c.s, RT = c.RT;
  const int n = static_cast<int>(c.present.size());
  Matrix Q(n, n);
  if (n == 0) return Q;

  // -dP/dV at constant composition.
  const double AVV = -a * (2 * V + b) / (s * V * V * (V + b) * (V + b)) + RT / ((V - b) * (V - b));
  // -dP/dn_i.
  GasArray AVi{};
  for (int i : c.present) {
    AVi[i] = c.ap[i] / (V * (V + b) * s) - a * c.bi[i] / (V * (V + b) * (V + b) * s) - RT / (V - b) -
             RT * c.bi[i] / ((V - b) * (V - b));
    RuntimeBackgroundTask();
  }
  const double L = Log((V + b) / V);
  for (int p = 0; p < n; ++p) {
    const int i = c.present[static_cast<std::size_t>(p)];
    for (int q = 0; q < n; ++q) {
      const int j = c.present[static_cast<std::size_t>(q)];
      const double bi = c.bi[i], bj = c.bi[j];
      double m = (-2 * c.aij[i][j] + bi * c.ap[j] / b + bj * c.ap[i] / b - 2 * bi * bj * a / (b * b)) * L / (b * s);
      m = m - bi * c.ap[j] / (b * s * (V + b));
      m = m - bj * c.ap[i] / (b * s * (V + b));
      m = m + bi * bj * (2 / b + 1 / (V + b)) * a / (b * s * (V + b));
      m = m + RT * ((bi + bj) / (V - b) + bi * bj / ((V - b) * (V - b)));
      if (i == j) m = m + RT / x[i];  // ideal mixing
      Q(p, q) = m;
      RuntimeBackgroundTask();
    }
  }
  Q(0, 0) = AVV;
  for (int p = 1; p < n; ++p) {
    const double v = AVi[c.present[static_cast<std::size_t>(p)]];
    Q(0, p) = v;
    Q(p, 0) = v;
  }
  return Q;
}

}  // namespace

Matrix SpinodalMatrix(const GasArray& x, double T, double V, std::int32_t model) {
  return SpinodalMatrix(Evaluate(x, T, model), x, V);
}

Matrix DerivativeMatrix(int k, const GasArray& x, double T, double V, std::int32_t model) {
  ThirdDerivatives d = Thirds(Evaluate(x, T, model), x, T, V);
  return Slice(d, k);
}

namespace {

// Puts the present component `held` first, where position 0 (the volume)
// stands in for the amount held; false where it is absent.
bool HoldFirst(std::vector<int>& present, int held) {
  const auto h = std::find(present.begin(), present.end(), held);
  if (h == present.end()) return false;
  std::rotate(present.begin(), h, h + 1);
  return true;
}

// The critical matrix with the amount of the present component `held` held
// instead of the first's (held < 0: the first's); empty where it is absent.
Matrix CriticalMatrixHolding(const GasArray& x, double T, double V, std::int32_t model, int held) {
  // One snapshot of the constants serves the matrix and its derivatives.
  Constants c = Evaluate(x, T, model);
  std::vector<int>& P = c.present;
  if (held >= 0 && !HoldFirst(P, held)) return Matrix();
  Matrix Q = SpinodalMatrix(c, x, V);
  const int n = Q.Order();
  if (n == 0) return Q;
  const Matrix Cof = CofactorMatrix(Q);
  // One set of third derivatives serves every slice.
  ThirdDerivatives d = Thirds(c, x, T, V);
  std::vector<double> g(static_cast<std::size_t>(n), 0.0);
  g[0] = Contract(Cof, Slice(d, -1));  // d det Q / dV
  for (int p = 1; p < n; ++p) {
    g[static_cast<std::size_t>(p)] = Contract(Cof, Slice(d, P[static_cast<std::size_t>(p)]));
  }
  for (int h = 0; h < n; ++h) Q(n - 1, h) = g[static_cast<std::size_t>(h)];
  return Q;
}

}  // namespace

Matrix CriticalMatrix(const GasArray& x, double T, double V, std::int32_t model) {
  return CriticalMatrixHolding(x, T, V, model, -1);
}

// ---- Spinodal ----

namespace {

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

// The windows' search, the starts in turn on the determinant in double.
double SpinodalInDouble(const GasArray& x, double V, std::int32_t model, const double (&starts)[3]) {
  for (double T0 : starts) {
    const double T = SpinodalSecant(x, T0, V, model, false);
    if (T >= 0.1) return T;
  }
  return 0.0;
}

}  // namespace

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
