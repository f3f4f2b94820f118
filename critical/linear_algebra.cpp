#include "critical/critical.h"

#include <vector>

#include "critical/critical_internal.h"
#include "framework/runtime.h"

namespace Globals {

using detail::Finite;
using detail::Snap;

// ---- Linear algebra ----

bool Matrix::AllFinite() const {
  for (double v : data_) {
    if (!Finite(v)) return false;
  }
  return true;
}

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

}  // namespace Globals
