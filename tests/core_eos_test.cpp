// The equation of state solved for P, T and V, and the density.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/globals.h"
#include "mixtures.h"

namespace {

using namespace test_mixtures;

using namespace Globals;

// A spread of fluids: pure polar and light gases and a few mixtures.
std::vector<GasArray> Fluids() {
  return {Pure(H2O), Pure(CO2), Pure(H2), Pure(CH4), Pure(C2H6), kWaterCO2,
          Mix({{H2O, 0.7}, {N2, 0.2}, {CH4, 0.1}}),
          Mix({{CO2, 0.3}, {H2S, 0.2}, {NH3, 0.1}, {O2, 0.1}, {CO, 0.1}, {Ar, 0.1}, {C2H6, 0.1}})};
}

// How far V is from the nearest root of V^3 + c2 V^2 + c1 V + c0, relative to
// V: one Newton correction worked out in quadruple precision from the same
// double coefficients, so that it sees the error of the root alone.
double RootError(double V, double c2, double c1, double c0) {
  using Q = __float128;
  const Q v = V;
  const Q f = ((v + Q(c2)) * v + Q(c1)) * v + Q(c0);
  const Q d = (3 * v + 2 * Q(c2)) * v + Q(c1);
  return std::fabs(static_cast<double>(f / d)) / std::fabs(V);
}

TEST(Volume, EveryRealRootIsExactToTheLastBits) {
  // Every gas, random mixtures and the three models, from 50 K to 2000 K and
  // from a near vacuum, where the vapour root is a million times the liquid
  // one, to 1000 MPa.
  std::vector<GasArray> fluids = Fluids();
  for (int g = 0; g < kGases; ++g) fluids.push_back(Pure(g));
  std::uint32_t seed = 12345;
  auto uniform = [&seed] { return (seed = seed * 1664525u + 1013904223u) / 4294967296.0; };
  for (int k = 0; k < 24; ++k) {
    GasArray x{};
    double sum = 0;
    for (double& f : x) sum += f = uniform() < 0.5 ? 0.0 : uniform();
    if (sum == 0) continue;
    for (double& f : x) f /= sum;
    fluids.push_back(x);
  }
  int roots = 0;
  for (const GasArray& x : fluids) {
    const double bm = bMixture(x);
    for (int model : {Brennick1977, Brennick1981, Ostrem1999}) {
      for (double T = 50; T <= 2000; T *= 1.4) {
        for (double P = 1e-10; P <= 1000; P *= 7.3) {
          // The coefficients as the volume solver forms them.
          const double am = aMixture(x, T, model);
          const double c2 = (-8.314472 * T) / P;
          const double c1 = ((-bm) * bm - ((8.314472 * T) * bm) / P) + am / (P * std::sqrt(T));
          const double c0 = ((-am) * bm) / (P * std::sqrt(T));
          if (!std::isfinite(c1)) continue;  // a outside its model's range
          const CubicRoots r = CubicEquation(c2, c1, c0);
          for (int j = 0; j < 3; ++j) {
            if (r[1][j] != 0.0) continue;
            ++roots;
            EXPECT_LE(RootError(r[0][j], c2, c1, c0), 1e-13)
                << "model " << model << " T " << T << " P " << P << " root " << r[0][j];
          }
        }
      }
    }
  }
  EXPECT_GT(roots, 30000);
}

TEST(Volume, ReferenceRootsAndIdealGasLimit) {
  // Liquid, unstable and vapour roots of water at 25 degC and 1 bar, and the
  // one real root of supercritical H2O-CO2; the true roots of the same double
  // coefficients, worked out to 50 digits.
  const CubicRoots w = Volume(Pure(H2O), 298.15, 0.1, Brennick1977);
  EXPECT_NEAR(w[0][0], 358.65203964806002, 1e-15 * 358.7);
  EXPECT_NEAR(w[0][1], 15.858874853882787, 1e-15 * 15.86);
  EXPECT_NEAR(w[0][2], 24415.087353498055, 1e-15 * 24415);
  for (double im : w[1]) EXPECT_EQ(im, 0.0);
  const CubicRoots m = Volume(kWaterCO2, 673.15, 100, Brennick1977);
  EXPECT_NEAR(m[0][0], 52.831532645142743, 1e-15 * 52.83);
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

TEST(Volume, SmallRootsAndTheirCountAtLowPressure) {
  // Where the vapour root is 1e5 to 1e12 times the liquid one, the closed form
  // keeps none of the small roots' digits. Expected: the true roots of the
  // same double coefficients, worked out to 40 digits.
  auto rel = [](double got, double want) { return std::fabs(got / want - 1); };
  const GasArray water = Pure(H2O);
  EXPECT_LT(rel(Volume(water, 280, 1e-6, Brennick1977)[0][1], 15.705807844849088), 1e-15);
  EXPECT_LT(rel(Volume(water, 280, 1e-8, Brennick1977)[0][1], 15.705807845431326), 1e-15);
  EXPECT_LT(rel(Volume(water, 280, 1e-3, Brennick1977)[0][0], 400.19961261054020), 1e-15);
  const GasArray ternary = Mix({{H2O, 0.3}, {CO2, 0.3}, {N2, 0.4}});
  EXPECT_LT(rel(Volume(ternary, 400, 0.01, Brennick1981)[0][1], 30.761259473028209), 1e-15);

  // Below 1e-8 MPa p and q no longer tell the count: water at 300 K has a
  // liquid, a middle and a vapour root (the closed form sees one real root)...
  const CubicRoots three = Volume(water, 300, 1e-10, Brennick1977);
  EXPECT_EQ(three[1], (std::array<double, 3>{0.0, 0.0, 0.0}));
  EXPECT_LT(rel(three[0][1], 15.875355005741240693), 1e-15);
  EXPECT_LT(rel(three[0][0], 348.8755531497722103), 1e-15);
  EXPECT_LT(rel(three[0][2], 24943415999635.249092), 1e-15);
  // ...and at 1000 K one real root and a complex pair (it sees three real
  // roots, two of them near +/-2.4e5).
  const CubicRoots one = Volume(water, 1000, 1e-10, Brennick1977);
  EXPECT_LT(rel(one[0][0], 83144719999977.002119), 1e-15);
  EXPECT_EQ(one[1][0], 0.0);
  for (int j : {1, 2}) EXPECT_LT(rel(one[0][j], 11.498940733584376876), 1e-13);
  EXPECT_LT(rel(one[1][1], -20.413315052346851606), 1e-13);
  EXPECT_LT(rel(one[1][2], 20.413315052346851606), 1e-13);
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
