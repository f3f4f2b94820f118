// Raoult pressures, Wilson coefficients, the phase split and the first
// approaches, checked against the formulas worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "mixtures.h"
#include "phase/phase.h"
#include "properties/properties.h"

namespace {

using test_mixtures::Mix;
using test_mixtures::Pure;

using Globals::GasArray;
using namespace phase;

class PhaseFirstApproach : public ::testing::Test {
 protected:
  void SetUp() override { Globals::InitProperties(); }
};

TEST_F(PhaseFirstApproach, RaoultBubbleAndDewPressures) {
  // (The two pressures of a mixture: as the guesses of the first approach.)
  EXPECT_EQ(Globals::RaoultPressure(Mix({{Globals::CO2, 0.6}, {Globals::CH4, 0.4}}), 180, 2), 0.0);  // no such mode
  // Nothing present: no division by the empty sum.
  EXPECT_EQ(Globals::RaoultPressure(GasArray{}, 300, 0), 0.0);
  EXPECT_EQ(Globals::RaoultPressure(GasArray{}, 300, 1), 0.0);
  // An absent gas adds nothing, also where its saturation pressure is 0 (at
  // 1 K, all but nitrogen's) or past any range: 0/0 or 0 inf must not poison
  // the sum.
  const GasArray n2 = Pure(Globals::N2);
  const double p = Globals::SaturationPressure(Globals::N2, 1.0);
  ASSERT_GT(p, 0.0);
  EXPECT_EQ(Globals::RaoultPressure(n2, 1.0, 0), p);
  EXPECT_NEAR(Globals::RaoultPressure(n2, 1.0, 1), p, 1e-15 * p);
  for (double T0 : {0.0, -10.0}) {
    for (int gas = 0; gas < Globals::kGases; ++gas) {
      for (int mode : {0, 1}) EXPECT_TRUE(std::isfinite(Globals::RaoultPressure(Pure(gas), T0, mode))) << gas;
    }
  }
}

TEST_F(PhaseFirstApproach, WilsonCoefficients) {
  Globals::CriticalValues();
  const GasArray Tc = Globals::Tcrit, Pc = Globals::Pcrit, w = Globals::Acentric;
  for (auto [T, P] : {std::pair{400.0, 1.0}, {400.0, 8.0}, {150.0, 2.5}}) {
    const GasArray K = Globals::WilsonDistribution(T, P);
    for (int i = 0; i < Globals::kGases; ++i) {
      EXPECT_NEAR(K[i], Pc[i] / P * std::exp(5.373 * (1 + w[i]) * (1 - Tc[i] / T)), 1e-13 * K[i]) << i;
    }
  }
  // Without a positive temperature and pressure every K is 1.
  for (auto [T, P] : {std::pair{300.0, 0.0}, {0.0, 1.0}, {-5.0, 1.0}, {300.0, -1.0}, {NAN, 1.0}}) {
    for (double K : Globals::WilsonDistribution(T, P)) EXPECT_EQ(K, 1.0);
  }
}

TEST_F(PhaseFirstApproach, SplitPutsTheFeedIntoThePhaseOfBeta) {
  const GasArray z = Mix({{Globals::H2O, 0.5}, {Globals::CO2, 0.3}, {Globals::CH4, 0.2}});
  GasArray K{};
  K.fill(7.0);
  K[Globals::H2O] = 0.05, K[Globals::CO2] = 2.0, K[Globals::CH4] = 9.0;
  const double sy = 0.5 * 0.05 + 0.3 * 2 + 0.2 * 9, sx = 0.5 / 0.05 + 0.3 / 2 + 0.2 / 9;

  const Split liquid = Distribute(z, K, 0.0);
  EXPECT_EQ(liquid.x, z);
  EXPECT_EQ(liquid.y[Globals::CO2], 0.6);
  EXPECT_NEAR(liquid.Sy, sy, 1e-15);
  const Split vapour = SplitPlain(z, K, 1.0);
  for (int i = 0; i < Globals::kGases; ++i) EXPECT_NEAR(vapour.y[i], z[i], 1e-15);
  EXPECT_NEAR(vapour.x[Globals::H2O], (0.5 / 0.05) / sx, 1e-15);
  // beta = 1/2: x_i = 2 z_i / (1 + K_i).
  const Split half = Distribute(z, K, 0.5);
  EXPECT_NEAR(half.x[Globals::CO2], 2 * 0.3 / 3.0, 1e-16);
  EXPECT_NEAR(half.y[Globals::CO2], 2 * 2 * 0.3 / 3.0, 1e-16);
  // The fixed-point form: y_i = K_i z_i / sum, to the 1e-12 grid.
  const Split fixed = SplitFixedPoint(z, K, 0.0);
  EXPECT_EQ(fixed.Sx, 1.0);
  EXPECT_NEAR(fixed.Sy, sy, 1e-12);
  for (int i = 0; i < Globals::kGases; ++i) EXPECT_NEAR(fixed.y[i], K[i] * z[i] / sy, 1e-12) << i;

  // The liquid-vapour form before any first approach (K all 0): phase Y
  // sums to 0 and stays 0 rather than becoming NaN.
  const Split empty = SplitPresent(z, GasArray{}, 0.5);
  EXPECT_EQ(empty.Sy, 0.0);
  for (double y : empty.y) EXPECT_EQ(y, 0.0);
  EXPECT_NEAR(empty.x[Globals::H2O], 0.5, 1e-15);
  // Components without a positive feed fraction are not split.
  GasArray odd = z;
  odd[Globals::N2] = -0.1;
  EXPECT_EQ(SplitPresent(odd, K, 0.5).x[Globals::N2], 0.0);
}

TEST_F(PhaseFirstApproach, FirstApproaches) {
  // Temperature given: the guess is Raoult's pressure of the mode, and the
  // feed is the phase of the mode.
  const GasArray z = Mix({{Globals::CO2, 0.6}, {Globals::CH4, 0.4}});
  const double p1 = Globals::SaturationPressure(Globals::CO2, 200);
  const double p2 = Globals::SaturationPressure(Globals::CH4, 200);
  const HomogenisationStart bubble = HomogenisationFirstApproach(z, true, 200, 0, 0);
  const HomogenisationStart dew = HomogenisationFirstApproach(z, true, 200, 0, 1);
  EXPECT_NEAR(bubble.guess, 0.6 * p1 + 0.4 * p2, 1e-12);
  EXPECT_NEAR(dew.guess, 1 / (0.6 / p1 + 0.4 / p2), 1e-12);
  for (int i = 0; i < Globals::kGases; ++i) {
    EXPECT_NEAR(bubble.x[i], z[i], 1e-12);
    EXPECT_NEAR(dew.y[i], z[i], 1e-12);
  }
  // Pressure given: the temperature guess is 298.15 K and K is Wilson's there.
  const HomogenisationStart byPressure = HomogenisationFirstApproach(z, false, 0, 3.5, 0);
  EXPECT_EQ(byPressure.guess, 298.15);
  EXPECT_EQ(byPressure.P, 3.5);
  EXPECT_EQ(byPressure.K, Globals::WilsonDistribution(298.15, 3.5));

  // Liquid-vapour: P the mean of bubble and dew, a half split, x_i
  // proportional to 2 z_i / (1 + K_i).
  const GasArray feed = Mix({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  const double q1 = Globals::SaturationPressure(Globals::CO2, 250);
  const double q2 = Globals::SaturationPressure(Globals::CH4, 250);
  const LiquidVapourStart s = LiquidVapourFirstApproach(feed, 250);
  EXPECT_NEAR(s.P, 0.5 * (0.9 * q1 + 0.1 * q2 + 1 / (0.9 / q1 + 0.1 / q2)), 1e-12 * s.P);
  EXPECT_EQ(s.fraction, 0.5);
  EXPECT_NEAR(s.x[Globals::CO2] + s.x[Globals::CH4], 1.0, 1e-15);
  EXPECT_NEAR(s.y[Globals::CO2] + s.y[Globals::CH4], 1.0, 1e-15);
  EXPECT_NEAR((s.x[Globals::CO2] / s.x[Globals::CH4]) /
                  ((0.9 / (1 + s.K[Globals::CO2])) / (0.1 / (1 + s.K[Globals::CH4]))),
              1.0, 1e-14);
}

}  // namespace
