#include <gtest/gtest.h>

#include <cmath>

#include "core/globals.h"

namespace {

using namespace Globals;

TEST(Normaliser, ExactSumLeavesTheCompositionAsPassed) {
  GasArray x{};
  x[H2O] = 0.5;
  x[CO2] = 0.5;
  const GasArray before = x;
  EXPECT_EQ(Normaliser(x), 1.0);
  EXPECT_EQ(x, before);
  // 0.1 + 0.2 + 0.7 is not 1 in doubles, but its counts sum to exactly 1e12.
  GasArray y{};
  y[H2O] = 0.1;
  y[CO2] = 0.2;
  y[N2] = 0.7;
  const GasArray yBefore = y;
  EXPECT_EQ(Normaliser(y), 1.0);
  EXPECT_EQ(y, yBefore);
}

TEST(Normaliser, RescalesToTheFixedPointSum) {
  GasArray x{};
  x[H2O] = 0.25;
  x[CO2] = 0.25;
  EXPECT_EQ(Normaliser(x), 0.5);
  EXPECT_EQ(x[H2O], 0.5);
  EXPECT_EQ(x[CO2], 0.5);
  for (int i = 2; i < kGases; ++i) EXPECT_EQ(x[i], 0.0);

  GasArray y{};
  y[H2O] = 0.3;
  y[CO2] = 0.3;
  y[N2] = 0.6;
  EXPECT_NEAR(Normaliser(y), 1.2, 1e-15);
  EXPECT_NEAR(y[H2O], 0.25, 1e-16);
  EXPECT_NEAR(y[N2], 0.5, 1e-16);
  EXPECT_NEAR(y[H2O] + y[CO2] + y[N2], 1.0, 1e-15);
}

TEST(Normaliser, EntriesBelowTheGridVanishOnRescale) {
  GasArray x{};
  x[H2O] = 0.6;
  x[CO2] = 0.6;
  x[H2] = 1e-13;
  Normaliser(x);
  EXPECT_EQ(x[H2], 0.0);
  EXPECT_EQ(x[H2O], 0.5);
}

TEST(Normaliser, KeepsTheTypedCompositionCounts) {
  IntegerFraction = {};
  IntegerFraction[H2O] = 100000000000;
  IntegerFraction[CO2] = 900000000000;
  const IntegerArray typed = IntegerFraction;
  GasArray x{};
  x[N2] = 0.4;
  x[CH4] = 0.4;
  Normaliser(x);
  EXPECT_EQ(IntegerFraction, typed);
}

TEST(Normaliser, UnusableCompositionsAreLeftAlone) {
  GasArray empty{};
  EXPECT_EQ(Normaliser(empty), 0.0);
  EXPECT_EQ(empty, GasArray{});

  GasArray negative{};
  negative[H2O] = -0.5;
  negative[CO2] = 0.25;
  GasArray before = negative;
  EXPECT_EQ(Normaliser(negative), 0.0);
  EXPECT_EQ(negative, before);

  GasArray huge{};
  huge[H2O] = 1e10;  // 1e22 counts: outside the int64 range
  huge[CO2] = 0.5;
  before = huge;
  EXPECT_EQ(Normaliser(huge), 0.0);
  EXPECT_EQ(huge, before);

  GasArray overflow{};
  for (double& v : overflow) v = 9e6;  // each count fits, their sum does not
  before = overflow;
  EXPECT_EQ(Normaliser(overflow), 0.0);
  EXPECT_EQ(overflow, before);

}

TEST(Normaliser, NotANumberCountsZero) {
  GasArray x{};
  x[H2O] = std::nan("");
  x[CO2] = 0.5;
  EXPECT_EQ(Normaliser(x), 0.5);
  EXPECT_EQ(x[H2O], 0.0);
  EXPECT_EQ(x[CO2], 1.0);
}

TEST(Normaliser, NegativeEntriesRescaleLikeTheOthers) {
  GasArray x{};
  x[H2O] = 1.5;
  x[CO2] = -0.25;
  EXPECT_EQ(Normaliser(x), 1.25);
  EXPECT_EQ(x[H2O], 1.2);
  EXPECT_EQ(x[CO2], -0.2);
}

}  // namespace
