// The homogenisation and liquid-vapour searches: genuine equilibria checked
// by fugacities recomputed from what is shown, and the false solutions that a
// stalled or degenerate search used to report.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "mixtures.h"
#include "framework/runtime.h"
#include "phase/phase.h"
#include "properties/properties.h"

namespace {

using test_mixtures::Mix;
using test_mixtures::Pure;

using Globals::GasArray;
using namespace phase;

// A search as the window runs it: the first approach, its guesses through
// their fields, then calculate. The homogenisation seeks the pressure at T,
// or, given a pressure P, the temperature.
HomogenisationResult AtTemperature(const GasArray& z, double T, Mode mode, std::int32_t model, double P = 0) {
  const bool pressureSought = !(P > 0);
  const HomogenisationStart s = HomogenisationFirstApproach(z, pressureSought, T, P, mode == Mode::Vapour);
  HomogenisationInput in;
  in.z = z, in.x = s.x, in.y = s.y, in.K = s.K, in.pressureSought = pressureSought;
  in.given = pressureSought ? s.T : s.P;
  in.guess = Val(Str(s.guess)), in.mode = mode, in.model = model;
  return SolveHomogenisation(in);
}

LiquidVapourResult AtVolume(const GasArray& z, double V, double T, std::int32_t model) {
  const LiquidVapourStart s = LiquidVapourFirstApproach(z, T);
  LiquidVapourInput in;
  in.z = z, in.V = V, in.T = T, in.P0 = Val(Str(s.P)), in.fraction0 = Val(Str(s.fraction)), in.K = s.K;
  in.model = model;
  return SolveLiquidVapour(in);
}

// Fugacities of phase x at V, computed afresh (not the solver's phi).
GasArray FugacitiesOf(const GasArray& x, double T, double P, double V, std::int32_t model) {
  Globals::Fugacities(x, T, P, V, model);
  return Globals::Fugacity;
}

// The smallest or largest root of the equation of state.
double Root(const GasArray& x, double T, double P, std::int32_t model, std::int32_t choice) {
  Globals::CubicRoots roots = Globals::Volume(x, T, P, model);
  return Globals::VolumeChoice(roots, choice);
}

// ln phi_i of phase x in long double, sharing only a_ij and b_i with the
// program: the volume is the root of P(V) = RT/(V - b) - a/(sqrt(T) V (V + b))
// reached by Newton steps from V, and
//     ln phi_i = ln(V/(V - b)) + b_i/(V - b) - 2 sum_j x_j a_ij ln((V + b)/V) / (b R T^1.5)
//              + a b_i (ln((V + b)/V) - b/(V + b)) / (b^2 R T^1.5) - ln(PV/RT).
// False when that root lies more than 1e-3 V away.
using LnPhi = std::array<long double, Globals::kGases>;
bool IndependentLnPhi(const GasArray& x, double T, double P, double V, std::int32_t model, LnPhi& out) {
  using LD = long double;
  Globals::aMixture(x, T, model);
  Globals::bMixture(x);
  LD am = 0, bm = 0;
  for (int i = 0; i < Globals::kGases; ++i) {
    bm += static_cast<LD>(x[i]) * Globals::b[i];
    for (int j = 0; j < Globals::kGases; ++j) {
      if (x[i] != 0 && x[j] != 0) am += static_cast<LD>(x[i]) * x[j] * Globals::a[i][j];
    }
  }
  const LD R = 8.314472L, t = T, rt = std::sqrt(t);
  LD v = V;
  for (int k = 0; k < 100; ++k) {
    const LD f = R * t / (v - bm) - am / (rt * v * (v + bm)) - P;
    const LD slope = -R * t / ((v - bm) * (v - bm)) + am * (2 * v + bm) / (rt * v * v * (v + bm) * (v + bm));
    const LD step = f / slope;
    v = v - step > bm ? v - step : (v + bm) / 2;
    if (std::fabs(step) < 1e-18L * v) break;
  }
  if (!(std::fabs(v - V) <= 1e-3L * V)) return false;
  for (int i = 0; i < Globals::kGases; ++i) {
    LD S = 0;
    for (int j = 0; j < Globals::kGases; ++j) {
      if (x[j] != 0) S += 2 * static_cast<LD>(x[j]) * Globals::a[j][i];
    }
    const LD bi = Globals::b[i], lplus = std::log((v + bm) / v);
    out[i] = std::log(v / (v - bm)) + bi / (v - bm) - S * lplus / (bm * R * t * rt) +
             am * bi * (lplus - bm / (v + bm)) / (bm * bm * R * t * rt) - std::log(P * v / (R * t));
  }
  return true;
}

// The worst mismatch of ln(x_i phiX_i) and ln(y_i phiY_i) over every
// component present in either phase, beyond what rounding the fractions to a
// grid of `step` explains (-ln(1 - h/v) for a fraction v, h = step/2; a
// fraction 0 stands for one below h, or below the smallest double).
// Infinite when a volume is no root or no component is in both phases.
double LnFugacityGap(const GasArray& x, double Vx, const GasArray& y, double Vy, double T, double P,
                     std::int32_t model, double step) {
  using LD = long double;
  LnPhi lx{}, ly{};
  if (!IndependentLnPhi(x, T, P, Vx, model, lx) || !IndependentLnPhi(y, T, P, Vy, model, ly)) return INFINITY;
  const LD h = step / 2, lnZero = std::log(std::fmax(h, std::numeric_limits<double>::denorm_min()));
  auto rounding = [h](LD v) { return v > 0 ? -std::log1p(-h / v) : 0; };
  LD worst = 0;
  bool shared = false;
  for (int i = 0; i < Globals::kGases; ++i) {
    const LD lnX = std::log(static_cast<LD>(x[i])) + lx[i], lnY = std::log(static_cast<LD>(y[i])) + ly[i];
    const LD allowed = rounding(x[i]) + rounding(y[i]);
    if (x[i] > 0 && y[i] > 0) {
      shared = true;
      worst = std::fmax(worst, std::fabs(lnX - lnY) - allowed);
    } else if (x[i] > 0) {
      worst = std::fmax(worst, lnX - ly[i] - lnZero - allowed);
    } else if (y[i] > 0) {
      worst = std::fmax(worst, lnY - lx[i] - lnZero - allowed);
    }
  }
  return shared ? static_cast<double>(worst) : INFINITY;
}

// Every component present in either phase has the same fugacity in both.
void ExpectEqualFugacities(const GasArray& x, double Vx, const GasArray& y, double Vy, double T,
                           double P, std::int32_t model, double tolerance, double step = 0) {
  EXPECT_LE(LnFugacityGap(x, Vx, y, Vy, T, P, model, step), tolerance);
}

class PhaseSolver : public ::testing::Test {
 protected:
  void SetUp() override { Globals::InitProperties(); }
};

// ---- Genuine equilibria ----

TEST_F(PhaseSolver, MixtureBubbleAndDewPointsHaveEqualFugacities) {
  const GasArray z = Mix({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  const HomogenisationResult bubble = AtTemperature(z, 250, Mode::Liquid, 0);
  const HomogenisationResult dew = AtTemperature(z, 250, Mode::Vapour, 0);
  ASSERT_EQ(bubble.outcome, Outcome::Solution) << bubble.message;
  ASSERT_EQ(dew.outcome, Outcome::Solution) << dew.message;
  ExpectEqualFugacities(bubble.x, bubble.Vx, bubble.y, bubble.Vy, 250, bubble.P, 0, 1e-6, kFixedPointStep);
  ExpectEqualFugacities(dew.x, dew.Vx, dew.y, dew.Vy, 250, dew.P, 0, 1e-6, kFixedPointStep);
  // The feed is the liquid at the bubble point and the vapour at the dew
  // point; methane, the lighter gas, is richer in the vapour.
  EXPECT_NEAR(bubble.x[Globals::CH4], 0.1, 1e-12);
  EXPECT_NEAR(dew.y[Globals::CH4], 0.1, 1e-12);
  EXPECT_GT(bubble.y[Globals::CH4], 0.1);
  EXPECT_LT(dew.x[Globals::CH4], 0.1);
  EXPECT_GT(bubble.answer, dew.answer);
  ASSERT_TRUE(bubble.densityX.has_value());
  EXPECT_NEAR(*bubble.densityX, (0.9 * 44.0098 + 0.1 * 16.04276) / bubble.Vx, 1e-12);

  // Between the two, the liquid-vapour pressure falls with the volume.
  double previous = bubble.answer;
  for (double V : {50.0, 70.0, 100.0, 150.0, 200.0, 300.0}) {
    const LiquidVapourResult r = AtVolume(z, V, 250, 0);
    ASSERT_EQ(r.outcome, Outcome::Solution) << V << ": " << r.message;
    EXPECT_LT(r.P, previous) << V;
    EXPECT_GT(r.P, dew.answer) << V;
    previous = r.P;
    ExpectEqualFugacities(r.x, r.Vx, r.y, r.Vy, 250, r.P, 0, 1e-6);
    // The lever rule: the phase volumes add up to the given one.
    ASSERT_TRUE(r.fractionY.has_value());
    const double phi = *r.fractionY;
    const double beta = phi * r.Vx / (r.Vy + phi * (r.Vx - r.Vy));
    EXPECT_NEAR((1 - beta) * r.Vx + beta * r.Vy, V, 1e-6 * V);
    // Feed balance: z = (1 - beta) x + beta y, to the search's tolerance.
    for (int i = 0; i < Globals::kGases; ++i) {
      EXPECT_NEAR((1 - beta) * r.x[i] + beta * r.y[i], z[i], 1e-6) << V << " " << i;
    }
  }
}

TEST_F(PhaseSolver, TraceComponentsFollowTheirTrueCoefficients) {
  // ln phi of CH4 in the liquid is -292.6 and of CO2 in liquid water -575.9;
  // a coefficient cut to 1.0 sent the CH4 to the vapour and gave CO2 equal
  // fugacities of 2e-7 MPa, where the liquid's is 1e-257. The pressures and
  // ln f equalities (within 5e-12) from a 50-digit evaluation of the equation
  // of state.
  using namespace Globals;
  const GasArray a = Mix({{H2S, 0.039194360679}, {H2, 0.69581645966}, {CO, 0.264981907201}, {CH4, 7.27246e-6}});
  const GasArray b = Mix({{H2O, 0.271310683755}, {CO2, 1.4297e-8}, {H2, 0.339059351751}, {O2, 0.389629950197}});
  struct Case {
    GasArray z;
    double V, T;
    std::int32_t model;
    double P, dP;
    int trace;
    double inX, dX, belowInY;
  };
  LiquidVapourResult rb;
  for (const Case& c : {Case{a, 59.783, 59.89, Ostrem1999, 6.35241079, 1e-8, CH4, 2.4035e-5, 1e-9, 1e-100},
                        {b, 75.141, 240.33, Brennick1977, 21.5726055, 1e-7, CO2, 5.2696e-8, 1e-12, 1e-250}}) {
    const LiquidVapourResult r = AtVolume(c.z, c.V, c.T, c.model);
    ASSERT_EQ(r.outcome, Outcome::Solution) << r.message;
    EXPECT_NEAR(r.P, c.P, c.dP);
    EXPECT_NEAR(r.x[c.trace], c.inX, c.dX);
    EXPECT_LT(r.y[c.trace], c.belowInY);
    ExpectEqualFugacities(r.x, r.Vx, r.y, r.Vy, r.T, r.P, c.model, 1e-9);
    rb = r;
  }
  // The check judges the trace too: the CO2 moved into the vapour, as the
  // cut coefficients had it, is no equilibrium.
  GasArray y = rb.y;
  y[CO2] = 1.6e-8;
  y[O2] -= 1.6e-8;
  EXPECT_FALSE(IsEquilibrium(rb.x, rb.Vx, y, rb.Vy, rb.T, rb.P, Brennick1977));
}

TEST_F(PhaseSolver, GenuinePointsAtTheEdgesAreSolutions) {
  // Answers from a 40-digit solution of the equilibrium conditions (the
  // temperature as found by an independent 50-digit implementation).
  using namespace Globals;
  const struct {
    const char* why;
    GasArray z;
    double T, P;  // P > 0: the temperature is sought
    Mode mode;
    std::int32_t model;
    double answer;
  } cases[] = {
      {"vapour pressure", Pure(CO2), 280, 0, Mode::Liquid, Brennick1977, 2.87861697465483},
      {"vapour pressure", Pure(CO2), 280, 0, Mode::Vapour, Brennick1977, 2.87861697465483},
      // Refused while the liquid root carried rounding noise at low pressure.
      {"low pressure", Pure(H2O), 416.63, 0, Mode::Liquid, Ostrem1999, 3.16893952892172e-4},
      {"low pressure", Mix({{H2O, 0.6834}, {CO2, 0.3166}}), 265.03, 0, Mode::Liquid, Brennick1977,
       1.43780575860874e-3},
      // Called trivial: a trace first component, or one that is nearly the
      // whole feed, differs by less than 1e-4 between any two phases. The
      // liquids hold N2 at 2e-8 and H2 at 3e-12.
      {"trace first", Mix({{N2, 0.0001}, {NH3, 0.4365}, {C2H6, 0.5634}}), 0, 0.0991, Mode::Vapour,
       Brennick1981, 211.134688387},
      {"nearly all first", Mix({{CO2, 0.999999997321}, {H2, 2.679e-9}}), 236.17, 0, Mode::Vapour,
       Brennick1977, 0.661153934565845},
      // A liquid trace a few grid steps above 0 (4.5e-12 N2, 1.6e-12 H2):
      // the rounding to the grid alone moves its ln x by up to 0.105 and 0.29.
      {"trace on the grid", Mix({{H2O, 0.845302085695}, {N2, 0.154697914305}}), 0, 0.02724, Mode::Vapour,
       Brennick1977, 387.53672166726372},
      {"trace on the grid", Mix({{NH3, 0.599729409107}, {H2, 2.52853e-7}, {O2, 0.40027033804}}), 0, 0.04746,
       Mode::Vapour, Ostrem1999, 204.38849766216639},
  };
  for (const auto& c : cases) {
    const HomogenisationResult r = AtTemperature(c.z, c.T, c.mode, c.model, c.P);
    ASSERT_EQ(r.outcome, Outcome::Solution) << c.why << ": " << r.message;
    EXPECT_NEAR(r.answer, c.answer, 1e-11 * c.answer) << c.why;
    EXPECT_GT(r.Vy / r.Vx, 5) << c.why;
    EXPECT_EQ(r.labelX == kPhaseXSolution, c.mode == Mode::Liquid) << c.why;
    ExpectEqualFugacities(r.x, r.Vx, r.y, r.Vy, r.T, r.P, c.model, 1e-9, kFixedPointStep);
  }
}

// Dew points whose liquid is nearly a trace of the feed: K of that trace is
// about its fraction, and the split's (K - 1) + 1 keeps 1e-16 / K of
// rounding, which holds the residual above 1e-6 after the step has shrunk
// away. Judged by the residual without that cancellation: H2S at 1.2e-11
// is a solution 3.3e-7 from the exact pressure (a 50-digit solution of the
// equilibrium at 59.7406 K); NH3 at 3e-12 stops 8.7e-6 from it, no solution.
TEST_F(PhaseSolver, AResidualHeldUpOnlyByTheSplitsRounding) {
  using namespace Globals;
  const GasArray sour = Mix({{H2S, 1.2e-11}, {H2, 0.052495852195}, {O2, 0.284393667709}, {CO, 0.420491596967},
                             {Ar, 0.242618883117}});
  const HomogenisationResult r = AtTemperature(sour, 59.7406, Mode::Vapour, Brennick1981);
  ASSERT_EQ(r.outcome, Outcome::Solution) << r.message;
  EXPECT_NEAR(r.answer, 3.1169545246879526e-10, 1e-6 * 3.12e-10);
  for (int i = 0; i < kGases; ++i) EXPECT_NEAR(r.y[i], sour[i], 1e-15) << i;  // the feed phase is the feed
  const HomogenisationResult off =
      AtTemperature(Mix({{NH3, 3e-12}, {CH4, 0.999999999997}}), 57.8951, Mode::Vapour, Brennick1981);
  EXPECT_EQ(off.message, kNoSolution);
  EXPECT_NEAR(off.answer, 8.007268925215686e-14, 1e-4 * 8.0e-14);  // where it stopped
}

TEST_F(PhaseSolver, EveryReportedSolutionOfRandomSearchesIsAnEquilibrium) {
  // Random feeds of one to three gases, fractions down to 1e-6, at 150-600 K
  // under every model: bubble and dew points with T or P given, and
  // liquid-vapour splits at 30-3000 cm3/mol.
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> u(0, 1);
  int solutions = 0;
  for (int k = 0; k < 600; ++k) {
    Globals::InitProperties();
    GasArray z{};
    const int n = 1 + static_cast<int>(rng() % 3);
    for (int j = 0; j < n; ++j) z[rng() % Globals::kGases] = std::pow(10.0, -6 * u(rng) * u(rng));
    (void)Globals::Normaliser(z);
    const std::int32_t model = static_cast<std::int32_t>(rng() % 3);
    const double T = 150 + 450 * u(rng), Pgiven = std::pow(10.0, -3 + 4 * u(rng));
    const double V = std::pow(10.0, 1.5 + 2 * u(rng));
    auto check = [&](const auto& r, double step) {
      if (r.outcome != Outcome::Solution) return;
      ++solutions;
      EXPECT_LE(LnFugacityGap(r.x, r.Vx, r.y, r.Vy, r.T, r.P, model, step), 1e-5) << "search " << k;
    };
    if (k % 3 == 2) {
      const LiquidVapourResult r = AtVolume(z, V, T, model);
      check(r, 0);
      if (r.outcome != Outcome::Solution) continue;
      // The lever rule and the material balance, with the amount fraction
      // of phase Y that matches the volume fraction shown.
      const double phi = r.fraction, beta = phi * r.Vx / (r.Vy + phi * (r.Vx - r.Vy));
      EXPECT_NEAR((1 - beta) * r.Vx + beta * r.Vy, V, 1e-9 * V) << "search " << k;
      for (int i = 0; i < Globals::kGases; ++i) {
        EXPECT_NEAR((1 - beta) * r.x[i] + beta * r.y[i], z[i], 1e-6) << "search " << k << " gas " << i;
      }
    } else {
      const Mode mode = k % 2 ? Mode::Vapour : Mode::Liquid;
      check(AtTemperature(z, T, mode, model, k % 5 ? 0 : Pgiven), kFixedPointStep);
    }
  }
  EXPECT_GT(solutions, 80);
}

// ---- False solutions ----

TEST_F(PhaseSolver, FalseSolutionsAreNotReported) {
  using namespace Globals;
  const GasArray water = Mix({{Globals::H2O, 1.0}});
  const GasArray waterMethane = Mix({{Globals::H2O, 0.5}, {Globals::CH4, 0.5}});
  const GasArray waterCO2 = Mix({{Globals::H2O, 0.9}, {Globals::CO2, 0.1}});
  const GasArray carbonMethane = Mix({{Globals::CO2, 0.5}, {Globals::CH4, 0.5}});
  struct Case {
    const char* why;
    GasArray z;
    double T;
    Mode mode;
    std::int32_t model;
    const std::string& message;
  };
  const Case cases[] = {
      // The residual stops changing; the halved steps shrink below the step
      // test a hair from the guess, with phase Y empty.
      {"stalled", water, 373.15, Mode::Liquid, Globals::Brennick1981, kNoSolution},
      // Pure water against pure methane: F = 0 once K underflows, or on the
      // way a coefficient leaves the double range.
      {"nothing shared", waterMethane, 473.15, Mode::Vapour, Globals::Brennick1981, kNoSolution},
      {"nothing shared", waterMethane, 300, Mode::Vapour, Globals::Brennick1981, kNoSolution},
      {"nothing shared", waterMethane, 150, Mode::Vapour, Globals::Brennick1977, kNoSolution},
      // Near a vacuum liquid water's ln phi passes -708, beyond the double
      // range; cut to 1.0 with the vapour's, it once gave K = 1 and F = 0.
      {"near a vacuum", water, 250, Mode::Vapour, Globals::Brennick1981, kNoSolution},
      // Climbs to 1e5 MPa, where CO2's coefficient in phase Y is e^864.
      {"uncomputable", waterCO2, 473.15, Mode::Liquid, Globals::Brennick1977, kNoSolution},
      // Above CO2's critical temperature both phases meet on one root.
      {"one phase", carbonMethane, 300, Mode::Liquid, Globals::Brennick1977, kTrivial},
      {"one phase", carbonMethane, 300, Mode::Vapour, Globals::Brennick1977, kTrivial},
      // K of CO2 and of C2H6 below 1e-16: the split's (K - 1) + 1 rounds to
      // 0 and leaves them out of the feed phase Y, which then is the feed
      // of another mixture.
      {"feed phase not the feed",
       Mix({{H2O, 0.186620302334}, {CO2, 0.021986307891}, {NH3, 0.308552951164}, {CO, 0.093652477268},
            {CH4, 0.389187961343}}),
       258.20, Mode::Vapour, Globals::Brennick1977, kNoSolution},
      {"feed phase not the feed", Mix({{H2, 0.576719622917}, {Ar, 0.423280375138}, {C2H6, 1.945e-9}}), 38.41,
       Mode::Vapour, Globals::Brennick1977, kNoSolution},
  };
  for (const Case& c : cases) {
    const HomogenisationResult r = AtTemperature(c.z, c.T, c.mode, c.model);
    EXPECT_EQ(r.message, c.message) << c.why << " at " << c.T;
    EXPECT_EQ(r.labelX, kPhaseX) << c.why;
    EXPECT_EQ(r.labelY, kPhaseY) << c.why;
  }
  // The liquid-vapour split: water and methane at 200 C stall with
  // fugacities tenfold apart; water near a vacuum as above.
  EXPECT_EQ(AtVolume(waterMethane, 100, 473.15, Globals::Brennick1977).message, kNoSolution);
  EXPECT_EQ(AtVolume(water, 1000, 160, Globals::Brennick1981).message, kNoSolution);
  EXPECT_EQ(AtVolume(water, 1000, 300, Globals::Brennick1981).message, kNoSolution);
}

TEST_F(PhaseSolver, EquilibriumCheckRefusesWhatCannotBeShown) {
  const GasArray z = Mix({{Globals::CO2, 1.0}});
  const HomogenisationResult r = AtTemperature(z, 280, Mode::Liquid, 0);
  ASSERT_TRUE(IsEquilibrium(r.x, r.Vx, r.y, r.Vy, 280, r.P, 0));
  // Each condition on its own.
  EXPECT_FALSE(IsEquilibrium(r.x, NAN, r.y, r.Vy, 280, r.P, 0));
  EXPECT_FALSE(IsEquilibrium(r.x, 0.5 * Globals::bMixture(z), r.y, r.Vy, 280, r.P, 0));
  GasArray over = r.x;
  over[Globals::N2] = 1e-7;  // a trace that changes no fugacity, but the sum is no longer 1
  EXPECT_FALSE(IsEquilibrium(over, r.Vx, r.y, r.Vy, 280, r.P, 0));
  GasArray nan = r.y;
  nan[Globals::N2] = NAN;
  EXPECT_FALSE(IsEquilibrium(r.x, r.Vx, nan, r.Vy, 280, r.P, 0));
  // A liquid volume 1 % off makes the fugacities differ.
  EXPECT_FALSE(IsEquilibrium(r.x, r.Vx * 1.01, r.y, r.Vy, 280, r.P, 0));
  // The module's coefficients are left as they were.
  Globals::Coefficient.fill(0.25);
  (void)IsEquilibrium(r.x, r.Vx, r.y, r.Vy, 280, r.P, 0);
  EXPECT_EQ(Globals::Coefficient[0], 0.25);

  // The feed phase as Normaliser leaves it is the feed, also for feeds off
  // the grid or not summing to 1; one step of a trace lost or moved is not.
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> u(0, 1);
  for (int k = 0; k < 2000; ++k) {
    GasArray feed{};
    for (int i = 0; i < Globals::kGases; ++i) feed[i] = k % 2 ? std::pow(10.0, -12 * u(rng)) : u(rng);
    if (k % 3 == 0) feed[k % Globals::kGases] = 6e-13;  // just above half a step
    const double scale = k % 5 == 0 ? 0.999 : 1.0;
    double sum = 0;
    for (double f : feed) sum += f;
    for (double& f : feed) f = scale * f / sum;
    GasArray phase = feed;
    (void)Globals::Normaliser(phase);
    ASSERT_TRUE(IsFeed(feed, phase, kFixedPointStep)) << k;
  }
  const GasArray feed = Mix({{Globals::H2, 0.576719622917}, {Globals::Ar, 0.423280377081}, {Globals::C2H6, 2e-12}});
  GasArray lost = feed;
  lost[Globals::C2H6] = 0, lost[Globals::Ar] += 2e-12;
  EXPECT_TRUE(IsFeed(feed, feed, kFixedPointStep));
  EXPECT_FALSE(IsFeed(feed, lost, kFixedPointStep));

  // A volume that is no root although the fugacities agree: CO2 at 280 K and
  // 50 cm3/mol (where the equation gives 4.43 MPa) against its vapour at the
  // pressure whose fugacity is that liquid's (about 3.01 MPa).
  const double f = FugacitiesOf(z, 280, 1.0, 50, 0)[Globals::CO2];  // independent of P at fixed V
  double p = f;
  for (int k = 0; k < 30; ++k) {
    p *= f / FugacitiesOf(z, 280, p, Root(z, 280, p, 0, Globals::LargestRoot), 0)[Globals::CO2];
  }
  const double Vy = Root(z, 280, p, 0, Globals::LargestRoot);
  ASSERT_NEAR(FugacitiesOf(z, 280, p, Vy, 0)[Globals::CO2] / f, 1.0, 1e-9);
  EXPECT_FALSE(IsEquilibrium(z, 50, z, Vy, 280, p, 0));
}

// ---- Bad input ----

TEST_F(PhaseSolver, SearchesWithoutUsableInputShowNoNumberThatIsNone) {
  const GasArray z = Mix({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  auto finite = [](const auto& r) {
    EXPECT_TRUE(std::isfinite(r.densityX.value_or(0)));
    EXPECT_TRUE(std::isfinite(r.densityY.value_or(0)));
    for (const auto& f : r.fugacityX) EXPECT_TRUE(std::isfinite(f.value_or(0)));
    for (const auto& f : r.fugacityY) EXPECT_TRUE(std::isfinite(f.value_or(0)));
  };
  // An empty, negative or huge guess, and an empty temperature (0 K).
  for (auto [T, guess] : {std::pair{250.0, 0.0}, {250.0, -3.0}, {250.0, 1e300}, {0.0, 5.0}}) {
    HomogenisationInput in;
    in.z = z, in.x = z, in.y = z, in.given = T, in.guess = guess, in.mode = Mode::Liquid;
    const HomogenisationResult r = SolveHomogenisation(in);
    EXPECT_NE(r.outcome, Outcome::Solution) << T << " " << guess;
    finite(r);
  }

  // Liquid water at 167.83 K under Brennick (1981): its coefficient is out
  // of range at the first pass. The coefficients the search started from
  // stay for the next liquid-vapour calculate, not zeros.
  const HomogenisationStart s = HomogenisationFirstApproach(Pure(Globals::H2O), true, 167.83, 0, 0);
  const HomogenisationResult cold = AtTemperature(Pure(Globals::H2O), 167.83, Mode::Liquid, Globals::Brennick1981);
  EXPECT_EQ(cold.message, kNoSolution);
  EXPECT_EQ(cold.passes, 0);
  EXPECT_EQ(cold.K, s.K);
  EXPECT_GT(cold.K[Globals::H2O], 0.0);

  // Calculate before any first approach: K_liq_vap is still all 0.
  LiquidVapourInput bare;
  bare.z = z, bare.V = 100, bare.T = 250, bare.P0 = 3;
  const LiquidVapourResult noK = SolveLiquidVapour(bare);
  finite(noK);
  for (double y : noK.y) EXPECT_TRUE(std::isfinite(y));

  // 0 K: the volumes are no numbers, so is the volume fraction, which gets
  // the fraction message and no fraction cells.
  LiquidVapourInput zero = bare;
  zero.T = 0;
  const LiquidVapourResult r0 = SolveLiquidVapour(zero);
  EXPECT_EQ(r0.message, kFractionRange);
  EXPECT_FALSE(r0.fractionX.has_value());
  finite(r0);

  // No molar volume: the lever rule never applies and the fractions would
  // only repeat the guess.
  LiquidVapourInput noVolume = bare;
  noVolume.V = 0, noVolume.fraction0 = 0.5;
  noVolume.K = LiquidVapourFirstApproach(z, 250).K;
  const LiquidVapourResult rv = SolveLiquidVapour(noVolume);
  EXPECT_FALSE(rv.fractionX.has_value());
  EXPECT_FALSE(rv.fractionY.has_value());
}

}  // namespace
