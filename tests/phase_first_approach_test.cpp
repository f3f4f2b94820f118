// Raoult pressures, Wilson coefficients, the phase split and the first
// approaches, checked against the formulas worked by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "phase/phase.h"
#include "properties/properties.h"

namespace {

using Globals::GasArray;
using namespace phase;

GasArray Mix(std::initializer_list<std::pair<int, double>> parts) {
  GasArray x{};
  for (auto [gas, f] : parts) x[gas] = f;
  return x;
}

class PhaseFirstApproach : public ::testing::Test {
 protected:
  void SetUp() override { Globals::InitProperties(); }
};

TEST_F(PhaseFirstApproach, RaoultOfAPureGasIsItsSaturationPressureInBothModes) {
  for (int gas : {Globals::H2O, Globals::CO2, Globals::CH4, Globals::Ar}) {
    GasArray x{};
    x[gas] = 1.0;
    const double T = gas == Globals::H2O ? 450.0 : 150.0;
    const double Psat = Globals::SaturationPressure(gas, T);
    EXPECT_EQ(Globals::RaoultPressure(x, T, 0), Psat) << gas;
    EXPECT_NEAR(Globals::RaoultPressure(x, T, 1), Psat, 1e-15 * Psat) << gas;
    EXPECT_EQ(Globals::RaoultPressure(x, T, 2), 0.0);
  }
  EXPECT_EQ(Globals::RaoultPressure(GasArray{}, 300, 0), 0.0);
  EXPECT_EQ(Globals::RaoultPressure(GasArray{}, 300, 1), 0.0);
}

TEST_F(PhaseFirstApproach, BubblePressureOfABinaryLiesAboveItsDewPressure) {
  const GasArray z = Mix({{Globals::CO2, 0.6}, {Globals::CH4, 0.4}});
  const double T = 180;
  const double p1 = Globals::SaturationPressure(Globals::CO2, T);
  const double p2 = Globals::SaturationPressure(Globals::CH4, T);
  const double bubble = Globals::RaoultPressure(z, T, 0), dew = Globals::RaoultPressure(z, T, 1);
  EXPECT_NEAR(bubble, 0.6 * p1 + 0.4 * p2, 1e-14 * bubble);
  EXPECT_NEAR(dew, 1 / (0.6 / p1 + 0.4 / p2), 1e-14 * dew);
  EXPECT_GT(bubble, dew);
}

TEST_F(PhaseFirstApproach, RaoultAtOrBelowZeroKelvinIgnoresAbsentGases) {
  // An absent gas's saturation pressure there is 0 or no number; 0 times
  // its inverse must not poison the sum.
  for (double T : {0.0, -10.0}) {
    for (int gas = 0; gas < Globals::kGases; ++gas) {
      GasArray x{};
      x[gas] = 1.0;
      for (int mode : {0, 1}) {
        const double P = Globals::RaoultPressure(x, T, mode);
        EXPECT_TRUE(std::isfinite(P)) << gas << " " << T << " " << mode;
      }
    }
  }
}

TEST_F(PhaseFirstApproach, WilsonCoefficients) {
  Globals::CriticalValues();
  const GasArray Tc = Globals::Tcrit, Pc = Globals::Pcrit, w = Globals::Acentric;
  for (int i = 0; i < Globals::kGases; ++i) {
    // At the critical point of the gas itself K is 1; at its critical
    // temperature K is Pc/P.
    EXPECT_NEAR(Globals::WilsonDistribution(Tc[i], Pc[i])[i], 1.0, 1e-15);
    EXPECT_NEAR(Globals::WilsonDistribution(Tc[i], 2.0)[i], Pc[i] / 2.0, 1e-14 * Pc[i]);
    // K is inversely proportional to P.
    const double K1 = Globals::WilsonDistribution(400, 1.0)[i];
    const double K8 = Globals::WilsonDistribution(400, 8.0)[i];
    EXPECT_NEAR(K1 / K8, 8.0, 1e-13);
    EXPECT_NEAR(K1, Pc[i] * std::exp(5.373 * (1 + w[i]) * (1 - Tc[i] / 400)), 1e-13 * K1);
  }
  for (auto [T, P] : {std::pair{300.0, 0.0}, {0.0, 1.0}, {-5.0, 1.0}, {300.0, -1.0}, {NAN, 1.0}}) {
    for (double K : Globals::WilsonDistribution(T, P)) EXPECT_EQ(K, 1.0);
  }
}

TEST_F(PhaseFirstApproach, SplitPutsTheFeedIntoThePhaseOfBeta) {
  const GasArray z = Mix({{Globals::H2O, 0.5}, {Globals::CO2, 0.3}, {Globals::CH4, 0.2}});
  GasArray K{};
  K.fill(7.0);
  K[Globals::H2O] = 0.05, K[Globals::CO2] = 2.0, K[Globals::CH4] = 9.0;

  const Split liquid = Distribute(z, K, 0.0);
  EXPECT_EQ(liquid.x, z);
  for (int i = 0; i < Globals::kGases; ++i) EXPECT_EQ(liquid.y[i], K[i] * z[i]);
  EXPECT_NEAR(liquid.Sy, 0.5 * 0.05 + 0.3 * 2 + 0.2 * 9, 1e-15);

  const Split vapour = SplitPlain(z, K, 1.0);
  for (int i = 0; i < Globals::kGases; ++i) EXPECT_NEAR(vapour.y[i], z[i], 1e-15);
  const double sx = 0.5 / 0.05 + 0.3 / 2 + 0.2 / 9;
  EXPECT_NEAR(vapour.x[Globals::H2O], (0.5 / 0.05) / sx, 1e-15);

  // beta = 1/2: x_i = 2 z_i / (1 + K_i).
  const Split half = Distribute(z, K, 0.5);
  EXPECT_NEAR(half.x[Globals::CO2], 2 * 0.3 / 3.0, 1e-16);
  EXPECT_NEAR(half.y[Globals::CO2], 2 * 2 * 0.3 / 3.0, 1e-16);
}

TEST_F(PhaseFirstApproach, FixedPointSplitGivesEachFractionItsCountOverTheSum) {
  const GasArray z = Mix({{Globals::N2, 0.7}, {Globals::O2, 0.2}, {Globals::Ar, 0.1}});
  const GasArray K = Globals::WilsonDistribution(110, 1.3);
  const Split s = SplitFixedPoint(z, K, 0.0);
  const Split raw = Distribute(z, K, 0.0);
  long long sumY = 0;
  long long counts[Globals::kGases];
  for (int i = 0; i < Globals::kGases; ++i) {
    counts[i] = std::llround(raw.y[i] * 1e12);
    sumY += counts[i];
  }
  for (int i = 0; i < Globals::kGases; ++i) {
    EXPECT_EQ(s.y[i], static_cast<double>(counts[i]) / static_cast<double>(sumY));
  }
  EXPECT_EQ(s.Sy, static_cast<double>(sumY) / 1e12);
  EXPECT_EQ(s.Sx, 1.0);
}

TEST_F(PhaseFirstApproach, LiquidVapourSplitKeepsAnEmptyPhase) {
  // Before any first approach K is all 0: phase Y sums to 0 and stays 0
  // rather than becoming NaN.
  const GasArray z = Mix({{Globals::H2O, 0.6}, {Globals::CO2, 0.4}});
  const Split s = SplitPresent(z, GasArray{}, 0.5);
  EXPECT_EQ(s.Sy, 0.0);
  for (double y : s.y) EXPECT_EQ(y, 0.0);
  EXPECT_NEAR(s.x[Globals::H2O], 0.6, 1e-15);
  // Components without a positive feed fraction are not split.
  GasArray K{};
  K.fill(3.0);
  GasArray odd = z;
  odd[Globals::N2] = -0.1;
  EXPECT_EQ(SplitPresent(odd, K, 0.5).x[Globals::N2], 0.0);
}

TEST_F(PhaseFirstApproach, HomogenisationFirstApproach) {
  const GasArray z = Mix({{Globals::CO2, 0.6}, {Globals::CH4, 0.4}});
  const HomogenisationStart bubble = HomogenisationFirstApproach(z, true, 200, 0, 0);
  EXPECT_EQ(bubble.guess, Globals::RaoultPressure(z, 200, 0));
  EXPECT_EQ(bubble.K, Globals::WilsonDistribution(200, bubble.P));
  for (int i = 0; i < Globals::kGases; ++i) EXPECT_NEAR(bubble.x[i], z[i], 1e-12);

  const HomogenisationStart dew = HomogenisationFirstApproach(z, true, 200, 0, 1);
  EXPECT_EQ(dew.guess, Globals::RaoultPressure(z, 200, 1));
  for (int i = 0; i < Globals::kGases; ++i) EXPECT_NEAR(dew.y[i], z[i], 1e-12);

  const HomogenisationStart byPressure = HomogenisationFirstApproach(z, false, 0, 3.5, 0);
  EXPECT_EQ(byPressure.T, 298.15);
  EXPECT_EQ(byPressure.guess, 298.15);
  EXPECT_EQ(byPressure.P, 3.5);
  EXPECT_EQ(byPressure.K, Globals::WilsonDistribution(298.15, 3.5));
}

TEST_F(PhaseFirstApproach, LiquidVapourFirstApproach) {
  const GasArray z = Mix({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  const LiquidVapourStart s = LiquidVapourFirstApproach(z, 250);
  EXPECT_EQ(s.P, 0.5 * (Globals::RaoultPressure(z, 250, 0) + Globals::RaoultPressure(z, 250, 1)));
  EXPECT_EQ(s.fraction, 0.5);
  double sx = 0, sy = 0;
  for (int i = 0; i < Globals::kGases; ++i) sx += s.x[i], sy += s.y[i];
  EXPECT_NEAR(sx, 1.0, 1e-15);
  EXPECT_NEAR(sy, 1.0, 1e-15);
  // x_i proportional to 2 z_i / (1 + K_i).
  const double r = (s.x[Globals::CO2] / s.x[Globals::CH4]) /
                   ((0.9 / (1 + s.K[Globals::CO2])) / (0.1 / (1 + s.K[Globals::CH4])));
  EXPECT_NEAR(r, 1.0, 1e-14);
}

}  // namespace
