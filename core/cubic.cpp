#include <cmath>
#include <utility>

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

// V^3 + c2 V^2 + c1 V + c0 and its derivative, by Horner's rule.
struct Cubic {
  double c2, c1, c0;
  double At(double v) const { return ((v + c2) * v + c1) * v + c0; }
  double Slope(double v) const { return (3 * v + 2 * c2) * v + c1; }
};

// Newton steps on the cubic itself, each kept only while it shrinks the
// residual: they carry a root the closed form lost digits of to rounding level,
// and stop there instead of wandering in the noise.
double Polish(const Cubic& c, double v) {
  double fv = c.At(v);
  for (int i = 0; i < 8 && fv != 0; ++i) {
    const double w = v - fv / c.Slope(v);
    const double fw = c.At(w);
    if (!(Abs(fw) < Abs(fv))) break;
    v = w;
    fv = fw;
  }
  return v;
}

// The closed forms work in the shifted variable y = V + c2/3, whose scale is
// that of the largest root: roots much smaller than the largest one (the
// liquid and middle volumes at low pressure) keep only the digits left over,
// or none, and below about 1e-8 MPa even the count of real roots taken from p
// and q can be wrong. The largest root is right to rounding; the two others
// follow from it by Vieta's relations without that cancellation, and Newton
// steps on the cubic finish them. The closed form's count stands unless the
// deflated quadratic's discriminant clearly contradicts it; a complex pair
// keeps the closed form's columns and signs.
void PolishRoots(double c2, double c1, double c0, CubicRoots& r) {
  const Cubic c{c2, c1, c0};
  int n = 0;
  for (int j = 0; j < 3; ++j) n += r[1][j] == 0.0;
  if (n != 1 && n != 3) return;

  int big = 0;  // with one real root it is in column 0
  for (int j = 1; j < 3 && n == 3; ++j) {
    if (Abs(r[0][j]) > Abs(r[0][big])) big = j;
  }
  const double L = Polish(c, r[0][big]);
  if (n == 1) r[0][0] = L;
  if (!(L != 0) || !std::isfinite(L)) return;

  // The other two roots u, v: u v = -c0/L, and u + v either -(c2 + L) or
  // (c1 - u v)/L, whichever cancels less.
  const double prod = -c0 / L;
  const double sum = Abs(c2) + Abs(L) <= (Abs(c1) + Abs(prod)) / Abs(L) ? -(c2 + L)
                                                                         : (c1 - prod) / L;
  const double disc = sum * sum - 4 * prod;
  const double noise = 1e-12 * (sum * sum + 4 * Abs(prod));
  if (disc < -noise) {  // a complex pair, in the closed form's column signs
    const double im = Sqrt(-disc) / 2;
    const double sign = n == 3 || r[1][2] > 0 ? 1.0 : -1.0;
    r[0] = {L, sum / 2, sum / 2};
    r[1] = {0.0, -sign * im, sign * im};
    return;
  }
  if (n == 1 && !(disc > noise)) return;

  const double h = (sum + std::copysign(Sqrt(disc > 0 ? disc : 0.0), sum)) / 2;
  const double u = Polish(c, h);
  const double v = Polish(c, h != 0 ? prod / h : 0.0);
  if (!std::isfinite(u) || !std::isfinite(v)) return;

  // Columns: the middle root, the smallest, the largest.
  double s[3] = {u, v, L};
  if (s[1] < s[0]) std::swap(s[0], s[1]);
  if (s[2] < s[1]) std::swap(s[1], s[2]);
  if (s[1] < s[0]) std::swap(s[0], s[1]);
  r[0] = {s[1], s[0], s[2]};
  r[1] = {0.0, 0.0, 0.0};
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
  PolishRoots(c2, c1, c0, r);
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
