// The rows of the fugacity and activity windows, without a window: checked
// against thermodynamic limits and identities, not against the code's own
// formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "core/globals.h"
#include "mixtures.h"
#include "procedures/fugacity/activity.h"
#include "properties/properties.h"

namespace {

using fugacity::ActivityRows;
using fugacity::ComponentRow;
using fugacity::FugacityRows;
using fugacity::StandardState;
using Globals::GasArray;

// H2O 0.5, CO2 0.3, CH4 0.2, or one pure gas.
GasArray Mixture(int pure = -1) {
  using namespace Globals;
  return pure >= 0 ? test_mixtures::Pure(pure) : test_mixtures::Mix({{H2O, 0.5}, {CO2, 0.3}, {CH4, 0.2}});
}

// The largest (vapour-like) or smallest (liquid-like) root.
double Root(const GasArray& x, double T, double P, std::int32_t mode, std::int32_t model = 0) {
  Globals::CubicRoots roots = Globals::Volume(x, T, P, model);
  return Globals::VolumeChoice(roots, mode);
}

class Activities : public ::testing::Test {
 protected:
  void SetUp() override { Globals::InitProperties(); }
};

TEST_F(Activities, IdealGasLimits) {
  // At 1 kPa and 600 K the mixture is all but ideal: f_i -> x_i P,
  // phi_i -> 1, and against the pure real gases at the same T and P each
  // activity tends to its mole fraction (Lewis-Randall). The departures are
  // of the order of |B| P / RT, below 1e-4 for second virial coefficients
  // under 400 cm3/mol.
  const GasArray x = Mixture();
  const double T = 600, P = 0.001;
  const double V = Root(x, T, P, Globals::LargestRoot);
  const auto fug = FugacityRows(x, T, P, V, 0);
  ASSERT_EQ(fug.size(), 3u);
  for (const ComponentRow& r : fug) {
    EXPECT_NEAR(r.coefficient, 1.0, 1e-4) << r.gas;
    EXPECT_NEAR(r.value / (x[r.gas] * P), r.coefficient, 1e-14) << r.gas;
  }
  for (const ComponentRow& r : ActivityRows(x, T, P, V, 0, StandardState::PureRealAtP, 0)) {
    EXPECT_NEAR(r.coefficient, 1.0, 1e-4) << r.gas;
    EXPECT_NEAR(r.value, x[r.gas] * r.coefficient, 1e-15) << r.gas;
  }
  // Against pure real gases at 10 kPa: a_i = f_i / f°_i -> x_i P / Pref.
  for (const ComponentRow& r : ActivityRows(x, T, P, V, 0, StandardState::PureRealAtPref, 0.01)) {
    EXPECT_NEAR(r.value / (x[r.gas] * P / 0.01), 1.0, 1e-3) << r.gas;
  }
}

TEST_F(Activities, APureGasAgainstItselfHasActivityOne) {
  // Pure CO2 at 250 K: psat is about 1.79 MPa, and the cubic has three real
  // roots whose fugacities differ. Below psat the vapour root is the
  // standard state, at or above it the liquid root.
  const GasArray x = Mixture(Globals::CO2);
  const double T = 250;
  const double psat = Globals::SaturationPressure(Globals::CO2, T);
  ASSERT_NEAR(psat, 1.7857, 1e-3);
  auto activity = [&](double P, std::int32_t mode) {
    const auto rows = ActivityRows(x, T, P, Root(x, T, P, mode), 0, StandardState::PureRealAtP, 0);
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? 0.0 : rows[0].value;
  };
  EXPECT_EQ(activity(1.5, Globals::LargestRoot), 1.0);
  EXPECT_NE(activity(1.5, Globals::SmallestRoot), 1.0);
  // Equality counts as "not below": the liquid root.
  EXPECT_EQ(activity(psat, Globals::SmallestRoot), 1.0);
  EXPECT_NEAR(activity(psat, Globals::LargestRoot), 0.8287 / 0.5693, 1e-3);
  EXPECT_EQ(activity(3.0, Globals::SmallestRoot), 1.0);
}

TEST_F(Activities, AgreeWithAnIndependentCalculation) {
  // H2O 0.5, CO2 0.3, CH4 0.2 at 500 K and 20 MPa on its one real root.
  // Reference values: ln phi_i = d(n A_res / RT)/dn_i at T and total V,
  // minus ln Z, the derivative taken by complex step from
  // A_res/RT = -ln(1 - b/V) - a/(b R T^1.5) ln(1 + b/V), with the same a_ij
  // and b_i; the pure-gas roots found by bisection on P(V). Pure H2O has three
  // roots at 7 and at 2 MPa and a saturation pressure of 2.64 MPa: its
  // standard state is the liquid root at 7 MPa and the vapour root at 2 MPa.
  const GasArray x = Mixture();
  const double T = 500, P = 20;
  const double V = Root(x, T, P, Globals::LargestRoot);
  ASSERT_NEAR(V, 149.242514769127, 1e-9);
  struct Expected {
    StandardState state;
    double Pref;
    double a[3];  // H2O, CO2, CH4
  };
  const Expected cases[] = {
      {StandardState::PureRealAtP, 0, {3.74678114732909, 0.326322527432578, 0.270442146200336}},
      {StandardState::PureRealAtPref, 7, {3.97579314067236, 0.85946456209469, 0.776115228798232}},
      {StandardState::PureRealAtPref, 2, {2.79004598089894, 2.89645447738345, 2.70751735664593}},
      // Against ideal gases: a_i = phi_i P / Pref.
      {StandardState::PureIdealAtPref, 7,
       {0.523482743376491 * 20 / 7, 0.950253535079034 * 20 / 7, 1.35092867988889 * 20 / 7}},
  };
  for (const Expected& c : cases) {
    const auto rows = ActivityRows(x, T, P, V, 0, c.state, c.Pref);
    ASSERT_EQ(rows.size(), 3u);
    for (int k = 0; k < 3; ++k) {
      const ComponentRow& r = rows[k];
      EXPECT_NEAR(r.value, c.a[k], 1e-11 * c.a[k]) << static_cast<int>(c.state) << " " << c.Pref << " " << r.gas;
      EXPECT_NEAR(r.coefficient, c.a[k] / x[r.gas], 1e-11 * c.a[k] / x[r.gas]) << r.gas;
    }
  }
}

TEST_F(Activities, AReferencePressureMustBeANumberAboveZero) {
  const GasArray x = Mixture();
  const double V = Root(x, 500, 20, Globals::SmallestRoot);
  Globals::Activity.fill(7.0);
  for (StandardState s : {StandardState::PureRealAtPref, StandardState::PureIdealAtPref}) {
    for (double Pref : {-1.0, 0.0, std::nan("")}) {
      // A negative Pref would give negative activities.
      EXPECT_TRUE(ActivityRows(x, 500, 20, V, 0, s, Pref).empty()) << Pref;
    }
  }
  EXPECT_EQ(Globals::Activity[Globals::H2O], 7.0);  // nothing computed
  // State 0 has no reference pressure.
  EXPECT_EQ(ActivityRows(x, 500, 20, V, 0, StandardState::PureRealAtP, -1.0).size(), 3u);
  // (What the window takes for a reference pressure: in its own test.)
}

TEST_F(Activities, CoefficientsOverTheWholeDoubleRange) {
  // CH4 in a liquid of CO at 59.89 K: ln phi = -292.820055677566, phi =
  // 6.7587382665322e-128 (50-digit evaluation of the root and ln phi), once
  // cut to 1.0.
  using namespace Globals;
  GasArray x{};
  x[H2S] = 0.1295, x[H2] = 0.0044, x[CO] = 0.866, x[CH4] = 0.0001;
  const double V = Root(x, 59.89, 6.35, SmallestRoot, Ostrem1999);
  const auto rows = FugacityRows(x, 59.89, 6.35, V, Ostrem1999);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_NEAR(rows[3].coefficient, 6.7587382665322468e-128, 1e-11 * 6.76e-128);
  EXPECT_NEAR(rows[3].value, 4.2917987992479767e-131, 1e-11 * 4.29e-131);
  EXPECT_NEAR(rows[0].coefficient, 7.3671063324765506e-17, 1e-11 * 7.37e-17);  // H2S, ln phi -37.1

  // States with no coefficient: Vm = 0 (an empty or complex root), Vm = b,
  // and liquid water at 60 K under Brennick (1981), V - b = 1.0e-3 and ln phi
  // = -19895. No row may pass for an ideal gas (phi 1, f = x P) or show an
  // activity of 0; it has no number, shown as "no solution".
  const GasArray m = Mixture(Globals::H2O), z = Mixture();
  const double Vm = Root(m, 60, 5, SmallestRoot, Brennick1981);
  ASSERT_NEAR(Vm - 14.6, 1.0168e-3, 1e-7);
  for (auto [y, T, P, V, model] : {std::tuple{z, 500.0, 20.0, 0.0, 0}, {z, 500.0, 20.0, bMixture(z), 0},
                                   {m, 60.0, 5.0, Vm, Brennick1981}}) {
    auto rows = FugacityRows(y, T, P, V, model);
    for (auto s : {StandardState::PureRealAtP, StandardState::PureRealAtPref, StandardState::PureIdealAtPref}) {
      for (const ComponentRow& r : ActivityRows(y, T, P, V, model, s, 1)) rows.push_back(r);
    }
    for (const ComponentRow& r : rows) {
      EXPECT_TRUE(std::isnan(r.value) && std::isnan(r.coefficient)) << T << " " << V << " " << r.gas;
    }
  }
}

// Pure water at 60 K and 5 MPa under Brennick (1981) sits 1.0e-3 above its
// co-volume, ln phi = -19895.4: its activity in a hydrogen gas, 1.76e8564,
// is no double and lists no number (never 0), while hydrogen's is
// 2.98222883671335 (50-digit evaluation of both phases).
TEST_F(Activities, AStandardStateOutOfRangeHasNoNumber) {
  GasArray x{};
  x[Globals::H2O] = 0.01, x[Globals::H2] = 0.99;
  const double V = Root(x, 60, 5, Globals::LargestRoot, Globals::Brennick1981);
  const auto rows = ActivityRows(x, 60, 5, V, Globals::Brennick1981, StandardState::PureRealAtP, 0);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_TRUE(std::isnan(rows[0].value) && std::isnan(rows[0].coefficient));
  EXPECT_NEAR(rows[1].value, 2.9822288367133541, 1e-13);
}

}  // namespace
