// What the files of the stability analysis share: the constants of one
// evaluation, the third derivatives and their slices, the stability matrix
// from given constants, the critical matrix with another amount held, the
// accurate determinant and the windows' spinodal search in double.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/globals.h"
#include "critical/critical.h"
#include "framework/runtime.h"

namespace Globals::detail {

inline constexpr double R = 8.314472;

inline bool Finite(double v) { return std::isfinite(v); }

inline double Snap(double det) { return Abs(det) > kDeterminantSnap ? det : 0.0; }

inline bool AnyPresent(const GasArray& x) { return !PresentComponents(x).empty(); }

// ---- Matrices of the Helmholtz energy (matrices.cpp) ----

// What one evaluation of the stability matrix or its derivatives needs: a and
// b of the mixture and private copies of the pair table and co-volumes, taken
// right after aMixture and bMixture return, so that a handler running while
// events are let through cannot change them under the loops.
struct Constants {
  double a = 0.0, b = 0.0, s = 0.0, RT = 0.0;
  PairTable aij{};
  GasArray bi{};
  std::vector<int> present;
  GasArray ap{};  // a'_i = 2 sum_k x_k a_ik over the present k
};

Constants Evaluate(const GasArray& x, double T, std::int32_t model);

// The whole set of third derivatives of the present components at (T, V).
struct ThirdDerivatives {
  Constants c;
  double AVVV = 0.0;
  GasArray AVVn{};     // A_VVi
  PairTable AVnn{};    // A_Vij
  std::vector<double> Annn;  // A_ijm at [(i * 11 + j) * 11 + m]
  double& nnn(int i, int j, int m) { return Annn[static_cast<std::size_t>((i * kGases + j) * kGases + m)]; }
};

ThirdDerivatives Thirds(const Constants& constants, const GasArray& x, double T, double V);

// The slice of the third derivatives along variable k (-1: the volume).
Matrix Slice(ThirdDerivatives& d, int k);

// The stability matrix from constants taken before.
Matrix SpinodalMatrix(const Constants& c, const GasArray& x, double V);

// Puts the present component `held` first, where position 0 (the volume)
// stands in for the amount held; false where it is absent.
bool HoldFirst(std::vector<int>& present, int held);

// The critical matrix with the amount of the present component `held` held
// instead of the first's (held < 0: the first's); empty where it is absent.
Matrix CriticalMatrixHolding(const GasArray& x, double T, double V, std::int32_t model, int held);

// ---- The accurate determinant (double_double.cpp) ----

// The determinant in double-double and an estimate of its rounding error.
// An element's rounding is about 2^-104 of the magnitude of its terms, and
// moves the determinant by that times its cofactor (Cof from the double
// matrix at a temperature nearby serves as the cofactors' scale); 1e-28
// keeps a margin of three decades above it, for the elimination as well.
struct AccurateDeterminant {
  double value = 0.0, error = 0.0;
  bool ok = false;  // false: an element or the result is no number
};

AccurateDeterminant DeterminantDD(const GasArray& x, double T, double V, std::int32_t model, const Matrix& Cof);

// ---- Spinodal (spinodal.cpp) ----

// The windows' search, the starts in turn on the determinant in double.
double SpinodalInDouble(const GasArray& x, double V, std::int32_t model, const double (&starts)[3]);

}  // namespace Globals::detail
