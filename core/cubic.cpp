#include <cmath>

#include "core/globals.h"
#include "framework/runtime.h"

namespace Globals {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kFourPi = 12.566370614359172;

// sqrt(z*z + s) without overflow: beyond 1e100 the 1 is lost in z*z anyway,
// so |z| is the same value sqrt would give where z*z does not overflow.
inline double RootOfSquarePlus(double z, double s) {
  const double m = Abs(z);
  return m > 1e100 ? m : Sqrt(z * z + s);
}

// The roots of y^3 + p y + q = 0 when p*q = 0, in the usual column order.
void DegenerateRoots(double p, double q, CubicRoots& r) {
  if (q == 0) {
    if (p < 0) {  // y = 0, -sqrt(-p), +sqrt(-p): middle, smallest, largest
      const double s = Sqrt(-p);
      r[0] = {0.0, -s, s};
      r[1] = {0.0, 0.0, 0.0};
    } else {  // y = 0, -i sqrt(p), +i sqrt(p); p = 0 is the triple root 0
      const double s = Sqrt(p);
      r[0] = {0.0, 0.0, 0.0};
      r[1] = {0.0, -s, s};
    }
    return;
  }
  // p = 0: y^3 = -q, one real root and its complex pair.
  const double y = -std::cbrt(q);
  const double im = Abs(y) * (Sqrt(3.0) / 2);
  r[0] = {y, -y / 2, -y / 2};
  r[1] = {0.0, -im, im};
}

}  // namespace

CubicRoots CubicEquation(double c2, double c1, double c0) {
  CubicRoots r{};
  const double p = ((3 * c1) - c2 * c2) / 3;
  const double q = ((((2 * c2) * c2) * c2 - (9 * c2) * c1) + 27 * c0) / 27;

  if (p * q == 0 && (p == 0 || q == 0)) {
    DegenerateRoots(p, q, r);
  } else if (p > 0) {
    // One real root, hyperbolic-sine form.
    const double t = 2 * Sqrt(p / 3);
    const double z = (3 * q) / (p * t);
    // For large negative z, z + sqrt(z*z + 1) cancels to nothing; its
    // reciprocal form is the same number without the cancellation.
    const double w = z < -100 ? 1 / (RootOfSquarePlus(z, 1) - z) : z + RootOfSquarePlus(z, 1);
    const double A = Pow(w, 0.3333333333333333);
    const double B = Pow(w, -0.3333333333333333);
    const double k = ((A + B) * Sqrt(3.0)) / 4;
    r[1][0] = 0.0;
    r[1][1] = (-k) * t;
    r[1][2] = k * t;
    const double m = (-(A - B)) / 4;
    r[0][0] = (2 * m) * t;
    r[0][1] = (-m) * t;
    r[0][2] = (-m) * t;
  } else {
    const double t = 2 * Sqrt(-p / 3);
    const double z = (3 * q) / ((2 * p) * Sqrt(-p / 3));
    if (z > 1 || z < -1) {
      // One real root, hyperbolic-cosine form.
      if (z < -1) {
        const double w = -z + RootOfSquarePlus(z, -1);
        const double A = Pow(w, 0.3333333333333333);
        const double B = Pow(w, -0.3333333333333333);
        r[0][2] = ((A + B) / 4) * t;
        r[1][2] = -(((A - B) * Sqrt(3.0)) / 4) * t;
      } else {
        const double w = z + RootOfSquarePlus(z, -1);
        const double A = Pow(w, 0.3333333333333333);
        const double B = Pow(w, -0.3333333333333333);
        r[0][2] = (-((A + B) / 4)) * t;
        r[1][2] = (((A - B) * Sqrt(3.0)) / 4) * t;
      }
      r[0][1] = r[0][2];
      r[1][1] = -r[1][2];
      r[0][0] = -2 * r[0][2];
      r[1][0] = 0.0;
    } else {
      // Three real roots, trigonometric form.
      double theta = 0.0;
      if (z == 1) {
        theta = 0.0;
      } else if (z == -1) {
        theta = kPi;
      } else if (-1 < z && z < 1) {
        theta = kHalfPi - ATan(z / Sqrt(1 - z * z));
      }
      if (theta < 0) theta = -theta;
      if (theta > kPi) theta = kTwoPi - theta;
      r[0][0] = t * Cos((theta + kFourPi) / 3);
      r[0][1] = t * Cos((theta + kTwoPi) / 3);
      r[0][2] = t * Cos(theta / 3);
    }
  }

  for (int j = 0; j < 3; ++j) r[0][j] = r[0][j] - c2 / 3;
  return r;
}

double VolumeChoice(CubicRoots& roots, std::int32_t mode) {
  double V = 0.0;
  int n = 0;
  for (int j = 0; j < 3; ++j) {
    if (roots[1][j] == 0.0) {
      V = roots[0][j];
      n = n + 1;
    } else {
      roots[0][j] = 0.0;
    }
    RuntimeBackgroundTask();
  }
  if (n < 2) return V;

  const double r0 = roots[0][0], r1 = roots[0][1], r2 = roots[0][2];
  auto ge = [](double u, double v) { return !(u < v); };
  auto le = [](double u, double v) { return !(v < u); };
  if (mode == LargestRoot) {
    if (ge(r0, r1) && ge(r0, r2)) V = r0;
    if (ge(r1, r0) && ge(r1, r2)) V = r1;
    if (ge(r2, r0) && ge(r2, r1)) V = r2;
  } else if (mode == MiddleRoot) {
    if (le(r1, r0) && le(r0, r2)) V = r0;
    if (le(r0, r1) && le(r1, r2)) V = r1;
    if (le(r0, r2) && le(r2, r1)) V = r2;
  } else if (mode == SmallestRoot) {
    if (le(r0, r1) && le(r0, r2)) V = r0;
    if (le(r1, r0) && le(r1, r2)) V = r1;
    if (le(r2, r0) && le(r2, r1)) V = r2;
  }

  // At high pressure the cubic can have two spurious roots in (-b, 0); a
  // volume must be positive while a positive real root exists.
  if (!(V > 0)) {
    double best = 0.0;
    for (int j = 0; j < 3; ++j) {
      const double v = roots[0][j];
      if (roots[1][j] == 0.0 && v > 0 &&
          (best == 0.0 || (mode == LargestRoot ? v > best : v < best))) {
        best = v;
      }
    }
    if (best > 0) V = best;
  }
  return V;
}

}  // namespace Globals
