// The equation of state solved for P, T and V, and the density.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/globals.h"
#include "mixtures.h"

namespace {

using test_mixtures::Pure;
using test_mixtures::Mix;

using namespace Globals;

const GasArray kWaterCO2 = Mix({{H2O, 0.5}, {CO2, 0.5}});

// A spread of fluids: pure polar and light gases and a few mixtures.
std::vector<GasArray> Fluids() {
  return {Pure(H2O), Pure(CO2), Pure(H2), Pure(CH4), Pure(C2H6), kWaterCO2,
          Mix({{H2O, 0.7}, {N2, 0.2}, {CH4, 0.1}}),
          Mix({{CO2, 0.3}, {H2S, 0.2}, {NH3, 0.1}, {O2, 0.1}, {CO, 0.1}, {Ar, 0.1}, {C2H6, 0.1}})};
}

TEST(Volume, PressureAtEveryRealRootGivesBackP) {
  for (const GasArray& x : Fluids()) {
    for (int model : {Brennick1977, Brennick1981, Ostrem1999}) {
      for (double T : {280.0, 450.0, 673.15, 1000.0}) {
        for (double P : {0.1, 5.0, 30.0, 200.0}) {
          const CubicRoots r = Volume(x, T, P, model);
          const double bm = bMixture(x);
          const double scale = std::max({std::fabs(r[0][0]), std::fabs(r[0][1]), std::fabs(r[0][2])});
          for (int j = 0; j < 3; ++j) {
            const double V = r[0][j];
            if (r[1][j] != 0.0 || !(V > bm)) continue;
            // Judge the root by its volume error: near b the pressure is so
            // steep that a last-digit error in V is a large one in P.
            const double h = 1e-7 * (V - bm);
            const double slope = (Pressure(x, T, V + h, model) - Pressure(x, T, V - h, model)) / (2 * h);
            const double dV = (Pressure(x, T, V, model) - P) / slope;
            EXPECT_LE(std::fabs(dV), 1e-13 * scale)
                << "model " << model << " T " << T << " P " << P << " root " << V;
          }
        }
      }
    }
  }
}

TEST(Volume, ReferenceRootsAndIdealGasLimit) {
  // Liquid, unstable and vapour roots of water at 25 degC and 1 bar.
  const CubicRoots w = Volume(Pure(H2O), 298.15, 0.1, Brennick1977);
  EXPECT_EQ(w[0][0], 358.6520396480837);
  EXPECT_EQ(w[0][1], 15.858874853864108);
  EXPECT_EQ(w[0][2], 24415.087353498056);
  for (double im : w[1]) EXPECT_EQ(im, 0.0);
  // Supercritical H2O-CO2: one real root.
  const CubicRoots m = Volume(kWaterCO2, 673.15, 100, Brennick1977);
  EXPECT_EQ(m[0][0], 52.83153264514273);
  EXPECT_EQ(m[1][0], 0.0);
  EXPECT_NE(m[1][1], 0.0);
  EXPECT_EQ(m[1][1], -m[1][2]);
  // The ideal-gas limit at low pressure.
  for (const GasArray& x : Fluids()) {
    CubicRoots r = Volume(x, 600, 1e-6, Brennick1977);
    EXPECT_NEAR(1e-6 * VolumeChoice(r, LargestRoot) / (8.314472 * 600), 1.0, 1e-6);
  }
}

TEST(Volume, RegressionRoots) {
  // Pure C2H6 at 500 K, 29.764 MPa: the depressed cubic's z is far below -100,
  // where z + sqrt(z*z + 1) loses every digit.
  const CubicRoots e = Volume(Pure(C2H6), 500, 29.764, Brennick1977);
  EXPECT_NEAR(e[0][0], 129.4415, 1e-4);
  EXPECT_NEAR(Pressure(Pure(C2H6), 500, e[0][0], Brennick1977), 29.764, 1e-9);
  const CubicRoots m = Volume(kWaterCO2, 673.15, 60.4076, Brennick1977);
  EXPECT_NEAR(Pressure(kWaterCO2, 673.15, m[0][0], Brennick1977), 60.4076, 1e-8);
  // Pure H2 at 300 K and 10 MPa: the cubic's roots are -5.774, -9.894, 265.10;
  // the smallest root is never a negative volume.
  CubicRoots r = Volume(Pure(H2), 300, 10, Brennick1977);
  EXPECT_LT(r[0][0], 0.0);
  EXPECT_LT(r[0][1], 0.0);
  EXPECT_NEAR(VolumeChoice(r, SmallestRoot), 265.10221528409727, 1e-9);
}

TEST(Temperature, InvertsPressureAlsoWhereTheSecantSearchRunsAway) {
  for (const GasArray& x : Fluids()) {
    for (int model : {Brennick1977, Brennick1981, Ostrem1999}) {
      const double bm = bMixture(x);
      for (double T : {320.0, 500.0, 900.0}) {
        for (double V : {3 * bm, 10 * bm, 1000.0}) {
          const double P = Pressure(x, T, V, model);
          if (!(P > 0)) continue;
          const double found = Temperature(x, P, V, model);
          EXPECT_NEAR(Pressure(x, found, V, model), P, 1e-9 * P)
              << "model " << model << " T " << T << " V " << V;
          EXPECT_NEAR(found, T, 1e-7 * T) << "model " << model << " V " << V;
        }
      }
    }
  }
  // The plain secant search ends near 4e-39 K here.
  const double T = Temperature(kWaterCO2, 10, 50, Brennick1977);
  EXPECT_NEAR(T, 418.9258813647845, 1e-11);
  EXPECT_NEAR(Pressure(kWaterCO2, T, 50, Brennick1977), 10, 1e-9);
}

TEST(EquationOfState, NoSolutionIsZeroAnExactStartIsKept) {
  aMixture(Pure(CO2), 300, Brennick1977);
  const auto before = a;
  const double bm = bMixture(kWaterCO2);
  // Pressure at or below the co-volume is 0 too, without touching a.
  for (double V : {bm, bm / 2, 0.0, -10.0, std::nan("")}) {
    EXPECT_EQ(Pressure(kWaterCO2, 500, V, Brennick1977), 0.0) << V;
  }
  EXPECT_EQ(Temperature(kWaterCO2, 10, bm, Brennick1977), 0.0);
  EXPECT_EQ(Temperature(kWaterCO2, 10, 10, Brennick1977), 0.0);
  EXPECT_EQ(a, before);  // nothing was evaluated
  EXPECT_EQ(Temperature(kWaterCO2, 0, 0, Brennick1977), 0.0);
  EXPECT_EQ(Temperature(kWaterCO2, std::nan(""), 100, Brennick1977), 0.0);
  EXPECT_EQ(Temperature(kWaterCO2, 10, INFINITY, Brennick1977), 0.0);
  // Without attraction P = RT/(V - b) > 0: no temperature gives P < 0; and
  // P = RT/V exactly, so the first start value PV/R solves the equation.
  EXPECT_EQ(Temperature(GasArray{}, -1, 100, Brennick1977), 0.0);
  EXPECT_EQ(Temperature(GasArray{}, 8.314472, 100, Brennick1977), 100.0);
  // Volume at P = 0: zeros, but a and b are refreshed all the same.
  a[H2O][H2O] = -1;
  b[H2O] = -1;
  const CubicRoots r = Volume(Pure(H2O), 500, 0.0, Brennick1977);
  EXPECT_EQ(r, CubicRoots{});
  EXPECT_GT(a[H2O][H2O], 0.0);
  EXPECT_EQ(b[H2O], 14.6);
}

TEST(Density, MassOverVolumeAndNoInfinity) {
  EXPECT_EQ(Density(Pure(CO2), 44.0098), 1.0);
  const GasArray x = Mix({{H2O, 0.25}, {H2, 0.75}});
  EXPECT_NEAR(Density(x, 100), (0.25 * 18.01528 + 0.75 * 2.01588) / 100, 1e-15);
  EXPECT_NEAR(Density(Mix({{H2O, 2.0}}), 18.01528), 2.0, 1e-15);  // fractions as passed
  EXPECT_EQ(Density(Pure(CO2), 0.0), 0.0);
  EXPECT_EQ(Density(GasArray{}, 0.0), 0.0);
}

}  // namespace
