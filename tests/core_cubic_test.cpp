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

// VolumeChoice on a copy, since it clears the roots it passes over.
double Choose(CubicRoots r, std::int32_t mode) { return VolumeChoice(r, mode); }

CubicRoots Real(double v0, double v1, double v2) {
  CubicRoots r{};
  r[0] = {v0, v1, v2};
  return r;
}

TEST(Cubic, ThreeRealRootsAreMiddleSmallestLargest) {
  // Roots from coefficients of known factorisations, across scales typical of
  // molar volumes; (V - 1)(V - 2)(V - 4) first.
  const double sets[][3] = {{1, 2, 4}, {15.9, 358.7, 24415.1}, {-9.9, -5.8, 265.1},
                            {0.001, 0.002, 1000}};
  for (const auto& v : sets) {
    const double c1 = v[0] * v[1] + v[0] * v[2] + v[1] * v[2];
    const CubicRoots r = CubicEquation(-(v[0] + v[1] + v[2]), c1, -(v[0] * v[1] * v[2]));
    EXPECT_NEAR(r[0][1], v[0], 1e-9 * v[2]);
    EXPECT_NEAR(r[0][0], v[1], 1e-9 * v[2]);
    EXPECT_NEAR(r[0][2], v[2], 1e-9 * v[2]);
    for (double im : r[1]) EXPECT_EQ(im, 0.0);
  }
  const CubicRoots r = CubicEquation(-7, 14, -8);
  EXPECT_NEAR(Choose(r, LargestRoot), 4, 1e-14);
  EXPECT_NEAR(Choose(r, MiddleRoot), 2, 1e-14);
  EXPECT_NEAR(Choose(r, SmallestRoot), 1, 1e-14);
  EXPECT_EQ(Choose(r, 7), r[0][2]);  // any other mode: the last real root
}

TEST(Cubic, OneRealRootHyperbolicFormsFiniteAtExtremes) {
  // V^3 - 3V -/+ 4 (p = -3, z = +/-2): one real root, or its negative.
  const CubicRoots r = CubicEquation(0, -3, -4), s = CubicEquation(0, -3, 4);
  EXPECT_EQ(r[1][0], 0.0);
  EXPECT_NEAR(r[0][1], -r[0][0] / 2, 1e-14);
  EXPECT_EQ(r[0][2], r[0][1]);
  EXPECT_GT(r[1][2], 0.0);
  EXPECT_EQ(r[1][1], -r[1][2]);
  EXPECT_NEAR(s[0][0], -r[0][0], 1e-14);
  EXPECT_LT(s[1][2], 0.0);
  for (int j = 0; j < 3; ++j) {
    EXPECT_LT(Residual(r, j, 0, -3, -4), 1e-13);
    EXPECT_LT(Residual(s, j, 0, -3, 4), 1e-13);
  }
  // V^3 + V - 2 (p > 0): 1 and -1/2 -/+ i sqrt(7)/2.
  const CubicRoots t = CubicEquation(0, 1, -2);
  EXPECT_NEAR(t[0][0], 1, 1e-15);
  EXPECT_EQ(t[1][0], 0.0);
  EXPECT_NEAR(t[0][1], -0.5, 1e-15);
  EXPECT_NEAR(t[0][2], -0.5, 1e-15);
  EXPECT_NEAR(t[1][1], -std::sqrt(7.0) / 2, 1e-15);
  EXPECT_NEAR(t[1][2], std::sqrt(7.0) / 2, 1e-15);
  // Nearly p = 0 with a large q: |z| beyond 1e154, where z*z overflows.
  EXPECT_NEAR(CubicEquation(0, 1e-110, -8)[0][0], 2, 1e-13);
  EXPECT_NEAR(CubicEquation(0, 1e-110, 8)[0][0], -2, 1e-13);
  EXPECT_NEAR(CubicEquation(0, -1e-110, 8)[0][0], -2, 1e-13);
}

TEST(Cubic, VanishingQOrP) {
  // (V - 1)(V - 2)(V - 3): q = 0, roots at the shift and +/- sqrt(-p).
  const CubicRoots r = CubicEquation(-6, 11, -6);
  EXPECT_EQ(r[0], (std::array<double, 3>{2.0, 1.0, 3.0}));
  for (double im : r[1]) EXPECT_EQ(im, 0.0);
  // V^3 + 4V: 0 and -/+ 2i.
  const CubicRoots s = CubicEquation(0, 4, 0);
  EXPECT_EQ(s[0], (std::array<double, 3>{0.0, 0.0, 0.0}));
  EXPECT_EQ(s[1], (std::array<double, 3>{0.0, -2.0, 2.0}));
  // (V - 5)^3: a triple root.
  const CubicRoots t = CubicEquation(-15, 75, -125);
  EXPECT_EQ(t[0], (std::array<double, 3>{5.0, 5.0, 5.0}));
  EXPECT_EQ(t[1], (std::array<double, 3>{0.0, 0.0, 0.0}));
  // V^3 - 1 (p = 0): 1 and -1/2 -/+ i sqrt(3)/2.
  const CubicRoots u = CubicEquation(0, 0, -1);
  EXPECT_EQ(u[0], (std::array<double, 3>{1.0, -0.5, -0.5}));
  EXPECT_EQ(u[1][0], 0.0);
  EXPECT_NEAR(u[1][1], -std::sqrt(3.0) / 2, 1e-15);
  EXPECT_NEAR(u[1][2], std::sqrt(3.0) / 2, 1e-15);
  EXPECT_EQ(Choose(u, LargestRoot), 1.0);
  // (V - 2)^3 + 8 = V^3 - 6V^2 + 12V: p = 0, q = 8, real root 0.
  const CubicRoots w = CubicEquation(-6, 12, 0);
  EXPECT_EQ(w[0][0], 0.0);
  for (int j = 0; j < 3; ++j) EXPECT_LT(Residual(w, j, -6, 12, 0), 1e-13);
}

TEST(VolumeChoice, OneRealRootTiesNegativeAndDegenerateRoots) {
  const CubicRoots r = CubicEquation(0, 1, -2);
  for (int mode : {0, 1, 2, 5}) {
    CubicRoots c = r;
    EXPECT_NEAR(VolumeChoice(c, mode), 1, 1e-15);
    EXPECT_EQ(c[0][1], 0.0);  // complex roots' real parts are cleared
    EXPECT_EQ(c[0][2], 0.0);
    EXPECT_EQ(c[1][1], r[1][1]);
  }
  CubicRoots none = Real(3.0, 4.0, 5.0);
  none[1] = {1.0, -1.0, 2.0};
  EXPECT_EQ(VolumeChoice(none, LargestRoot), 0.0);
  EXPECT_EQ(none[0], (std::array<double, 3>{0.0, 0.0, 0.0}));
  // Equal largest roots; middle and largest coinciding.
  EXPECT_EQ(Choose(Real(4, 1, 4), LargestRoot), 4.0);
  EXPECT_EQ(Choose(Real(4, 1, 4), SmallestRoot), 1.0);
  EXPECT_EQ(Choose(Real(2, 1, 3), SmallestRoot), 1.0);
  for (int mode : {0, 1, 2}) EXPECT_EQ(Choose(CubicRoots{}, mode), 0.0);  // three roots at 0
  // A positive root beats spurious negative ones in every mode.
  for (int mode : {0, 1, 2}) EXPECT_EQ(Choose(Real(-5.774, -9.894, 265.10), mode), 265.10);
  EXPECT_EQ(Choose(Real(-3, 20, 300), SmallestRoot), 20.0);  // the liquid
  EXPECT_EQ(Choose(Real(-3, -2, -1), SmallestRoot), -3.0);   // nothing positive to prefer
}

}  // namespace
