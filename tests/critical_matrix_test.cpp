// Determinants, cofactors and the matrices of the Helmholtz energy, checked
// against a Laplace expansion, the adjugate identity and finite differences
// of the Helmholtz energy itself in long double.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "critical/critical.h"

namespace {

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

TEST(Determinant, PivotTieGoesToTheLaterRow) {
  Matrix m = Of({{4, 3}, {6, 3}});
  EXPECT_EQ(Globals::Det_LU_Decomposition(m), -6.0);
  EXPECT_EQ(m(0, 0), 6.0);
  EXPECT_EQ(m(0, 1), 3.0);
  EXPECT_DOUBLE_EQ(m(1, 0), 2.0 / 3.0);
  EXPECT_DOUBLE_EQ(m(1, 1), 1.0);
}

TEST(Determinant, SingularMatrixGivesExactZeroWithTheZeroPivotReplaced) {
  Matrix m = Of({{1, 2}, {2, 4}});
  EXPECT_EQ(Globals::Det_LU_Decomposition(m), 0.0);
  EXPECT_EQ(m(0, 0), 2.0);
  EXPECT_EQ(m(0, 1), 4.0);
  EXPECT_EQ(m(1, 0), 0.5);
  EXPECT_EQ(m(1, 1), 1e-30);
}

TEST(Determinant, SnapsSmallMagnitudesAndNaNToZero) {
  Matrix tiny = Of({{1e-7, 0}, {0, 1e-6}});
  Matrix copy = tiny;
  EXPECT_EQ(Globals::Det_LU_Decomposition(tiny), 0.0);
  EXPECT_DOUBLE_EQ(Globals::DeterminantUnsnapped(copy), 1e-13);

  Matrix one = Of({{2.5}});
  EXPECT_EQ(Globals::Det_LU_Decomposition(one), 2.5);
  Matrix small = Of({{-1e-12}});
  EXPECT_EQ(Globals::Det_LU_Decomposition(small), 0.0);
  Matrix zeros(3, 3);
  EXPECT_EQ(Globals::Det_LU_Decomposition(zeros), 0.0);
  Matrix nan = Of({{1, NAN}, {2, 3}});
  EXPECT_EQ(Globals::Det_LU_Decomposition(nan), 0.0);
  Matrix empty;
  EXPECT_EQ(Globals::Det_LU_Decomposition(empty), 1.0);
}

TEST(Determinant, AgreesWithLaplaceExpansionAndAdjugate) {
  std::mt19937 rng(12);
  std::uniform_real_distribution<double> u(-5.0, 5.0);
  for (int n = 4; n <= 6; ++n) {
    for (int trial = 0; trial < 10; ++trial) {
      Matrix m(n, n);
      for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) m(r, c) = u(rng);
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
}

TEST(Cofactors, EveryElementHasItsCofactorZeroOrNot) {
  const Matrix a = Globals::CofactorMatrix(Of({{1, 2}, {3, 4}}));
  EXPECT_EQ(a(0, 0), 4.0);
  EXPECT_EQ(a(0, 1), -3.0);
  EXPECT_EQ(a(1, 0), -2.0);
  EXPECT_EQ(a(1, 1), 1.0);
  // A zero element's minor still counts: the gradient of a determinant
  // through its cofactors needs all of them.
  const Matrix b = Globals::CofactorMatrix(Of({{0, 2}, {3, 4}}));
  EXPECT_EQ(b(0, 0), 4.0);
  EXPECT_EQ(b(1, 1), 0.0);
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

  std::vector<long double> Point(double V) const {
    std::vector<long double> y(present.size());
    y[0] = V;
    for (std::size_t p = 1; p < present.size(); ++p) y[p] = x[present[p]];
    return y;
  }
  std::vector<long double> Steps(double V, long double rel) const {
    std::vector<long double> h(present.size());
    h[0] = rel * V;
    for (std::size_t p = 1; p < present.size(); ++p) h[p] = rel * x[present[p]];
    return h;
  }

  // Central differences of step h and h/2 combined (Richardson), so the
  // error is of fourth order and the steps can stay large against rounding.
  template <class D>
  static double Richardson(D difference) {
    const long double coarse = difference(3e-3L), fine = difference(1.5e-3L);
    return static_cast<double>((4 * fine - coarse) / 3);
  }

  // d2A/dy_i dy_j and d3A/dy_i dy_j dy_k by central differences over
  // independent offsets (right for repeated indices too).
  double Second(double V, int i, int j) const {
    return Richardson([&](long double rel) { return SecondStep(V, i, j, rel); });
  }
  double Third(double V, int i, int j, int k) const {
    return Richardson([&](long double rel) { return ThirdStep(V, i, j, k, rel); });
  }
  long double SecondStep(double V, int i, int j, long double rel) const {
    auto y0 = Point(V);
    auto h = Steps(V, rel);
    long double sum = 0;
    for (int si : {1, -1})
      for (int sj : {1, -1}) {
        auto y = y0;
        y[static_cast<std::size_t>(i)] += si * h[static_cast<std::size_t>(i)];
        y[static_cast<std::size_t>(j)] += sj * h[static_cast<std::size_t>(j)];
        sum += si * sj * (*this)(y);
      }
    return sum / (4 * h[static_cast<std::size_t>(i)] * h[static_cast<std::size_t>(j)]);
  }
  long double ThirdStep(double V, int i, int j, int k, long double rel) const {
    auto y0 = Point(V);
    auto h = Steps(V, rel);
    long double sum = 0;
    for (int si : {1, -1})
      for (int sj : {1, -1})
        for (int sk : {1, -1}) {
          auto y = y0;
          y[static_cast<std::size_t>(i)] += si * h[static_cast<std::size_t>(i)];
          y[static_cast<std::size_t>(j)] += sj * h[static_cast<std::size_t>(j)];
          y[static_cast<std::size_t>(k)] += sk * h[static_cast<std::size_t>(k)];
          sum += si * sj * sk * (*this)(y);
        }
    return sum / (8 * h[static_cast<std::size_t>(i)] * h[static_cast<std::size_t>(j)] * h[static_cast<std::size_t>(k)]);
  }
};

struct Case {
  const char* name;
  GasArray x;
  double T, V;
  std::int32_t model;
};

GasArray Mix(std::initializer_list<std::pair<int, double>> parts) {
  GasArray x{};
  for (auto [g, f] : parts) x[g] = f;
  return x;
}

std::vector<Case> Cases() {
  using namespace Globals;
  return {
      {"CO2/CH4, 1977", Mix({{CO2, 0.4}, {CH4, 0.6}}), 300.0, 120.0, Brennick1977},
      {"CO2/N2/CH4, 1981", Mix({{CO2, 0.5}, {N2, 0.2}, {CH4, 0.3}}), 250.0, 150.0, Brennick1981},
      {"H2O/CO2/N2/CH4, Ostrem", Mix({{H2O, 0.4}, {CO2, 0.3}, {N2, 0.1}, {CH4, 0.2}}), 673.15, 100.0, Ostrem1999},
  };
}

// |got - want| within `rel` of the size of the derivatives at hand.
void ExpectClose(double got, double want, double scale, double rel, const std::string& what) {
  EXPECT_NEAR(got, want, rel * (std::fabs(want) + scale)) << what;
}

TEST(HelmholtzMatrices, StabilityMatrixIsTheSecondDerivative) {
  for (const Case& c : Cases()) {
    const Helmholtz energy(c.x, c.T, c.model);
    const Matrix Q = Globals::SpinodalMatrix(c.x, c.T, c.V, c.model);
    const int n = energy.Size();
    ASSERT_EQ(Q.Rows(), n) << c.name;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        const double scale = std::sqrt(std::fabs(Q(i, i) * Q(j, j)));
        ExpectClose(Q(i, j), energy.Second(c.V, i, j), scale, 1e-9,
                    std::string(c.name) + " Q(" + std::to_string(i) + "," + std::to_string(j) + ")");
        EXPECT_NEAR(Q(i, j), Q(j, i), 1e-13 * scale);
      }
    }
  }
}

TEST(HelmholtzMatrices, DerivativeMatricesAreTheThirdDerivatives) {
  for (const Case& c : Cases()) {
    const Helmholtz energy(c.x, c.T, c.model);
    const int n = energy.Size();
    for (int k = 0; k < n; ++k) {
      const int variable = k == 0 ? -1 : energy.present[static_cast<std::size_t>(k)];
      const Matrix D = Globals::DerivativeMatrix(variable, c.x, c.T, c.V, c.model);
      ASSERT_EQ(D.Rows(), n);
      double scale = 0;
      for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) scale = std::max(scale, std::fabs(D(i, j)));
      for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
          ExpectClose(D(i, j), energy.Third(c.V, k, i, j), 1e-3 * scale, 1e-7,
                      std::string(c.name) + " d/dy" + std::to_string(k) + " (" + std::to_string(i) + "," +
                          std::to_string(j) + ")");
        }
      }
    }
  }
}

TEST(HelmholtzMatrices, AbsentComponentGivesZeroSlice) {
  using namespace Globals;
  const GasArray x = Mix({{CO2, 0.5}, {CH4, 0.5}});
  const Matrix absent = DerivativeMatrix(N2, x, 300.0, 120.0, Brennick1977);
  ASSERT_EQ(absent.Rows(), 2);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) EXPECT_EQ(absent(i, j), 0.0);
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

TEST(HelmholtzMatrices, NothingPresentGivesEmptyMatrices) {
  const GasArray none{};
  EXPECT_EQ(Globals::SpinodalMatrix(none, 300.0, 100.0, 0).Rows(), 0);
  EXPECT_EQ(Globals::DerivativeMatrix(-1, none, 300.0, 100.0, 0).Rows(), 0);
  EXPECT_EQ(Globals::CriticalMatrix(none, 300.0, 100.0, 0).Rows(), 0);
}

}  // namespace
