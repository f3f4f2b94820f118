// Determinants, cofactors and the matrices of the Helmholtz energy, checked
// against a Laplace expansion, the adjugate identity and finite differences
// of the Helmholtz energy itself in long double.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "critical/critical.h"
#include "mixtures.h"

namespace {

using test_mixtures::Mix;

using Globals::GasArray;
using Globals::Matrix;

Matrix Of(std::initializer_list<std::initializer_list<double>> rows) {
  Matrix m(static_cast<int>(rows.size()), static_cast<int>(rows.begin()->size()));
  int r = 0;
  for (const auto& row : rows) {
    int c = 0;
    for (double v : row) m(r, c++) = v;
    ++r;
  }
  return m;
}

// det by expansion along the first row, in long double.
long double Laplace(const Matrix& m, std::vector<int> rows, std::vector<int> cols) {
  if (rows.empty()) return 1.0L;
  long double sum = 0.0L;
  for (std::size_t j = 0; j < cols.size(); ++j) {
    std::vector<int> r(rows.begin() + 1, rows.end());
    std::vector<int> c = cols;
    c.erase(c.begin() + static_cast<long>(j));
    const long double term = static_cast<long double>(m(rows[0], cols[j])) * Laplace(m, r, c);
    sum += j % 2 == 0 ? term : -term;
  }
  return sum;
}

long double Laplace(const Matrix& m) {
  std::vector<int> idx(static_cast<std::size_t>(m.Order()));
  for (int i = 0; i < m.Order(); ++i) idx[static_cast<std::size_t>(i)] = i;
  return Laplace(m, idx, idx);
}

// ---- Determinant ----

TEST(Determinant, FactorsInPlaceWithTiesToTheLaterRowAndNoZeroPivot) {
  // Scaled by their largest elements both rows tie; the later one pivots.
  Matrix tie = Of({{4, 3}, {6, 3}});
  EXPECT_EQ(Globals::Det_LU_Decomposition(tie), -6.0);
  EXPECT_EQ(tie(0, 0), 6.0);
  EXPECT_DOUBLE_EQ(tie(1, 0), 2.0 / 3.0);
  // A singular matrix: exactly 0, the zero pivot replaced by 1e-30.
  Matrix singular = Of({{1, 2}, {2, 4}});
  EXPECT_EQ(Globals::Det_LU_Decomposition(singular), 0.0);
  EXPECT_EQ(singular(1, 1), 1e-30);
}

TEST(Determinant, SnapsSmallMagnitudesAndNaNToZero) {
  struct Case {
    Matrix m;
    double det;
  };
  for (Case c : {Case{Of({{2.5}}), 2.5}, {Of({{2e-12}}), 2e-12}, {Of({{-1e-12}}), 0.0},
                 {Of({{1e-7, 0}, {0, 1e-6}}), 0.0}, {Matrix(3, 3), 0.0}, {Of({{1, NAN}, {2, 3}}), 0.0},
                 {Matrix(), 1.0}}) {
    EXPECT_EQ(Globals::Det_LU_Decomposition(c.m), c.det) << c.det;
  }
  Matrix tiny = Of({{1e-7, 0}, {0, 1e-6}});
  EXPECT_DOUBLE_EQ(Globals::DeterminantUnsnapped(tiny), 1e-13);
}

TEST(Determinant, AgreesWithLaplaceExpansionAndAdjugate) {
  std::mt19937 rng(12);
  std::uniform_real_distribution<double> u(-5.0, 5.0);
  for (int n = 4; n <= 6; ++n) {
    for (int trial = 0; trial < 10; ++trial) {
      Matrix m(n, n);
      for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) m(r, c) = u(rng);
      m(trial % n, (trial + 1) % n) = 0.0;  // a zero element has its cofactor too
      const long double expected = Laplace(m);
      Matrix work = m;
      const double det = Globals::Det_LU_Decomposition(work);
      EXPECT_NEAR(det, static_cast<double>(expected), 1e-11 * std::fabs(static_cast<double>(expected)) + 1e-9)
          << "order " << n;

      // M adj(M) = det I, with adj(M) the transposed cofactor matrix; M is
      // left as it was.
      const Matrix before = m;
      const Matrix cof = Globals::CofactorMatrix(m);
      for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) ASSERT_EQ(m(r, c), before(r, c));
      for (int r = 0; r < n; ++r) {
        for (int c = 0; c < n; ++c) {
          long double s = 0.0L;
          for (int k = 0; k < n; ++k) s += static_cast<long double>(m(r, k)) * cof(c, k);
          const double want = r == c ? det : 0.0;
          EXPECT_NEAR(static_cast<double>(s), want, 1e-10 * (std::fabs(det) + 1.0));
        }
      }
    }
  }
  // Order 1: the minor is empty, its determinant 1, whatever the element.
  EXPECT_EQ(Globals::CofactorMatrix(Of({{7}}))(0, 0), 1.0);
  EXPECT_EQ(Globals::CofactorMatrix(Of({{0}}))(0, 0), 1.0);
}

// ---- The Helmholtz energy in long double ----

// A(y) with y = (V, amounts of the present components after the first) and
// the first amount held at its fraction, at constant T, from the pair table
// and co-volumes that aMixture and bMixture leave.
struct Helmholtz {
  GasArray x;
  double T;
  std::vector<int> present;
  Globals::PairTable a;
  GasArray b;

  Helmholtz(const GasArray& fractions, double temperature, std::int32_t model) : x(fractions), T(temperature) {
    Globals::aMixture(x, T, model);
    a = Globals::a;
    Globals::bMixture(x);
    b = Globals::b;
    present = Globals::PresentComponents(x);
  }
  int Size() const { return static_cast<int>(present.size()); }

  long double operator()(const std::vector<long double>& y) const {
    const long double RT = 8.314472L * T;
    std::vector<long double> n(present.size());
    n[0] = x[present[0]];
    for (std::size_t p = 1; p < present.size(); ++p) n[p] = y[p];
    const long double V = y[0];
    long double total = 0, B = 0, D = 0, ideal = 0;
    for (std::size_t i = 0; i < n.size(); ++i) {
      total += n[i];
      B += n[i] * b[present[i]];
      ideal += n[i] * std::log(n[i]);
      for (std::size_t j = 0; j < n.size(); ++j) D += n[i] * n[j] * a[present[i]][present[j]];
    }
    return RT * ideal - total * RT * std::log(V - B) - D / (B * std::sqrt(static_cast<long double>(T))) * std::log((V + B) / V);
  }

  // The mixed derivative over the variables `along` at V by central
  // differences over independent offsets (right for repeated indices too),
  // of steps h and h/2 combined (Richardson), so the error is of fourth
  // order and the steps can stay large against rounding.
  double Derivative(double V, const std::vector<int>& along) const {
    auto central = [&](long double rel) {
      auto step = [&](int i) { return rel * (i == 0 ? V : x[present[static_cast<std::size_t>(i)]]); };
      long double sum = 0, denominator = 1;
      for (unsigned signs = 0; signs < (1u << along.size()); ++signs) {
        std::vector<long double> y(present.size());
        y[0] = V;
        for (std::size_t p = 1; p < present.size(); ++p) y[p] = x[present[p]];
        int sign = 1;
        for (std::size_t k = 0; k < along.size(); ++k) {
          const int s = (signs >> k) & 1u ? -1 : 1;
          y[static_cast<std::size_t>(along[k])] += s * step(along[k]);
          sign *= s;
        }
        sum += sign * (*this)(y);
      }
      for (int i : along) denominator *= 2 * step(i);
      return sum / denominator;
    };
    return static_cast<double>((4 * central(1.5e-3L) - central(3e-3L)) / 3);
  }
};

TEST(HelmholtzMatrices, StabilityAndDerivativeMatricesAreSecondAndThirdDerivatives) {
  using namespace Globals;
  struct Case {
    const char* name;
    GasArray x;
    double T, V;
    std::int32_t model;
  };
  for (const Case& c : {Case{"CO2/CH4, 1977", Mix({{CO2, 0.4}, {CH4, 0.6}}), 300.0, 120.0, Brennick1977},
                        {"CO2/N2/CH4, 1981", Mix({{CO2, 0.5}, {N2, 0.2}, {CH4, 0.3}}), 250.0, 150.0, Brennick1981},
                        {"H2O/CO2/N2/CH4, Ostrem", Mix({{H2O, 0.4}, {CO2, 0.3}, {N2, 0.1}, {CH4, 0.2}}), 673.15,
                         100.0, Ostrem1999}}) {
    const Helmholtz energy(c.x, c.T, c.model);
    const int n = energy.Size();
    const Matrix Q = SpinodalMatrix(c.x, c.T, c.V, c.model);
    ASSERT_EQ(Q.Rows(), n) << c.name;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        const double scale = std::sqrt(std::fabs(Q(i, i) * Q(j, j)));
        const double want = energy.Derivative(c.V, {i, j});
        EXPECT_NEAR(Q(i, j), want, 1e-9 * (std::fabs(want) + scale)) << c.name << " Q " << i << j;
        EXPECT_NEAR(Q(i, j), Q(j, i), 1e-13 * scale);
      }
    }
    // Along the volume (-1) and along each present amount after the first.
    for (int k = 0; k < n; ++k) {
      const Matrix D = DerivativeMatrix(k == 0 ? -1 : energy.present[static_cast<std::size_t>(k)], c.x, c.T, c.V, c.model);
      ASSERT_EQ(D.Rows(), n);
      double scale = 0;
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) scale = std::max(scale, std::fabs(D(i, j)));
      for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
          const double want = energy.Derivative(c.V, {k, i, j});
          EXPECT_NEAR(D(i, j), want, 1e-7 * (std::fabs(want) + 1e-3 * scale)) << c.name << " d" << k << " " << i << j;
        }
      }
    }
  }
}

TEST(HelmholtzMatrices, AbsentOrNoComponentsGiveZeroOrEmptyMatrices) {
  using namespace Globals;
  const Matrix absent = DerivativeMatrix(N2, Mix({{CO2, 0.5}, {CH4, 0.5}}), 300.0, 120.0, Brennick1977);
  ASSERT_EQ(absent.Rows(), 2);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) EXPECT_EQ(absent(i, j), 0.0);
  const GasArray none{};
  EXPECT_EQ(SpinodalMatrix(none, 300.0, 100.0, 0).Rows(), 0);
  EXPECT_EQ(DerivativeMatrix(-1, none, 300.0, 100.0, 0).Rows(), 0);
  EXPECT_EQ(CriticalMatrix(none, 300.0, 100.0, 0).Rows(), 0);
}

TEST(HelmholtzMatrices, PureGasStabilityElementIsMinusDPDV) {
  using namespace Globals;
  for (int gas = 0; gas < kGases; ++gas) {
    GasArray x{};
    x[gas] = 1.0;
    const double T = 400.0, V = 150.0;
    const double a = aMixture(x, T, Brennick1977), b = bMixture(x);
    const double expected = 8.314472 * T / ((V - b) * (V - b)) - a * (2 * V + b) / (std::sqrt(T) * V * V * (V + b) * (V + b));
    const Matrix Q = SpinodalMatrix(x, T, V, Brennick1977);
    ASSERT_EQ(Q.Rows(), 1);
    EXPECT_NEAR(Q(0, 0), expected, 1e-12 * std::fabs(expected)) << gas;
  }
}

TEST(HelmholtzMatrices, CriticalMatrixLastRowIsTheGradientOfTheDeterminant) {
  using namespace Globals;
  const GasArray x = Mix({{CO2, 0.5}, {N2, 0.2}, {CH4, 0.3}});
  const double T = 250.0, V = 150.0;
  const Matrix Q = SpinodalMatrix(x, T, V, Brennick1981);
  const Matrix C = CriticalMatrix(x, T, V, Brennick1981);
  ASSERT_EQ(C.Rows(), 3);
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(C(r, c), Q(r, c));
  // d det Q / dV by a central difference.
  auto det = [&](double v) {
    Matrix q = SpinodalMatrix(x, T, v, Brennick1981);
    return DeterminantUnsnapped(q);
  };
  const double h = 1e-3;
  const double fd = (det(V + h) - det(V - h)) / (2 * h);
  EXPECT_NEAR(C(2, 0), fd, 1e-6 * std::fabs(fd));
}

}  // namespace
