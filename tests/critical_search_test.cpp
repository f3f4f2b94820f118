// The spinodal and critical point searches against closed forms of a pure
// Redlich-Kwong gas, the criticality condition of a mixture, and the false
// roots and points that a search must not report.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "critical/critical.h"
#include "framework/runtime.h"
#include "mixtures.h"

namespace {

using test_mixtures::Pure;

using namespace Globals;

constexpr double R = 8.314472;

GasArray Half(int g1, int g2) {
  GasArray x{};
  x[g1] = 0.5;
  x[g2] = 0.5;
  return x;
}

// For a gas with constant a: dP/dV = 0 gives
// T_sp(V) = [a (2V + b)(V - b)^2 / (R V^2 (V + b)^2)]^(2/3).
double ClosedFormSpinodal(double a, double b, double V) {
  return std::pow(a * (2 * V + b) * (V - b) * (V - b) / (R * V * V * (V + b) * (V + b)), 2.0 / 3.0);
}

// The search as the critical point window runs it: the proposals as the
// window shows them (read back from their text).
CriticalSearchResult WindowSearch(const GasArray& x, std::int32_t model) {
  const PseudoCritical pc = PseudoCriticalConditions(x, model);
  return CriticalPointSearch(x, model, Val(Str(pc.Vpc)), Val(Str(pc.V1)), Val(Str(pc.V2)));
}

// det of the stability matrix without the snap.
double StabilityDet(const GasArray& x, double T, double V, std::int32_t model) {
  Matrix Q = SpinodalMatrix(x, T, V, model);
  return DeterminantUnsnapped(Q);
}

// ---- Spinodal ----

TEST(Spinodal, PureGasFollowsTheClosedForm) {
  const GasArray x = Pure(N2);
  const double a = aMixture(x, 300.0, Brennick1977), b = bMixture(x);
  // Far out the whole determinant lies below the snap, which stopped the
  // search some 1e-5 short of the root (at 2.67542e6 cm3/mol 0.2694626 K for
  // 0.2694693 K; N2's a is the same under the 1981 set); at 1e7 cm3/mol the
  // root is about 0.112 K.
  for (double V : {1.5 * b, 102.93, 200.0, 1000.0, 1e5, 2.67542e6, 1e7}) {
    const double expected = ClosedFormSpinodal(a, b, V);
    EXPECT_NEAR(SpinDetSolution(x, 1000.0, V, Brennick1977), expected, 1e-9 * expected) << V;
  }
}

TEST(Spinodal, GenuineRootsWhereTheDeterminantCancelsOrIsTiny) {
  // Spinodals found separately by bisection of the determinant of the
  // Helmholtz energy's Hessian in 50-digit arithmetic. A trace first
  // component (whose amount the matrix holds) and volumes near b make the
  // determinant a tiny difference of large products: these roots were
  // refused. Far out it is below the snap everywhere, and the search stopped
  // early (0.148996201 K at 1e7 cm3/mol). Closer still to b ((V - b)/b of
  // 1e-7 to 2e-5) the determinant in double is all rounding, and the search
  // on it stopped anywhere: those roots were "no soluton" too.
  GasArray six{}, nh3{}, ostrem{};
  nh3[NH3] = 0.0042;
  nh3[H2] = 0.7138;
  nh3[O2] = 0.282;
  ostrem[N2] = 9.013543704943921e-10;
  ostrem[NH3] = 0.327745119494505;
  ostrem[H2] = 0.3329765930643449;
  ostrem[CO] = 0.33927828653979575;
  const int parts[11] = {0, 121, 33, 240, 281, 0, 32, 0, 294, 0, 0};
  for (int i = 0; i < kGases; ++i) six[i] = parts[i] / 1001.0;
  GasArray traceH2O{};
  traceH2O[H2O] = 1e-8;
  traceH2O[CO2] = 0.99999999;
  struct Case {
    GasArray x;
    double V, T;
    std::int32_t model = Brennick1977;
  };
  for (const Case& c : {Case{traceH2O, 31.182, 204.75420849812929}, {traceH2O, 32.667, 207.05011094382641},
                        {traceH2O, 33.5, 207.89083003844778}, {Half(N2, CH4), 28.326, 35.624414164039027},
                        {Half(N2, CH4), 1e7, 0.14899585112013872},
                        {six, 29.941887884059796, 195.876402952712},
                        {Half(N2, CH4), 28.32380093, 35.624559188675676},
                        {nh3, 19.45114634, 119.85064108035064},
                        {ostrem, 23.902356315148662, 320.1563093986649, Ostrem1999}}) {
    const double T = SpinodalTemperature(c.x, c.V, c.model, kSpinodalWindowStarts);
    EXPECT_NEAR(T, c.T, 1e-9 * c.T) << c.V;
  }
  // At 1e-11 above b even the accurate determinant's rounding hides where in
  // a band of some 1e-6 of T it changes sign; a temperature from inside that
  // band (35.6246527 K) would show wrong digits.
  const double T = SpinodalTemperature(Half(N2, CH4), 28.323798098754587, Brennick1977, kSpinodalWindowStarts);
  if (T != 0.0) {
    EXPECT_NEAR(T, 35.62455938148875, 1e-9 * T);
  }
}

TEST(Spinodal, NoneWhereTheEquationOfStateHasNone) {
  const GasArray n2ch4 = Half(N2, CH4), n2 = Pure(N2);
  const double b = bMixture(n2ch4);
  GasArray negative{};
  negative[N2] = -1.0;
  // An empty field, volumes at or below b, no numbers, nothing present.
  for (auto [x, V] : {std::pair{n2ch4, 0.0}, {n2ch4, -0.5 * b}, {n2ch4, b}, {n2, bMixture(n2) / 2}, {n2, NAN},
                      {n2, INFINITY}, {GasArray{}, 100.0}, {negative, 100.0}}) {
    EXPECT_EQ(SpinDetSolution(x, 1000.0, V, Brennick1977), 0.0) << V;
  }
  // So far out that the determinant underflows to 0 at every temperature.
  EXPECT_EQ(SpinodalTemperature(n2, 1e300, Brennick1977, kSpinodalWindowStarts), 0.0);
  EXPECT_EQ(SpinodalTemperature(n2, bMixture(n2) / 2, Brennick1977, kSpinodalWindowStarts), 0.0);
  // b as a window shows it lies 5e-14 above b: the determinant there is all
  // rounding, and a pivot that cancelled to 0 once passed for a root at the
  // start temperature (1000 K, 1.7e17 MPa).
  const double shown = Val(Str(b));
  ASSERT_GT(shown, b);
  EXPECT_EQ(SpinDetSolution(n2ch4, 1000.0, shown, Brennick1977), 0.0);
  EXPECT_EQ(SpinodalTemperature(n2ch4, shown, Brennick1977, kSpinodalWindowStarts), 0.0);
}

TEST(Spinodal, ManyGasMixturesGiveRoots) {
  // A root is a sign change of the determinant across it, whatever the
  // number of gases. First eight gases, where the determinant's rounding
  // noise exceeds the snap and the secant dithered near the root until it
  // ran out of passes; then random mixtures.
  auto across = [](const GasArray& x, double T, double V, std::int32_t model) {
    return StabilityDet(x, T * (1 - 1e-9), V, model) * StabilityDet(x, T * (1 + 1e-9), V, model);
  };
  GasArray eight{};
  const int parts[11] = {23, 0, 20, 90, 28, 79, 0, 0, 16, 60, 47};
  for (int i = 0; i < kGases; ++i) eight[i] = parts[i] / 363.0;
  const double T8 = SpinDetSolution(eight, 1000.0, 82.869407961266447, Brennick1977);
  ASSERT_GT(T8, 0.1);
  EXPECT_LT(across(eight, T8, 82.869407961266447, Brennick1977), 0.0) << T8;

  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  int found = 0;
  for (int trial = 0; trial < 30; ++trial) {
    GasArray x{};
    double sum = 0;
    for (int i = 0; i < kGases; ++i) {
      if (next() % 3 != 0) x[i] = 1 + next() % 50, sum += x[i];
    }
    if (sum == 0) continue;
    for (double& v : x) v /= sum;
    const std::int32_t model = static_cast<std::int32_t>(next() % 3);
    const double V = bMixture(x) * (1.5 + (next() % 400) / 100.0);
    const double T = SpinodalTemperature(x, V, model, kAnalysisStarts);
    if (T == 0.0) continue;
    ++found;
    EXPECT_LE(across(x, T, V, model), 0.0) << trial;
  }
  EXPECT_GT(found, 20);
}

// ---- Critical point ----

TEST(CriticalPoint, PureGasesLieAtBOverC) {
  // Nitrogen with constant a: the Redlich-Kwong critical point itself.
  const GasArray n2 = Pure(N2);
  const CriticalSearchResult r = WindowSearch(n2, Brennick1977);
  ASSERT_TRUE(r.found);
  CriticalValues();
  EXPECT_NEAR(r.V, bMixture(n2) / (std::cbrt(2.0) - 1), 1e-9);
  EXPECT_NEAR(r.T, Tcrit[N2], 1e-7);
  EXPECT_NEAR(r.P, Pcrit[N2], 1e-8);
  // Whatever a(T) does, the isotherm through V = b/c that is flat there is
  // also inflected there.
  for (int gas : {H2O, CO2, CH4}) {
    const CriticalSearchResult t = WindowSearch(Pure(gas), Ostrem1999);
    EXPECT_TRUE(t.found) << gas;
    EXPECT_NEAR(t.V, bMixture(Pure(gas)) / (std::cbrt(2.0) - 1), 1e-9 * t.V) << gas;
  }
}

TEST(CriticalPoint, BinaryMixtureSatisfiesTheCriticalityCondition) {
  const GasArray x = Half(N2, CH4);
  const CriticalSearchResult r = WindowSearch(x, Brennick1977);
  ASSERT_TRUE(r.found);
  EXPECT_NEAR(r.V, 97.0957, 1e-4);
  EXPECT_NEAR(r.T, 164.2075, 1e-4);
  EXPECT_NEAR(r.P, 5.01325, 1e-5);

  // On the spinodal: det Q vanishes against the product of its diagonal.
  const Matrix Q = SpinodalMatrix(x, r.T, r.V, Brennick1977);
  EXPECT_LT(std::fabs(StabilityDet(x, r.T, r.V, Brennick1977)), 1e-12 * std::fabs(Q(0, 0) * Q(1, 1)));
  // The null vector of a singular symmetric 2 x 2 matrix is (Q11, -Q01); the
  // third-derivative form along it vanishes here but not a little away.
  auto form = [&](double T, double V) {
    const Matrix q = SpinodalMatrix(x, T, V, Brennick1977);
    const double n = std::hypot(q(1, 1), q(0, 1));
    const double u[2] = {q(1, 1) / n, -q(0, 1) / n};
    const Matrix d0 = DerivativeMatrix(-1, x, T, V, Brennick1977);
    const Matrix d1 = DerivativeMatrix(CH4, x, T, V, Brennick1977);
    double C = 0;
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) C += (u[0] * d0(i, j) + u[1] * d1(i, j)) * u[i] * u[j];
    return C;
  };
  const double Vaway = 1.01 * r.V;
  const double Taway = SpinodalTemperature(x, Vaway, Brennick1977, kAnalysisStarts);
  EXPECT_LT(std::fabs(form(r.T, r.V)), 1e-8 * std::fabs(form(Taway, Vaway)));

  // The analysis rows: the critical function changes sign across it.
  const AnalysisRow below = AnalysisAt(x, 96.0, Brennick1977), above = AnalysisAt(x, 98.0, Brennick1977);
  ASSERT_TRUE(below.hasTemperature && above.hasTemperature);
  EXPECT_LT(below.F * above.F, 0.0);
  EXPECT_NEAR(below.P, Pressure(x, below.T, 96.0, Brennick1977), 0.0);
}

TEST(CriticalPoint, TraceFirstComponentsDoNotHideTheirCriticalPoints) {
  // The critical points from a 50-digit solution of det Q = 0 and a vanishing
  // cubic form. With the first amount held the form shrinks with it to
  // rounding noise, and the first two points were refused; the search's
  // volume was left some 4e-7 off by the critical function's rounding too.
  // The next three it left 4e-5 or so off, too far for the form to be small
  // there against its values at V(1 -+ 1e-3), and they were refused. Below
  // some 3e-5 of the first component F itself is noise and the search
  // stopped nowhere near the last two.
  auto trace = [](int first, double amount, int major) {
    GasArray x{};
    x[first] = amount;
    x[major] = 1 - amount;
    return x;
  };
  struct Case {
    GasArray x;
    std::int32_t model;
    double V, T;
  };
  for (const Case& c : {Case{trace(H2O, 5.9461696e-5, C2H6), Brennick1981, 173.691134395189, 305.329319293829},
                        {trace(O2, 6.3811056e-5, C2H6), Ostrem1999, 173.689126824753, 305.326481141482},
                        {trace(CO2, 1.8e-5, N2), Ostrem1999, 102.931920331463, 196.516247528180},
                        {trace(CO2, 4.1e-5, C2H6), Brennick1981, 173.694607618656, 305.328371895670},
                        {trace(CO, 2.3e-5, Ar), Brennick1977, 85.3688372084879, 150.869528580787},
                        {trace(H2O, 1e-6, C2H6), Brennick1977, 173.697345411269, 305.329988389450},
                        {trace(H2O, 2e-6, N2), Brennick1981, 102.931197820369, 126.193417124649}}) {
    const CriticalSearchResult r = WindowSearch(c.x, c.model);
    ASSERT_TRUE(r.found) << c.V;
    EXPECT_NEAR(r.V, c.V, 1e-9 * c.V);
    EXPECT_NEAR(r.T, c.T, 1e-10 * c.T);
    EXPECT_NEAR(r.P, Pressure(c.x, c.T, c.V, c.model), 1e-8);
  }
  // The form on either side, along the null vector with C2H6 held (the same
  // 50-digit evaluation): a sign change of a size that owes nothing to the
  // trace.
  for (auto [V, T, C] : {std::tuple{173.5, 305.32917400833687, -1.14969685009e-6},
                         {174.0, 305.32894262236877, 1.83164856775e-6}}) {
    const GasArray h2o = trace(H2O, 5.9461696e-5, C2H6);
    const double Ts = SpinodalTemperature(h2o, V, Brennick1981, kAnalysisStarts);
    EXPECT_NEAR(Ts, T, 1e-10 * T);
    EXPECT_NEAR(CubicForm(h2o, Ts, V, Brennick1981), C, 1e-6 * std::fabs(C));
  }
}

TEST(CriticalPoint, FalsePointsOfCO2AndMethaneAreNotReported) {
  const GasArray x = Half(CO2, CH4);
  // 1977: the critical function decays below the snap far out (27 412
  // cm3/mol, 13.46 K).
  const CriticalSearchResult r0 = WindowSearch(x, Brennick1977);
  EXPECT_FALSE(r0.found) << r0.V << " " << r0.T;
  EXPECT_EQ(r0.T, 0.0);
  EXPECT_EQ(r0.P, 0.0);
  EXPECT_FALSE(IsCriticalPoint(x, SpinodalTemperature(x, 27412.0, Brennick1977, kAnalysisStarts), 27412.0,
                               Brennick1977));
  // Ostrem: the critical function changes sign at 4011.02 cm3/mol only
  // because the null vector has lost its methane part; the cubic form along
  // it is no smaller there than a little away.
  const CriticalSearchResult r2 = WindowSearch(x, Ostrem1999);
  EXPECT_FALSE(r2.found) << r2.V << " " << r2.T;
  const double T = SpinodalTemperature(x, 4011.02, Ostrem1999, kAnalysisStarts);
  EXPECT_NEAR(T, 107.118, 1e-3);
  EXPECT_FALSE(IsCriticalPoint(x, T, 4011.02, Ostrem1999));
}

TEST(CriticalPoint, UnusableGuessesFindNothing) {
  const GasArray x = Half(N2, CH4);
  // Equal first guesses locate nothing; different ones on both sides do.
  const CriticalSearchResult equal = CriticalPointSearch(x, Brennick1977, 0.0, 108.97, 108.97);
  EXPECT_FALSE(equal.found);
  EXPECT_EQ(equal.T, 0.0);
  EXPECT_TRUE(CriticalPointSearch(x, Brennick1977, 0.0, 108.97, 68.65).found);
  // No guesses, guesses below b, nothing present.
  EXPECT_FALSE(CriticalPointSearch(x, Brennick1977, 0.0, 0.0, 0.0).found);
  EXPECT_FALSE(CriticalPointSearch(x, Brennick1977, 0.0, 10.0, 20.0).found);
  const CriticalSearchResult none = CriticalPointSearch(GasArray{}, Brennick1977, 0.0, 100.0, 60.0);
  EXPECT_FALSE(none.found);
  EXPECT_EQ(none.P, 0.0);
  // A pure gas whose proposal could not be read (the text "no solution").
  EXPECT_FALSE(CriticalPointSearch(Pure(N2), Brennick1977, Val("no solution"), 0.0, 0.0).found);
}

// ---- Pseudo-critical conditions ----

TEST(PseudoCritical, ConditionsOfOneRedlichKwongFluid) {
  CriticalValues();
  const double c = std::pow(2.0, 1.0 / 3.0) - 1;
  // A pure gas with constant a: its critical constants; V2 halfway to b.
  const PseudoCritical n2 = PseudoCriticalConditions(Pure(N2), Brennick1977);
  ASSERT_TRUE(n2.ok);
  EXPECT_NEAR(n2.Vpc, R * Tcrit[N2] / (3 * Pcrit[N2]), 1e-9);
  EXPECT_NEAR(n2.Tpc, Tcrit[N2], 1e-6);
  EXPECT_NEAR(n2.Ppc, Pcrit[N2], 1e-8);
  EXPECT_NEAR(n2.V2, bMixture(Pure(N2)) + (n2.Vpc - bMixture(Pure(N2))) / 2, 1e-12);
  // A mixture with a(T): Tpc solves its own relation.
  const GasArray x = Half(N2, CH4);
  const PseudoCritical pc = PseudoCriticalConditions(x, Ostrem1999);
  ASSERT_TRUE(pc.ok);
  const double b = bMixture(x), a = aMixture(x, pc.Tpc, Ostrem1999);
  EXPECT_NEAR(pc.Tpc, std::pow(c, 4.0 / 3.0) * std::pow(3 * a / (b * R), 2.0 / 3.0), 1e-8 * pc.Tpc);
  EXPECT_NEAR(pc.Ppc, std::pow(c, 7.0 / 3.0) * std::cbrt(R * a * a / (3 * std::pow(b, 5))), 1e-10 * pc.Ppc);
  EXPECT_FALSE(PseudoCriticalConditions(GasArray{}, Brennick1977).ok);
}

}  // namespace
