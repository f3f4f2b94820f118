// The stability analysis of the fluid: the matrix of second derivatives of the
// Helmholtz energy over the volume and the amounts of the present components
// after the first (the stability matrix), its determinant and cofactors, its
// derivatives, the spinodal temperature at a molar volume, the critical matrix
// and the critical point, and the pseudo-critical conditions.
//
// Units: T in K, V in cm3/mol, P in MPa, a in MPa cm6 K^0.5 mol-2, b in cm3/mol.
// Present components are those whose fraction is > 0.0 (the double itself),
// taken in GasIndex order; position 0 of every matrix is the volume, position
// p >= 1 the amount of the p-th present component.
//
// No Qt here; long loops let events through only by RuntimeBackgroundTask().
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "core/globals.h"

namespace Globals {

// A dense matrix of doubles, (row, column) from 0. Functions that take one
// work on its leading square block.
class Matrix {
 public:
  Matrix() = default;
  Matrix(int rows, int columns) : rows_(rows), columns_(columns), data_(static_cast<std::size_t>(rows * columns), 0.0) {}
  int Rows() const { return rows_; }
  // The order of the leading square block.
  int Order() const { return rows_ < columns_ ? rows_ : columns_; }
  double& operator()(int r, int c) { return data_[static_cast<std::size_t>(r * columns_ + c)]; }
  double operator()(int r, int c) const { return data_[static_cast<std::size_t>(r * columns_ + c)]; }
  bool AllFinite() const;

 private:
  int rows_ = 0, columns_ = 0;
  std::vector<double> data_;
};

// The components with a fraction > 0.0, in GasIndex order.
std::vector<int> PresentComponents(const GasArray& x);

// ---- Linear algebra ----

// |det| <= 1e-12 (and NaN) read as exactly 0.0 by Det_LU_Decomposition.
inline constexpr double kDeterminantSnap = 1e-12;

// The determinant by Crout's LU decomposition with implicit row scaling and
// partial pivoting (ties to the later row, a zero pivot replaced by 1e-30),
// without the snap. Factors M in place. An empty matrix gives 1.0.
double DeterminantUnsnapped(Matrix& M);
// The same, with magnitudes up to 1e-12 and NaN returned as exactly 0.0.
double Det_LU_Decomposition(Matrix& M);
// Z(i, j) = (-1)^(i+j) det(minor without row i and column j), every element
// computed (a zero element has a cofactor like any other). M is unchanged.
// `snapped` chooses Det_LU_Decomposition or the unsnapped determinant.
Matrix CofactorMatrix(const Matrix& M, bool snapped = true);

// ---- Matrices of the Helmholtz energy ----
// A(V, n) = RT sum n_i ln n_i - n RT ln(V - B) - D/(B sqrt T) ln((V + B)/V),
// B = sum n_i b_i, D = sum sum n_i n_j a_ij, at n_i = x_i; derivatives at
// constant T with the amount of the first present component held.

// The n x n stability matrix (second derivatives); empty when nothing is
// present. Non-finite entries (V = b, V = 0, ...) are passed on as they are.
Matrix SpinodalMatrix(const GasArray& x, double T, double V, std::int32_t model);

// The derivative of the stability matrix over the volume (k = -1) or over the
// amount of the gas with GasIndex k (third derivatives); zeros for an absent
// k; empty when nothing is present.
Matrix DerivativeMatrix(int k, const GasArray& x, double T, double V, std::int32_t model);

// The stability matrix with its last row replaced by the gradient of its
// determinant (Jacobi's formula with the cofactors); its determinant vanishes
// at the critical point on the spinodal.
Matrix CriticalMatrix(const GasArray& x, double T, double V, std::int32_t model);

// ---- Spinodal ----

// The temperature (K) at which det(SpinodalMatrix) = 0 at molar volume V, by a
// secant search on T from T0 and 0.99 T0, each step at most a tenth of T and
// at most 1001 passes. 0.0 when it fails: nothing present, V not finite or
// V <= b, a non-finite matrix or determinant, a diverging or stalled search,
// equal determinants that are not 0, or a determinant below the snap reached
// by a step larger than 1e-3 T (a residual that merely decays). Where the
// secant stops (a step below 1e-14 T, or the snap), the root must show as a
// sign change of the determinant, evaluated in double-double, across
// T(1 -+ d) for d of 1e-11 up to 1e-3, above its rounding on both sides; a
// wider bracket is halved until T is right to 1e-10 (a point within the
// rounding ends it, kept where that band is within 1e-9 of T). 0.0 where none
// shows.
double SpinDetSolution(const GasArray& x, double T0, double V, std::int32_t model);

// The spinodal temperature as the windows take it: the search from each start
// in turn until one gives at least 0.1 K; where none does (near the co-volume
// the determinant in double is all rounding), the same from each start on the
// double-double determinant (at most 200 passes, confirmed the same way); 0.0
// when none gives a root.
double SpinodalTemperature(const GasArray& x, double V, std::int32_t model, const double (&starts)[3]);
inline constexpr double kAnalysisStarts[3] = {1000.0, 600.0, 300.0};
inline constexpr double kSpinodalWindowStarts[3] = {1000.0, 500.0, 250.0};

// ---- Critical point ----

// The cubic form of the third derivatives along the null vector u of the
// stability matrix at (T, V), sum A_ijk u_i u_j u_k with |u| = 1, taken with
// the amount of the largest present component held instead of the first's
// (held first, a trace shrinks the form to rounding noise); NaN when the
// matrix has no finite null vector.
double CubicForm(const GasArray& x, double T, double V, std::int32_t model);

// The criticality condition itself: along the spinodal the cubic form changes
// sign across V(1 -+ 1e-3), above its rounding on both sides, and at V it is
// at most 1e-2 of either side. A sign change of det(critical matrix) alone
// can come from a null vector that has lost a component.
bool IsCriticalPoint(const GasArray& x, double T, double V, std::int32_t model);

struct CriticalSearchResult {
  bool found = false;
  double V = 0.0;  // cm3/mol
  double T = 0.0;  // K: the found temperature, else what the search ended on
  double P = 0.0;  // MPa, at T and V when both are positive, else 0
};

// The critical point of a pure gas (one fraction exactly 1.0) on the
// spinodal at Vpc, or of a mixture by the secant on F(V) = det(critical
// matrix at T(V), V) from V1 and V2 (steps of at most V/5, 1001 passes). A
// result is found only when the search converged where F vanishes and the
// criticality condition holds there. Where F's rounding left V off the zero
// of the cubic form by more than about 1e-9 (a trace first component), V and
// T are moved onto it; where it left V too far off for the condition (the
// form changes sign across V(1 -+ 1e-3) but is not small at V), the point is
// found only where that zero is reached inside the bracket. A mixture whose
// first present component is below 1e-3 of the largest (a trace, which leaves
// F rounding noise) and whose search finds nothing is searched again from V1
// and V2 with the amount of the largest held in the critical matrix.
CriticalSearchResult CriticalPointSearch(const GasArray& x, std::int32_t model, double Vpc, double V1, double V2);

// ---- Pseudo-critical conditions ----
// The critical point of one Redlich-Kwong fluid with the mixture's a(T) and
// b: Vpc = b/c, Tpc = c^(4/3) (3 a(Tpc)/(b R))^(2/3), Ppc = c^(7/3)
// (R a^2/(3 b^5))^(1/3), c = 2^(1/3) - 1; first guesses V1 = Vpc and
// V2 = b + (Vpc - b)/2.
struct PseudoCritical {
  bool ok = false;  // false: nothing present, or a value that is no number
  double Vpc = 0.0, Tpc = 0.0, Ppc = 0.0, V1 = 0.0, V2 = 0.0;
};
PseudoCritical PseudoCriticalConditions(const GasArray& x, std::int32_t model);

// ---- One row of the analysis table ----
struct AnalysisRow {
  bool hasTemperature = false;
  double T = 0.0, P = 0.0, F = 0.0;  // F = det(critical matrix), snapped
};
AnalysisRow AnalysisAt(const GasArray& x, double V, std::int32_t model);

}  // namespace Globals
