// Normaliser: rescaling a composition to a fixed-point sum of 1.
#include <gtest/gtest.h>

#include <cmath>

#include "core/globals.h"
#include "mixtures.h"

namespace {

using namespace Globals;
using test_mixtures::Mix;

TEST(Normaliser, ExactSumLeavesTheCompositionOthersAreRescaled) {
  // 0.1 + 0.2 + 0.7 is not 1 in doubles, but its counts sum to exactly 1e12.
  for (GasArray x : {Mix({{H2O, 0.5}, {CO2, 0.5}}), Mix({{H2O, 0.1}, {CO2, 0.2}, {N2, 0.7}})}) {
    const GasArray before = x;
    EXPECT_EQ(Normaliser(x), 1.0);
    EXPECT_EQ(x, before);
  }
  GasArray x = Mix({{H2O, 0.25}, {CO2, 0.25}});
  EXPECT_EQ(Normaliser(x), 0.5);
  EXPECT_EQ(x, Mix({{H2O, 0.5}, {CO2, 0.5}}));
  GasArray y = Mix({{H2O, 0.3}, {CO2, 0.3}, {N2, 0.6}});
  EXPECT_NEAR(Normaliser(y), 1.2, 1e-15);
  EXPECT_NEAR(y[H2O], 0.25, 1e-16);
  EXPECT_NEAR(y[N2], 0.5, 1e-16);
  EXPECT_NEAR(y[H2O] + y[CO2] + y[N2], 1.0, 1e-15);
  // Entries below the grid vanish; NaN counts zero; negatives scale like the rest.
  GasArray z = Mix({{H2O, 0.6}, {CO2, 0.6}, {H2, 1e-13}});
  Normaliser(z);
  EXPECT_EQ(z, Mix({{H2O, 0.5}, {CO2, 0.5}}));
  GasArray n = Mix({{H2O, std::nan("")}, {CO2, 0.5}});
  EXPECT_EQ(Normaliser(n), 0.5);
  EXPECT_EQ(n, Mix({{CO2, 1.0}}));
  GasArray m = Mix({{H2O, 1.5}, {CO2, -0.25}});
  EXPECT_EQ(Normaliser(m), 1.25);
  EXPECT_EQ(m, Mix({{H2O, 1.2}, {CO2, -0.2}}));
}

TEST(Normaliser, KeepsTheTypedCompositionCounts) {
  IntegerFraction = {};
  IntegerFraction[H2O] = 100000000000;
  IntegerFraction[CO2] = 900000000000;
  const IntegerArray typed = IntegerFraction;
  GasArray x = Mix({{N2, 0.4}, {CH4, 0.4}});
  Normaliser(x);
  EXPECT_EQ(IntegerFraction, typed);
}

TEST(Normaliser, UnusableCompositionsAreLeftAlone) {
  GasArray overflow{};
  for (double& v : overflow) v = 9e6;  // each count fits, their sum does not
  // Empty; a sum that is not positive; 1e22 counts, outside the int64 range.
  for (GasArray x : {GasArray{}, Mix({{H2O, -0.5}, {CO2, 0.25}}), Mix({{H2O, 1e10}, {CO2, 0.5}}),
                     overflow}) {
    const GasArray before = x;
    EXPECT_EQ(Normaliser(x), 0.0);
    EXPECT_EQ(x, before);
  }
}

}  // namespace
