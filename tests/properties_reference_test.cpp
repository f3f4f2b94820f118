// Values worked out independently of the code: the correlations at their
// reference points, reference states, closed forms and finite differences.
#include <gtest/gtest.h>

#include <cmath>

#include "properties_fixtures.h"

namespace {

using namespace Globals;
using namespace props_test;

TEST(SaturationPressure, AllGasesAt25Celsius) {
  const double expected[kGases] = {0.00316982, 6.43461, 83.1557, 1.99991, 1.00792, 77.0429,
                                   61.1482,    69.4619, 15.356,  39.3339, 4.1889};
  for (int gas = 0; gas < kGases; ++gas) {
    EXPECT_NEAR(SaturationPressure(gas, 298.15), expected[gas], 6e-6 * expected[gas]) << gas;
  }
}

TEST(SaturationPressure, RangeLimitsSpecialRulesAndBadArguments) {
  CriticalValues();
  // At Tcrit tau = 0: forms with exp give Pcrit exactly, N2's linear form up
  // to rounding, CO exp(3.553489621)/10.
  for (int gas : {H2O, CO2, H2S, NH3, O2, CH4, C2H6}) {
    EXPECT_EQ(SaturationPressure(gas, Tcrit[gas]), Pcrit[gas]) << gas;
  }
  EXPECT_NEAR(SaturationPressure(N2, Tcrit[N2]), Pcrit[N2], 1e-14);
  EXPECT_NEAR(SaturationPressure(CO, Tcrit[CO]), std::exp(3.553489621) / 10, 1e-9);
  // The triple point belongs to the vapour-pressure equation; the second form
  // takes over just below and does not meet it.
  EXPECT_NEAR(SaturationPressure(H2O, 273.16), 0.000611657, 1e-9);
  EXPECT_NEAR(SaturationPressure(H2O, std::nextafter(273.16, 0.0)), 0.000761753, 1e-9);
  EXPECT_EQ(SaturationPressure(H2, 13.7), 0.1);  // below Ttrip no rule applies
  EXPECT_NEAR(SaturationPressure(H2, 13.8),
              std::exp(4.9017 - 167.65 / 13.8 + 441.17 / (13.8 * 13.8)), 1e-15);
  // Argon: the line through (Ttrip, 0.1) and (Tcrit, Pcrit), continued both
  // ways; it crosses zero at (Pc Tt - 0.1 Tc)/(Pc - 0.1) = 81.8917 K.
  EXPECT_NEAR(SaturationPressure(Ar, 83.3), 0.1, 1e-14);
  EXPECT_NEAR(SaturationPressure(Ar, 150.87), 4.898, 1e-13);
  EXPECT_GT(SaturationPressure(Ar, 81.90), 0.0);
  EXPECT_LT(SaturationPressure(Ar, 81.88), 0.0);
  // Zero at 0 K; no infinity or NaN reaches a caller.
  for (auto [gas, T] : {std::pair<int, double>{H2O, 0.0}, {NH3, 0.0}, {H2O, -1.0},
                        {CO2, std::nan("")}, {-1, 300.0}, {11, 300.0}}) {
    EXPECT_EQ(SaturationPressure(gas, T), 0.0) << gas << " " << T;
  }
}

TEST(IdealGas, ReferenceStateWaterAt500KAndPresence) {
  // At 298.15 K every integral vanishes exactly.
  EXPECT_EQ(IdealGas(IdealEntropy, Pure(H2O), 298.15), 188.72);
  EXPECT_EQ(IdealGas(IdealEnthalpy, Pure(H2O), 298.15), -241814.0);
  for (int gas : {N2, H2, O2, Ar}) EXPECT_EQ(IdealGas(IdealEnthalpy, Pure(gas), 298.15), 0.0);
  EXPECT_EQ(IdealGas(IdealEnthalpy, kWaterCO2, 298.15), 0.5 * -241814.0 + 0.5 * -393510.0);

  EXPECT_NEAR(IdealGas(IdealHeatCapacity, Pure(H2O), 500), 35.1839, 5e-5);
  EXPECT_NEAR(IdealGas(IdealEntropy, Pure(H2O), 500), 206.4218, 5e-5);
  EXPECT_NEAR(IdealGas(IdealEnthalpy, Pure(H2O), 500), -234889.112, 5e-4);
  for (double T : {50.0, 298.15, 3000.0})
    EXPECT_EQ(IdealGas(IdealHeatCapacity, Pure(Ar), T), 20.79);
  // Argon has a constant Cp: S and H in closed form.
  EXPECT_NEAR(IdealGas(IdealEntropy, Pure(Ar), 600), 154.84 + 20.79 * std::log(600 / 298.15),
              1e-12);
  EXPECT_NEAR(IdealGas(IdealEnthalpy, Pure(Ar), 600), 20.79 * (600 - 298.15), 1e-9);
  GasArray x = Pure(CO2);
  const double S = IdealGas(IdealEntropy, x, 400);
  x[H2O] = 4e-13;  // below the fixed-point resolution
  x[CH4] = -0.2;   // never present
  EXPECT_EQ(IdealGas(IdealEntropy, x, 400), S);
  EXPECT_EQ(IdealGas(IdealEntropy, GasArray{}, 400), 0.0);
  EXPECT_EQ(IdealGas(3, x, 400), 0.0);
  EXPECT_EQ(IdealGas(-1, x, 400), 0.0);
}

// (dadT against the slope of aMixture for every fluid and model: through S =
// -dA/dT in properties_identity_test.)
TEST(dadT, ReferenceValuesOfEachBranch) {
  EXPECT_EQ(dadT(Mix({{N2, 0.5}, {CH4, 0.5}}), 500, Brennick1981), 0.0);
  EXPECT_NEAR(dadT(kWaterCO2, 673.15, Brennick1977), 798.4191704781399, 1e-12 * 798.42);
  // Brennick1981 water: the quartic's slope below 600 degC, the cubic's at
  // 600, a constant from 1200.
  EXPECT_NEAR(
      dadT(Pure(H2O), 599.0 + 273.15, Brennick1981),
      (-31227000 + 174970 * 599.0 - 321.885 * 599.0 * 599.0 + 0.1944444 * 599.0 * 599.0 * 599.0) *
          0.101325,
      1e-6);
  EXPECT_NEAR(dadT(Pure(H2O), 600.0 + 273.15, Brennick1981),
              (-193080 + 372.8 * 600 - 0.213864 * 600 * 600) * 0.101325, 1e-8);
  EXPECT_NEAR(dadT(Pure(H2O), 1200.0 + 273.15, Brennick1981), -5066.25, 1e-9);

  // Ostrem1999 N2 + H2S 1:1 at 400 K: 0.25 d22 + 0.5 d(a_N2,H2S)/dT.
  const GasArray x = Mix({{N2, 0.5}, {H2S, 0.5}});
  aMixture(x, 400, Ostrem1999);
  EXPECT_NEAR(dadT(x, 400, Ostrem1999), -4566.601047931486, 1e-12 * 4566.6);
  EXPECT_EQ(dadT(x, 400, 3), 0.0);
}

TEST(Fugacities, WaterCarbonDioxideAt100MPa) {
  const double T = 673.15, P = 100, V = 52.83153264514273;
  Fugacities(kWaterCO2, T, P, V, Brennick1977);
  EXPECT_NEAR(Coefficient[H2O], 0.35306064131302123, 1e-13 * 0.353);
  EXPECT_NEAR(Coefficient[CO2], 1.3326266286035708, 1e-13 * 1.333);
  EXPECT_NEAR(Fugacity[H2O], 0.5 * 0.35306064131302123 * P, 1e-13 * 17.7);
  EXPECT_NEAR(Entropy(kWaterCO2, T, V, Brennick1977), 172.96582569422742, 1e-13 * 173);
  EXPECT_NEAR(Gibbs(kWaterCO2, T, V, Brennick1977), -427013.53889284754, 1e-13 * 427014);
  // An absent gas has a coefficient, but no fugacity.
  EXPECT_EQ(Fugacity[CH4], 0.0);
  EXPECT_GT(Coefficient[CH4], 0.0);
  EXPECT_NE(Coefficient[CH4], 1.0);
}

TEST(Entropy, MixingTermsOfAnEquimolarPair) {
  // At V = 10 R T a pure gas has partial pressure 0.1 MPa and no mixing term;
  // an equimolar pair at the same V adds R ln 2 to S and -R T ln 2 to A, up
  // to the small change of the departure with composition.
  const double T = 500, V = 10 * 8.314472 * T;
  const GasArray x = Mix({{Ar, 0.5}, {O2, 0.5}});
  auto unmixed = [&](auto f) {
    return 0.5 * f(Pure(Ar), T, V, Brennick1977) + 0.5 * f(Pure(O2), T, V, Brennick1977);
  };
  EXPECT_NEAR(Entropy(x, T, V, Brennick1977) - unmixed(Entropy), 8.314472 * std::log(2.0), 1e-4);
  EXPECT_NEAR(Helmholtz(x, T, V, Brennick1977) - unmixed(Helmholtz), -8.314472 * T * std::log(2.0),
              0.05);
  EXPECT_NEAR(Entropy(Pure(Ar), T, V, Brennick1977), IdealGas(IdealEntropy, Pure(Ar), T), 0.01);
}

}  // namespace
