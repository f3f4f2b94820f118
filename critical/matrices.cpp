#include "critical/critical.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "critical/critical_internal.h"
#include "framework/runtime.h"

namespace Globals {

using detail::CriticalMatrixHolding;
using detail::Evaluate;
using detail::Slice;
using detail::SpinodalMatrix;
using detail::ThirdDerivatives;
using detail::Thirds;

// ---- Matrices of the Helmholtz energy ----

std::vector<int> PresentComponents(const GasArray& x) {
  std::vector<int> present;
  for (int i = 0; i < kGases; ++i) {
    if (x[i] > 0.0) present.push_back(i);
    RuntimeBackgroundTask();
  }
  return present;
}

namespace {

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

}  // namespace

namespace detail {

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

}  // namespace detail

Matrix SpinodalMatrix(const GasArray& x, double T, double V, std::int32_t model) {
  return SpinodalMatrix(Evaluate(x, T, model), x, V);
}

Matrix DerivativeMatrix(int k, const GasArray& x, double T, double V, std::int32_t model) {
  ThirdDerivatives d = Thirds(Evaluate(x, T, model), x, T, V);
  return Slice(d, k);
}

namespace detail {

bool HoldFirst(std::vector<int>& present, int held) {
  const auto h = std::find(present.begin(), present.end(), held);
  if (h == present.end()) return false;
  std::rotate(present.begin(), h, h + 1);
  return true;
}

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

}  // namespace detail

Matrix CriticalMatrix(const GasArray& x, double T, double V, std::int32_t model) {
  return CriticalMatrixHolding(x, T, V, model, -1);
}

}  // namespace Globals
