// The homogenisation and liquid-vapour searches: genuine equilibria checked
// by fugacities recomputed from what is shown, and the false solutions that a
// stalled or degenerate search used to report.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mixtures.h"
#include "phase/phase.h"
#include "properties/properties.h"

namespace {

using test_mixtures::Mix;

using Globals::GasArray;
using namespace phase;

// A search as the window runs it: the first approach, then calculate.
HomogenisationResult AtTemperature(const GasArray& z, double T, Mode mode, std::int32_t model) {
  const HomogenisationStart s = HomogenisationFirstApproach(z, true, T, 0, mode == Mode::Vapour ? 1 : 0);
  HomogenisationInput in;
  in.z = z, in.x = s.x, in.y = s.y, in.pressureSought = true, in.given = s.T, in.guess = s.guess;
  in.mode = mode, in.model = model;
  return SolveHomogenisation(in);
}

LiquidVapourResult AtVolume(const GasArray& z, double V, double T, std::int32_t model) {
  const LiquidVapourStart s = LiquidVapourFirstApproach(z, T);
  LiquidVapourInput in;
  in.z = z, in.V = V, in.T = T, in.P0 = s.P, in.fraction0 = s.fraction, in.K = s.K, in.model = model;
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

// Every component present in both phases has the same fugacity in both.
void ExpectEqualFugacities(const GasArray& x, double Vx, const GasArray& y, double Vy, double T,
                           double P, std::int32_t model, double tolerance) {
  const GasArray fX = FugacitiesOf(x, T, P, Vx, model), fY = FugacitiesOf(y, T, P, Vy, model);
  int shared = 0;
  for (int i = 0; i < Globals::kGases; ++i) {
    if (x[i] < 1e-6 || y[i] < 1e-6) continue;
    ++shared;
    EXPECT_NEAR(fX[i] / fY[i], 1.0, tolerance) << "component " << i;
  }
  EXPECT_GT(shared, 0);
}

class PhaseSolver : public ::testing::Test {
 protected:
  void SetUp() override { Globals::InitProperties(); }
};

// ---- Genuine equilibria ----

TEST_F(PhaseSolver, PureCarbonDioxideBoilsAndCondensesAtItsVapourPressure) {
  const GasArray z = Mix({{Globals::CO2, 1.0}});
  std::vector<double> answers;
  for (Mode mode : {Mode::Liquid, Mode::Vapour}) {
    const HomogenisationResult r = AtTemperature(z, 280, mode, Globals::Brennick1977);
    ASSERT_EQ(r.outcome, Outcome::Solution) << r.message;
    EXPECT_NEAR(r.answer, 2.87862, 1e-5);
    answers.push_back(r.answer);
    EXPECT_EQ(r.P, r.answer);
    ExpectEqualFugacities(r.x, r.Vx, r.y, r.Vy, 280, r.P, 0, 1e-9);
    // Both volumes are roots of the equation of state at the answer.
    EXPECT_NEAR(Globals::Pressure(r.x, 280, r.Vx, 0) / r.P, 1.0, 1e-7);
    EXPECT_NEAR(Globals::Pressure(r.y, 280, r.Vy, 0) / r.P, 1.0, 1e-9);
    EXPECT_LT(r.Vx * 5, r.Vy);
  }
  EXPECT_NEAR(answers[0], answers[1], 1e-9);
  // (The temperature sought from this pressure: in the window test.)
}

TEST_F(PhaseSolver, MixtureBubbleAndDewPointsHaveEqualFugacities) {
  const GasArray z = Mix({{Globals::CO2, 0.9}, {Globals::CH4, 0.1}});
  const HomogenisationResult bubble = AtTemperature(z, 250, Mode::Liquid, 0);
  const HomogenisationResult dew = AtTemperature(z, 250, Mode::Vapour, 0);
  ASSERT_EQ(bubble.outcome, Outcome::Solution) << bubble.message;
  ASSERT_EQ(dew.outcome, Outcome::Solution) << dew.message;
  ExpectEqualFugacities(bubble.x, bubble.Vx, bubble.y, bubble.Vy, 250, bubble.P, 0, 1e-6);
  ExpectEqualFugacities(dew.x, dew.Vx, dew.y, dew.Vy, 250, dew.P, 0, 1e-6);
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

TEST_F(PhaseSolver, NearlyEmptyPhaseOfAGenuineDewPointPasses) {
  // Water with 10 % CO2 at 100 C: the liquid holds CO2 at the 1e-11 level.
  const GasArray z = Mix({{Globals::H2O, 0.9}, {Globals::CO2, 0.1}});
  const HomogenisationResult r = AtTemperature(z, 373.15, Mode::Vapour, Globals::Brennick1977);
  ASSERT_EQ(r.outcome, Outcome::Solution) << r.message;
  EXPECT_NEAR(r.answer, 0.0116132, 1e-7);
  EXPECT_LT(r.x[Globals::CO2], 1e-9);
  EXPECT_TRUE(IsEquilibrium(r.x, r.Vx, r.y, r.Vy, r.T, r.P, 0));
}

// ---- False solutions ----

TEST_F(PhaseSolver, FalseSolutionsAreNotReported) {
  const GasArray water = Mix({{Globals::H2O, 1.0}});
  const GasArray waterMethane = Mix({{Globals::H2O, 0.5}, {Globals::CH4, 0.5}});
  const GasArray waterCO2 = Mix({{Globals::H2O, 0.9}, {Globals::CO2, 0.1}});
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
      // F = 0 because K underflowed: pure water against pure methane.
      {"nothing shared", waterMethane, 473.15, Mode::Vapour, Globals::Brennick1981, kNoSolution},
      {"nothing shared", waterMethane, 300, Mode::Vapour, Globals::Brennick1981, kNoSolution},
      {"nothing shared", waterMethane, 150, Mode::Vapour, Globals::Brennick1977, kNoSolution},
      // Near 1e-8 MPa the cubic's liquid root is tens of per cent off and
      // both coefficients are cut to 1.0: K = 1, F = 0.
      {"near a vacuum", water, 250, Mode::Vapour, Globals::Brennick1981, kNoSolution},
      // Climbs to 1e5 MPa, where CO2's coefficient in phase Y, e^864, has
      // left the double range: nothing to split by.
      {"uncomputable", waterCO2, 473.15, Mode::Liquid, Globals::Brennick1977, kNoSolution},
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

  // Nothing present in both phases: pure water against pure methane, as a
  // search whose K underflowed used to show it.
  const GasArray water = Mix({{Globals::H2O, 1.0}}), methane = Mix({{Globals::CH4, 1.0}});
  const double Vw = Root(water, 473.15, 3.04176, 1, Globals::SmallestRoot);
  const double Vm = Root(methane, 473.15, 3.04176, 1, Globals::LargestRoot);
  EXPECT_FALSE(IsEquilibrium(water, Vw, methane, Vm, 473.15, 3.04176, 1));

  // Coefficients cut to 1.0: liquid water at 250 K on its true root has ln
  // phi near -710, past the cut, as does, to 1e-4, the vapour's at 1e-5 MPa;
  // x P is then no fugacity.
  const double liquid = Root(water, 250, 1e-5, Globals::Brennick1981, Globals::SmallestRoot);
  const double vapour = Root(water, 250, 1e-5, Globals::Brennick1981, Globals::LargestRoot);
  ASSERT_NEAR(liquid, 14.6278, 1e-4);
  ASSERT_NEAR(vapour * 1e-5 / (Globals::GasConstant * 250), 1.0, 1e-3);
  EXPECT_FALSE(IsEquilibrium(water, liquid, water, vapour, 250, 1e-5, Globals::Brennick1981));

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
