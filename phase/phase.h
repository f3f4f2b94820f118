// Phase equilibria of a mixture between a liquid-like phase X (smallest
// molar-volume root, fractions x) and a vapour-like phase Y (largest root,
// fractions y): first approaches from Raoult's law and Wilson's distribution
// coefficients, the phase split, and the two damped secant searches, for the
// homogenisation (bubble or dew) condition and for the liquid-vapour split at
// a given molar volume. Units as in core/globals.h.
//
// The searches are plain functions on copies of their inputs: they return a
// record of everything the windows show, and write no module state. The
// windows copy K, x and y back into K_liq_vap, xgas and ygas.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/globals.h"

namespace Globals {

// Ideal-solution pressure by Raoult's law, MPa: mode 0 the bubble pressure
// sum x_i Psat_i(T), mode 1 the dew pressure 1 / sum (x_i / Psat_i(T)) (0.0
// when that sum is not above 0); 0.0 for any other mode. An absent gas
// (x_i = 0) adds nothing, also where its Psat is not finite.
double RaoultPressure(const GasArray& x, double T, std::int32_t mode);

// Wilson's distribution coefficients y_i/x_i of the eleven gases,
//     K_i = (Pc_i / P) exp(5.373 (1 + omega_i) (1 - Tc_i / T)),
// formed as exp(ln(Pc_i/P) + ...); all 1.0 unless T > 0 and P > 0.
GasArray WilsonDistribution(double T, double P);

}  // namespace Globals

namespace phase {

using Globals::GasArray;

// The message line.
inline const std::string kNoSolution = "No solution, adjust First Approach and try again";
inline const std::string kTrivial =
    "Possible trivial solution, optional: adjust First Approach and try again";
inline const std::string kFractionRange = "The fractions must have a number between 0 and 1";
std::string SolutionText(int passes);  // "Solution after n iterations"

inline const std::string kPhaseX = "Phase X";
inline const std::string kPhaseY = "Phase Y";
inline const std::string kPhaseXSolution = "Phase X, solution";
inline const std::string kPhaseYSolution = "Phase Y, solution";

// Both searches make passes 0 .. kLastPass.
inline constexpr int kLastPass = 10000;

// ---- Phase split ----

// Compositions of the two phases from the feed z, the distribution
// coefficients K and the vapour amount fraction beta, and the sums Sx, Sy of
// x and y before they were normalised.
struct Split {
  GasArray x{}, y{};
  double Sx = 0.0, Sy = 0.0;
};

// d_i = (K_i - 1) beta + 1; x_i = z_i / d_i (z_i when d_i is not above 0);
// y_i = K_i x_i; every component, present or not. Not normalised; the sums
// are those of these x and y.
Split Distribute(const GasArray& z, const GasArray& K, double beta);
// Distribute, then each phase rescaled by Normaliser (fractions to the
// fixed-point grid of 1e-12): the homogenisation window's form.
Split SplitFixedPoint(const GasArray& z, const GasArray& K, double beta);
// Distribute, then each phase divided by its plain sum, a sum not above 0
// (or no number) counting as 1: the liquid-vapour first approach.
Split SplitPlain(const GasArray& z, const GasArray& K, double beta);
// The liquid-vapour search's form: only components with z_i > 0 are split
// (the others get 0); each phase is divided by its sum only when that sum is
// finite and above 0, else kept as it is.
Split SplitPresent(const GasArray& z, const GasArray& K, double beta);

// ---- First approaches ----

struct HomogenisationStart {
  double T = 0.0, P = 0.0;  // the given value and the guess, K and MPa
  double guess = 0.0;       // the guess of the sought value (MPa or K)
  GasArray K{}, x{}, y{};
};
// temperatureGiven: T (K) is given and the pressure is sought (guess: the
// Raoult pressure of mode 0 bubble / 1 dew); otherwise P is given and the
// temperature is sought (guess: 298.15 K). mode is also the beta of the split.
HomogenisationStart HomogenisationFirstApproach(const GasArray& z, bool temperatureGiven, double T,
                                                double P, std::int32_t mode);

struct LiquidVapourStart {
  double T = 0.0, P = 0.0;  // P: the mean of the Raoult bubble and dew pressures
  double fraction = 0.5;    // guess of the vapour volume fraction
  GasArray K{}, x{}, y{};
};
LiquidVapourStart LiquidVapourFirstApproach(const GasArray& z, double T);

// ---- Checks of a result ----

// The step of the fixed-point grid on which SplitFixedPoint rounds fractions.
inline constexpr double kFixedPointStep = 1e-12;

// Whether two phases at T and P, as shown, are in equilibrium: both
// compositions finite, each fraction within [-1e-9, 1 + 1e-9] and each phase
// summing to 1 within 1e-9; both volumes finite, above their phase's
// co-volume and roots of its equation of state at T and P (within a Newton
// step of 1e-3 V); and, with ln phi recomputed from these compositions and
// volumes, at least one component present in both phases, and every
// component present in either with ln(x_i phiX_i) and ln(y_i phiY_i) equal
// within 1e-3, plus what rounding the fractions to a grid of `step` explains
// (0 for fractions that are plain doubles); a coefficient that cannot be
// computed fails. Leaves Coefficient, Fugacity and LnCoefficient as it found
// them.
bool IsEquilibrium(const GasArray& x, double Vx, const GasArray& y, double Vy, double T, double P,
                   std::int32_t model, double step = 0.0);

// Whether `phase`, rounded to the grid of `step` by Normaliser, is the feed
// z (scaled to the sum 1): every fraction within what that rounding
// explains, half a step of its own plus its share of the rescaling to the
// sum 1 (half a step per gas), and a few ulps of 1 for the split. The split
// x_i = z_i / d_i loses a component from the feed phase where d_i rounds to
// 0 (K_i below about 1e-16 with beta 1); such a phase is the feed of
// another mixture.
bool IsFeed(const GasArray& z, const GasArray& phase, double step);

// The material balance of a split: (1 - beta) x_i + beta y_i = z_i for
// every gas, within `tolerance`.
bool HoldsTheFeed(const GasArray& z, const GasArray& x, const GasArray& y, double beta, double tolerance);

// A volume that a density or fugacity may be derived from.
bool UsableVolume(double V);

// ---- Searches ----

enum class Outcome { Solution, NoSolution, Trivial, FractionRange };

// Which mode radio was on when calculate was pressed.
enum class Mode { None, Liquid, Vapour };

struct HomogenisationInput {
  GasArray z{};        // the feed
  GasArray x{}, y{};   // starting compositions (xgas, ygas)
  GasArray K{};        // K_liq_vap, returned as it is when no pass computes new ones
  bool pressureSought = true;  // temperature given
  double given = 0.0;  // T (K) when the pressure is sought, else P (MPa)
  double guess = 0.0;  // X0, MPa or K
  Mode mode = Mode::None;
  std::int32_t model = 0;
};

struct HomogenisationResult {
  Outcome outcome = Outcome::NoSolution;
  std::string message;
  std::string labelX = kPhaseX, labelY = kPhaseY;
  int passes = 0;  // the number of the last pass, from 0
  double answer = 0.0;  // the sought value X
  double T = 0.0, P = 0.0;
  double Vx = 0.0, Vy = 0.0;
  std::optional<double> densityX, densityY;
  GasArray x{}, y{}, phiX{}, phiY{}, K{};
  // x_i phiX_i P and y_i phiY_i P, MPa; none where the phase has no volume.
  std::array<std::optional<double>, Globals::kGases> fugacityX{}, fugacityY{};
};

HomogenisationResult SolveHomogenisation(const HomogenisationInput& in);

struct LiquidVapourInput {
  GasArray z{};
  double V = 0.0, T = 0.0;  // cm3/mol, K
  double P0 = 0.0;          // MPa
  double fraction0 = 0.0;   // guess of the vapour volume fraction
  GasArray K{};             // K_liq_vap
  std::int32_t model = 0;
};

struct LiquidVapourResult {
  Outcome outcome = Outcome::NoSolution;
  std::string message;
  int passes = 0;
  double P = 0.0, T = 0.0;
  double fraction = 0.0;  // the volume fraction of phase Y
  std::optional<double> fractionX, fractionY;  // none when V <= 0
  double Vx = 0.0, Vy = 0.0;
  std::optional<double> densityX, densityY;
  GasArray x{}, y{}, phiX{}, phiY{}, K{};
  std::array<std::optional<double>, Globals::kGases> fugacityX{}, fugacityY{};
};

LiquidVapourResult SolveLiquidVapour(const LiquidVapourInput& in);

}  // namespace phase
