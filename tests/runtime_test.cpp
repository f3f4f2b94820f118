// Reading and writing numbers, conversions, the background hook, code page 1252.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <cstdint>
#include <limits>

#include "core/globals.h"
#include "framework/runtime.h"
#include "mixtures.h"

namespace {

TEST(Val, ReadsTheLongestDecimalPrefixIsNumberOnlyAWholeNumber) {
  const std::pair<const char*, double> cases[] = {
      {"1.5", 1.5}, {"  1.5x", 1.5}, {"\t-2.25e2 MPa", -225.0}, {"+3", 3.0}, {".5", 0.5},
      {"5.", 5.0}, {"2E-3", 0.002}, {"0.1", 0.1},
      {"1e", 1.0}, {"1e+", 1.0},  // a dangling exponent is not part of the number
      {"1,5", 1.0},               // the decimal point is "." whatever the locale
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()}};
  for (auto [text, v] : cases) EXPECT_EQ(Val(text), v) << text;
  // Not a number, or not a finite one: zero, never NaN or infinity; -0 is +0.
  for (const char* text : {"", "   ", "abc", "-", "+", ".", "e5", "-.e1", "x1", "nan", "NaN", "inf",
                           "-inf", "infinity", "1e999", "-1e400", "1e-400", "-0", "-0.0e5"}) {
    EXPECT_EQ(Val(text), 0.0) << '"' << text << '"';
    EXPECT_FALSE(std::signbit(Val(text))) << text;
  }
  for (const char* text : {"0", "12.5", " -3e2 ", "\t+.5", "5.", "1.7976931348623157e308"}) {
    EXPECT_TRUE(IsNumber(text)) << '"' << text << '"';
  }
  // Each of these reads as some number through Val, yet nobody typed one.
  for (const char* text : {"", "  ", "abc", "put number", "12abc", "1e", "1,5", "nan", "inf",
                           "1e999", "-1e400", "1e-400", "- 1", "1 2"}) {
    EXPECT_FALSE(IsNumber(text)) << '"' << text << '"';
  }
}

TEST(Str, FifteenSignificantDigitsRoundTripThroughVal) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "0"}, {-0.0, "0"}, {1.0, "1"}, {0.5, "0.5"}, {-273.15, "-273.15"},
      {0.1 + 0.2, "0.3"},  // 0.30000000000000004 at 15 digits
      {(20 + 273.15) - 273.15, "20"},
      {0.999999999999, "0.999999999999"},  // a sum one count short of 1
      {1.0 / 3.0, "0.333333333333333"}, {123456789012345.0, "123456789012345"},
      {1234567890123456.0, "1.23456789012346e+15"}, {1e-5, "1e-05"}, {0.0001, "0.0001"},
      {1e300, "1e+300"}, {-5e-324, "-4.94065645841247e-324"}};
  for (auto [v, text] : cases) EXPECT_EQ(Str(v), text) << v;
  for (double v : {418.9258813647845, 8.314472, 1e-12, 2.01588, -0.071288, 6.02214076e23}) {
    EXPECT_NEAR(Val(Str(v)), v, std::fabs(v) * 1e-14) << v;
  }
}

TEST(Conversion, RoundsToNearestSaturatesAndKeepsTwelveDecimalCounts) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  const std::pair<double, std::int64_t> cases[] = {
      {0.0021 * 1e12, 2100000000},  // product 2099999999.9999998
      {2.4, 2}, {2.6, 3}, {-2.6, -3}, {1e12, 1000000000000}, {5e-324, 0}, {std::nan(""), 0},
      {9223372036854774784.0, 9223372036854774784}, {1e300, kMax}, {9223372036854775808.0, kMax},
      {kInf, kMax}, {-1e300, kMin}, {-9223372036854775808.0, kMin}, {-kInf, kMin}};
  for (auto [v, n] : cases) EXPECT_EQ(RuntimeCvtReal64ToSInt64(v), n) << v;
  EXPECT_EQ(RuntimeCvtSInt64ToReal64(1000000000000), 1e12);
  // A sample of fractions with at most twelve decimals: k / 1e12 for k spread
  // over the whole range.
  for (std::int64_t k = 0; k <= 1000000000000; k += 7919999999) {
    const double x = static_cast<double>(k) / 1e12;
    EXPECT_EQ(RuntimeCvtReal64ToSInt64(1e12 * x), k) << k;
  }
  for (const char* text : {"0.1", "0.2", "0.7", "0.0021", "0.333333333333", "0.000000000001"}) {
    const double x = Val(text);
    const std::int64_t count = RuntimeCvtReal64ToSInt64(1e12 * x);
    EXPECT_EQ(static_cast<double>(count) / 1e12, x) << text;
  }
}

int hookCalls = 0;
void CountingHook() { ++hookCalls; }

TEST(BackgroundTask, APeriodThrottlesTheHookLongSearchesLetEventsThrough) {
  hookCalls = 0;
  RuntimeBackgroundTask();  // no hook: nothing happens
  EXPECT_EQ(hookCalls, 0);
  framework::SetBackgroundHook(CountingHook, std::chrono::milliseconds(0));
  for (int i = 0; i < 10; ++i) RuntimeBackgroundTask();
  EXPECT_EQ(hookCalls, 10);
  hookCalls = 0;
  framework::SetBackgroundHook(CountingHook, std::chrono::milliseconds(2));
  long calls = 0;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(60);
  for (; std::chrono::steady_clock::now() < end; ++calls) RuntimeBackgroundTask();
  framework::SetBackgroundHook(nullptr);
  EXPECT_EQ(framework::CurrentBackgroundHook(), nullptr);
  const int during = hookCalls;
  EXPECT_GE(during, 1);
  EXPECT_LE(during, 31);  // at most one per period
  EXPECT_GT(calls, 1000);
  // Removing the hook stops the ticker: nothing reaches the hook afterwards.
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  for (int i = 0; i < 1000; ++i) RuntimeBackgroundTask();
  EXPECT_EQ(hookCalls, during);
  // Long searches let events through without changing results.
  const auto x = test_mixtures::Mix({{Globals::H2O, 0.5}, {Globals::CO2, 0.5}});
  const double plain = Globals::Temperature(x, 30, 120, 0);
  const double a = Globals::aMixture(x, 500, 1);

  hookCalls = 0;
  framework::SetBackgroundHook(CountingHook, std::chrono::milliseconds(0));
  const double hooked = Globals::Temperature(x, 30, 120, 0);
  const double aHooked = Globals::aMixture(x, 500, 1);
  framework::SetBackgroundHook(nullptr);

  EXPECT_GT(hookCalls, 1000);  // every pass of every loop reaches the hook
  EXPECT_EQ(hooked, plain);
  EXPECT_EQ(aHooked, a);
}

TEST(WindowsAnsi, MapsWhatCodePage1252HasAndMarksTheRest) {
  EXPECT_EQ(ConvertToWindowsAnsi("isochore 20, 0.1"), "isochore 20, 0.1");
  EXPECT_EQ(ConvertToWindowsAnsi("°C"), "\xB0" "C");         // Latin-1 range
  EXPECT_EQ(ConvertToWindowsAnsi("€ – …"), "\x80 \x96 \x85");  // the 0x80..0x9F block
  EXPECT_EQ(ConvertToWindowsAnsi("cm³/mol"), "cm\xB3/mol");
  EXPECT_EQ(ConvertToWindowsAnsi("˚C"), "?C");  // the ring above is not in the code page
  EXPECT_EQ(ConvertToWindowsAnsi("H₂O 😀"), "H?O ?");
  EXPECT_EQ(ConvertToWindowsAnsi("a\xC3"), "a?");      // cut short
  EXPECT_EQ(ConvertToWindowsAnsi("\x80x"), "?x");      // stray continuation byte
}

}  // namespace
