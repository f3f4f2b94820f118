// Invalid states give the program's failure values, never a NaN or an
// infinity; one regression test for each fault mended against the original
// formulas.
#include <gtest/gtest.h>

#include <cmath>

#include "properties_fixtures.h"

namespace {

using namespace Globals;
using namespace props_test;

TEST(Fugacities, InvalidStateGivesUnitCoefficientsAndAnUnusableOneNone) {
  // Invalid states have no fugacity. A negative P passes the test, but ln Z
  // is undefined; one ulp above b, b_i/(V - b) is near 1e16 and phi far
  // beyond the double range: no coefficient (NaN), where 1.0 and f = x P
  // would pass for an ideal gas.
  const double bm = bMixture(kWaterCO2), nan = std::nan("");
  for (auto [T, P, V, fallback] :
       {std::tuple{500.0, 0.0, 100.0, true}, {0.0, 10.0, 100.0, true}, {-5.0, 10.0, 100.0, true},
        {500.0, 10.0, bm, true}, {500.0, nan, 100.0, true}, {500.0, 10.0, nan, true},
        {500.0, -2.0, 100.0, false}, {500.0, 10.0, std::nextafter(bm, 1e9), false}}) {
    Coefficient.fill(7.0);
    Fugacity.fill(7.0);
    b.fill(0.0);
    Fugacities(kWaterCO2, T, P, V, Brennick1977);
    for (int i = 0; i < kGases; ++i) {
      EXPECT_TRUE(fallback ? Coefficient[i] == 1.0 && Fugacity[i] == 0.0
                           : std::isnan(Coefficient[i]) && std::isnan(Fugacity[i]))
          << T << " " << P << " " << V << ": " << Coefficient[i] << " " << Fugacity[i];
    }
    EXPECT_EQ(b[H2O], 14.6);  // the tables are refreshed all the same
  }
}

TEST(EnergyFunctions, InvalidStatesGiveZero) {
  const double bm = bMixture(kWaterCO2);
  for (auto [T, V] : {std::pair{500.0, bm}, std::pair{500.0, bm / 2}, std::pair{0.0, 100.0},
                      std::pair{-1.0, 100.0}, std::pair{500.0, std::nan("")}}) {
    for (auto f : {Entropy, Helmholtz, Enthalpy, Gibbs}) {
      EXPECT_EQ(f(kWaterCO2, T, V, Brennick1977), 0.0) << T << " " << V;
    }
    EXPECT_EQ(ChemicalPotential(H2O, kWaterCO2, T, V, Brennick1977), 0.0);
  }
  // "Clear" in the composition window: b = 0 would divide the departures by 0.
  for (std::int32_t model : props_test::kModels) {
    for (auto f : {Entropy, Helmholtz, Enthalpy, Energy, Gibbs}) {
      EXPECT_EQ(f(GasArray{}, 500, 100, model), 0.0) << model;
    }
  }
  EXPECT_EQ(ChemicalPotential(11, kWaterCO2, 500, 100, Brennick1977), 0.0);
  EXPECT_EQ(ChemicalPotential(-1, kWaterCO2, 500, 100, Brennick1977), 0.0);
  // U has no singularity at b: finite at and below it, 0.0 only for V <= 0
  // or T <= 0, where nothing is evaluated.
  EXPECT_TRUE(std::isfinite(Energy(kWaterCO2, 500, bm, Brennick1977)));
  EXPECT_TRUE(std::isfinite(Energy(kWaterCO2, 500, bm / 2, Brennick1977)));
  b.fill(-1.0);
  EXPECT_EQ(Energy(kWaterCO2, 500, 0.0, Brennick1977), 0.0);
  EXPECT_EQ(Energy(kWaterCO2, 0.0, 100, Brennick1977), 0.0);
  EXPECT_EQ(b[H2O], -1.0);
}

TEST(Excess, FailuresKindsAndPhaseChoice) {
  // At P = 0 or T = 0 no pure component has a volume: each property would be
  // its function's failure value, and the excess Fmix itself. With nothing
  // present the excess would be Fmix, and a negative fraction has no
  // logarithm. None of these is a value; 0 would be one.
  GasArray negative = kWaterCO2;
  negative[H2O] = 1.5, negative[CO2] = -0.5;
  for (std::int32_t kind = ExcessVolume; kind <= ExcessGibbs; ++kind) {
    EXPECT_EQ(Excess(kind, kWaterCO2, 500, 0.0, 1234.5, Brennick1977), std::nullopt) << kind;
    EXPECT_EQ(Excess(kind, kWaterCO2, 0.0, 10, 1234.5, Brennick1977), std::nullopt) << kind;
    EXPECT_EQ(Excess(kind, GasArray{}, 500, 10, 1234.5, Brennick1977), std::nullopt) << kind;
  }
  EXPECT_EQ(Excess(ExcessEntropy, negative, 500, 10, 100, Brennick1977), std::nullopt);
  EXPECT_EQ(Excess(6, kWaterCO2, 500, 10, 1234.5, Brennick1977), 1234.5);
  EXPECT_EQ(Excess(-1, kWaterCO2, 500, 0.0, 1234.5, Brennick1977), 1234.5);
  // At -1039.4 MPa and 228.2 K (Brennick 1981) pure H2S, below its
  // saturation pressure, takes its largest root 27.2303521962766, under its
  // co-volume 30.0991: its energy functions have only their failure value.
  // The excess volume keeps the root (50-digit roots of both pure cubics).
  GasArray sour{};
  sour[H2S] = 0.71, sour[H2O] = 0.29;
  for (std::int32_t kind = ExcessEnergy; kind <= ExcessGibbs; ++kind) {
    EXPECT_EQ(Excess(kind, sour, 228.2, -1039.4, -100.0, Brennick1981), std::nullopt) << kind;
  }
  EXPECT_NEAR(Excess(ExcessVolume, sour, 228.2, -1039.4, 26.7763, Brennick1981).value(), -46.342463828622688,
              1e-12);
  const auto once = Excess(ExcessEntropy, kWaterCO2, 500, 10, 100, Ostrem1999);
  EXPECT_EQ(Excess(ExcessEntropy, kWaterCO2, 500, 10, 100, Ostrem1999), once);

  // CO2 at 280 K: at its saturation pressure it is the liquid, just below it
  // the vapour; the excess volume drops by x_CO2 (V_vapour - V_liquid).
  const double T = 280, Psat = SaturationPressure(CO2, T);
  const double Pbelow = std::nextafter(Psat, 0.0);
  CubicRoots r = Volume(Pure(CO2), T, Psat, Brennick1977);
  const double gap = VolumeChoice(r, LargestRoot) - VolumeChoice(r, SmallestRoot);
  ASSERT_GT(gap, 100.0);
  const double at = Excess(ExcessVolume, kWaterCO2, T, Psat, 0.0, Brennick1977).value();
  const double below = Excess(ExcessVolume, kWaterCO2, T, Pbelow, 0.0, Brennick1977).value();
  EXPECT_NEAR(at - below, 0.5 * gap, 1e-6 * gap);
}

TEST(Ostrem1999, AbsentGasesCannotUndoThePresentOnes) {
  // From about 1197 K to 2136 K a_N2(T) is negative: every pair and pair
  // slope with N2 is undefined. Pure water's coefficient must still be the
  // textbook pure-fluid one, ln phi = Z - 1 - ln(Z - B) - (A/B) ln(1 + B/Z),
  // A = aP/(R^2 T^2.5), B = bP/(RT).
  const double T = 1500, P = 30, R = 8.314472;
  CubicRoots r = Volume(Pure(H2O), T, P, Ostrem1999);
  const double V = VolumeChoice(r, LargestRoot);
  const double am = aMixture(Pure(H2O), T, Ostrem1999), bm = bMixture(Pure(H2O));
  const double Z = P * V / (R * T), A = am * P / (R * R * std::pow(T, 2.5)), B = bm * P / (R * T);
  const double expected = Z - 1 - std::log(Z - B) - (A / B) * std::log(1 + B / Z);
  Fugacities(Pure(H2O), T, P, V, Ostrem1999);
  EXPECT_NEAR(std::log(Coefficient[H2O]), expected, 1e-12);
  EXPECT_NE(Coefficient[H2O], 1.0);
  // Nor may a mixture without N2 see the slopes.
  const GasArray x = Mix({{CH4, 0.6}, {H2S, 0.4}});
  const double fd = Derivative([&](double t) { return aMixture(x, t, Ostrem1999); }, T, 0.01);
  aMixture(x, T, Ostrem1999);
  EXPECT_NEAR(dadT(x, T, Ostrem1999), fd, 1e-8 * std::fabs(fd));
  const double dAdT =
      Derivative([&](double t) { return Helmholtz(x, t, 300, Ostrem1999); }, T, 0.01);
  EXPECT_NEAR(Entropy(x, T, 300, Ostrem1999), -dAdT, 1e-6);
}

}  // namespace
