// The closed-form cubic solver and the choice among its roots.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "core/globals.h"

namespace {

using namespace Globals;

// Residual of V^3 + c2 V^2 + c1 V + c0 at a (complex) root.
double Residual(const CubicRoots& r, int j, double c2, double c1, double c0) {
  const std::complex<double> v(r[0][j], r[1][j]);
  return std::abs(((v + c2) * v + c1) * v + c0);
}

TEST(Cubic, ThreeRealRootsAreMiddleSmallestLargest) {
  // (V - 1)(V - 2)(V - 4)
  CubicRoots r = CubicEquation(-7, 14, -8);
  EXPECT_NEAR(r[0][0], 2, 1e-14);
  EXPECT_NEAR(r[0][1], 1, 1e-14);
  EXPECT_NEAR(r[0][2], 4, 1e-14);
  for (double im : r[1]) EXPECT_EQ(im, 0.0);
  CubicRoots c = r;
  EXPECT_NEAR(VolumeChoice(c, LargestRoot), 4, 1e-14);
  c = r;
  EXPECT_NEAR(VolumeChoice(c, MiddleRoot), 2, 1e-14);
  c = r;
  EXPECT_NEAR(VolumeChoice(c, SmallestRoot), 1, 1e-14);
  c = r;
  EXPECT_EQ(VolumeChoice(c, 7), r[0][2]);  // any other mode: the last real root
}

TEST(Cubic, OneRealRootHyperbolicForms) {
  // V^3 - 3V - 4 (p = -3, q = -4, z = 2): one real root in (2, 3).
  CubicRoots r = CubicEquation(0, -3, -4);
  EXPECT_GT(r[0][0], 2);
  EXPECT_LT(r[0][0], 3);
  EXPECT_EQ(r[1][0], 0.0);
  EXPECT_NEAR(r[0][1], -r[0][0] / 2, 1e-14);
  EXPECT_EQ(r[0][2], r[0][1]);
  EXPECT_GT(r[1][2], 0.0);
  EXPECT_EQ(r[1][1], -r[1][2]);
  for (int j = 0; j < 3; ++j) EXPECT_LT(Residual(r, j, 0, -3, -4), 1e-13);
  // V^3 - 3V + 4 (z = -2): everything changes sign.
  CubicRoots s = CubicEquation(0, -3, 4);
  EXPECT_NEAR(s[0][0], -r[0][0], 1e-14);
  EXPECT_LT(s[1][2], 0.0);
  for (int j = 0; j < 3; ++j) EXPECT_LT(Residual(s, j, 0, -3, 4), 1e-13);
  // V^3 + V - 2 (p > 0): 1 and -1/2 -/+ i sqrt(7)/2.
  CubicRoots t = CubicEquation(0, 1, -2);
  EXPECT_NEAR(t[0][0], 1, 1e-15);
  EXPECT_EQ(t[1][0], 0.0);
  EXPECT_NEAR(t[0][1], -0.5, 1e-15);
  EXPECT_NEAR(t[1][1], -std::sqrt(7.0) / 2, 1e-15);
  EXPECT_NEAR(t[0][2], -0.5, 1e-15);
  EXPECT_NEAR(t[1][2], std::sqrt(7.0) / 2, 1e-15);
}

TEST(Cubic, RootsOfShiftedPolynomialsSatisfyTheCubic) {
  // Roots from coefficients of known factorisations, across scales typical of
  // molar volumes.
  const double sets[][3] = {{15.9, 358.7, 24415.1}, {-9.9, -5.8, 265.1}, {0.001, 0.002, 1000}};
  for (const auto& v : sets) {
    const double c2 = -(v[0] + v[1] + v[2]);
    const double c1 = v[0] * v[1] + v[0] * v[2] + v[1] * v[2];
    const double c0 = -(v[0] * v[1] * v[2]);
    CubicRoots r = CubicEquation(c2, c1, c0);
    EXPECT_NEAR(r[0][1], v[0], 1e-9 * v[2]);
    EXPECT_NEAR(r[0][0], v[1], 1e-9 * v[2]);
    EXPECT_NEAR(r[0][2], v[2], 1e-9 * v[2]);
  }
}

TEST(Cubic, VanishingQHasRootsAtTheShiftAndPlusMinusSqrtMinusP) {
  // (V - 1)(V - 2)(V - 3): q = 0.
  CubicRoots r = CubicEquation(-6, 11, -6);
  EXPECT_EQ(r[0][0], 2.0);
  EXPECT_EQ(r[0][1], 1.0);
  EXPECT_EQ(r[0][2], 3.0);
  for (double im : r[1]) EXPECT_EQ(im, 0.0);
  CubicRoots c = r;
  EXPECT_EQ(VolumeChoice(c, SmallestRoot), 1.0);
  // V^3 + 4V: 0 and -/+ 2i.
  CubicRoots s = CubicEquation(0, 4, 0);
  EXPECT_EQ(s[0], (std::array<double, 3>{0.0, 0.0, 0.0}));
  EXPECT_EQ(s[1], (std::array<double, 3>{0.0, -2.0, 2.0}));
  // (V - 5)^3: a triple root.
  CubicRoots t = CubicEquation(-15, 75, -125);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(t[0][j], 5.0);
    EXPECT_EQ(t[1][j], 0.0);
  }
}

TEST(Cubic, VanishingPHasTheCubeRootAndItsComplexPair) {
  // V^3 - 1: 1 and -1/2 -/+ i sqrt(3)/2.
  CubicRoots r = CubicEquation(0, 0, -1);
  EXPECT_EQ(r[0][0], 1.0);
  EXPECT_EQ(r[1][0], 0.0);
  EXPECT_EQ(r[0][1], -0.5);
  EXPECT_EQ(r[0][2], -0.5);
  EXPECT_NEAR(r[1][1], -std::sqrt(3.0) / 2, 1e-15);
  EXPECT_NEAR(r[1][2], std::sqrt(3.0) / 2, 1e-15);
  CubicRoots c = r;
  EXPECT_EQ(VolumeChoice(c, LargestRoot), 1.0);
  // (V - 2)^3 + 8 = V^3 - 6V^2 + 12V: p = 0, q = 8, real root 0.
  CubicRoots s = CubicEquation(-6, 12, 0);
  EXPECT_EQ(s[0][0], 0.0);
  for (int j = 0; j < 3; ++j) EXPECT_LT(Residual(s, j, -6, 12, 0), 1e-13);
}

TEST(Cubic, ExtremeCoefficientsStayFinite) {
  // Nearly p = 0 with a large q: |z| beyond 1e154, where z*z overflows.
  CubicRoots r = CubicEquation(0, 1e-110, -8);
  EXPECT_NEAR(r[0][0], 2, 1e-13);
  CubicRoots s = CubicEquation(0, 1e-110, 8);
  EXPECT_NEAR(s[0][0], -2, 1e-13);
  CubicRoots u = CubicEquation(0, -1e-110, 8);
  EXPECT_NEAR(u[0][0], -2, 1e-13);
}

TEST(VolumeChoice, OneRealRootWhateverTheMode) {
  const CubicRoots r = CubicEquation(0, 1, -2);
  for (int mode : {0, 1, 2, 5}) {
    CubicRoots c = r;
    EXPECT_NEAR(VolumeChoice(c, mode), 1, 1e-15);
    EXPECT_EQ(c[0][1], 0.0);  // complex roots' real parts are cleared
    EXPECT_EQ(c[0][2], 0.0);
    EXPECT_EQ(c[1][1], r[1][1]);
  }
  CubicRoots none{};
  none[1] = {1.0, -1.0, 2.0};
  none[0] = {3.0, 4.0, 5.0};
  EXPECT_EQ(VolumeChoice(none, LargestRoot), 0.0);
  EXPECT_EQ(none[0], (std::array<double, 3>{0.0, 0.0, 0.0}));
}

TEST(VolumeChoice, TiesAndDegenerateRoots) {
  // Two equal largest roots: mode 0 takes the higher column.
  CubicRoots r{};
  r[0] = {4.0, 1.0, 4.0};
  CubicRoots c = r;
  EXPECT_EQ(VolumeChoice(c, LargestRoot), 4.0);
  // Middle and largest coincide: mode 2 still returns the smallest.
  r[0] = {4.0, 1.0, 4.0};
  c = r;
  EXPECT_EQ(VolumeChoice(c, SmallestRoot), 1.0);
  // Six zeros read as three real roots at 0.
  CubicRoots zeros{};
  for (int mode : {0, 1, 2}) {
    c = zeros;
    EXPECT_EQ(VolumeChoice(c, mode), 0.0);
  }
}

TEST(VolumeChoice, PositiveRootBeatsSpuriousNegativeOnes) {
  CubicRoots r{};
  r[0] = {-5.774, -9.894, 265.10};
  CubicRoots c = r;
  EXPECT_EQ(VolumeChoice(c, SmallestRoot), 265.10);
  c = r;
  EXPECT_EQ(VolumeChoice(c, MiddleRoot), 265.10);
  c = r;
  EXPECT_EQ(VolumeChoice(c, LargestRoot), 265.10);
  // With two positive roots the smaller positive one is the liquid.
  r[0] = {-3.0, 20.0, 300.0};
  c = r;
  EXPECT_EQ(VolumeChoice(c, SmallestRoot), 20.0);
  // All roots negative: nothing positive to prefer.
  r[0] = {-3.0, -2.0, -1.0};
  c = r;
  EXPECT_EQ(VolumeChoice(c, SmallestRoot), -3.0);
}

}  // namespace
