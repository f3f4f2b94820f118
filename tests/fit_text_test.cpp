// The fitting rule on its own: a width in characters stands for a font.
#include "framework/fit_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "framework/runtime.h"

namespace {

using framework::FitText;
using framework::RoundNumbers;

// One unit per character (a UTF-8 continuation byte adds nothing).
int Chars(std::string_view s) {
  int n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

std::string Fit(const std::string& text, int room) { return FitText(text, Chars, room); }

TEST(FitText, ANumberLosesDigitsUntilItFitsButKeepsSix) {
  const std::string root = "1.25619073661443 and -31.1725029060663\u00B7i";
  const struct {
    std::string text;
    int room;
    const char* fitted;
  } cases[] = {
      // A text that fits is drawn as it is.
      {"246.921778526771", 16, "246.921778526771"}, {"246.921778526771", 40, "246.921778526771"},
      {"", 0, ""}, {"0", 1, "0"}, {root, 40, root.c_str()},
      // As a spreadsheet narrows a column: the most digits that fit.
      {"246.921778526771", 15, "246.92177852677"}, {"246.921778526771", 12, "246.92177853"},
      {"246.921778526771", 10, "246.921779"}, {"246.921778526771", 7, "246.922"},
      {"-31.1725029060663", 8, "-31.1725"}, {"-31.1725029060663", 11, "-31.1725029"},
      {"0.0548812517497845", 10, "0.05488125"},
      // Never fewer than six: the six-digit form, for the caller to draw
      // smaller; a number with six digits or fewer is never rounded.
      {"246.921778526771", 6, "246.922"}, {"246.921778526771", 0, "246.922"},
      {"463.166", 3, "463.166"}, {"1e+20", 2, "1e+20"},
      // Exponent form stays, with Str's two-digit exponent.
      {"1.23456789012345e-05", 12, "1.234568e-05"}, {"-6.02214076543219e+23", 12, "-6.02214e+23"},
      {"-6.02214076543219e+23", 5, "-6.02214e+23"},
      // Large fixed numbers switch to exponent form only where %g would, and
      // a wider exponent form is never preferred to the narrowest one.
      {"123456789012.345", 12, "123456789012"}, {"123456789.123456", 9, "123456789"},
      {"123456789.123456", 5, "123456789"},
      // Several numbers in one text are rounded alike.
      {root, 30, "1.256190737 and -31.17250291\u00B7i"}, {root, 10, "1.25619 and -31.1725\u00B7i"},
      {"0, 1000.5", 1, "0, 1000.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(Fit(c.text, c.room), c.fitted) << c.text << " in " << c.room;
}

TEST(FitText, TextsThatAreNoNumbersAreNeverRounded) {
  for (const char* text : {"no solution", "put number", "Adjust fractions!", "H2O", "C2H6",
                           "Brennick (1977)", "Software Package Pelmar, v.2", "1.2.3.4", "12abc",
                           "x1234567890123", "cm /mol"}) {
    EXPECT_EQ(Fit(text, 0), text);
    EXPECT_EQ(RoundNumbers(text, 6), text);
  }
  // Numbers among words are, word neighbours are not.
  EXPECT_EQ(RoundNumbers("T = 673.150000000001 K, H2O", 6), "T = 673.15 K, H2O");
}

TEST(RoundNumbers, OddWritingsAreRoundedOrKeptButNeverMisread) {
  // A sign of its own, a number that ends a sentence, numbers in brackets
  // and lists: the number is rounded, what stands around it kept.
  EXPECT_EQ(RoundNumbers("+5.12345678901234", 6), "+5.12346");
  EXPECT_EQ(RoundNumbers("P = 1.23456789012345.", 6), "P = 1.23457.");
  EXPECT_EQ(RoundNumbers("(3.14159265358979,2.71828182845905)", 6), "(3.14159,2.71828)");
  EXPECT_EQ(RoundNumbers("1-1.23456789012345", 6), "1-1.23457");
  // Counts and short numbers in messages are left alone.
  EXPECT_EQ(RoundNumbers("Solution after 37 iterations", 6), "Solution after 37 iterations");
  // Zeros, words that no number is, and forms Str never writes.
  for (const char* text : {"-0", "-0.000000000000000", "0", "inf", "-inf", "nan", "-nan", "1e400",
                           "1.23456789012345e", "1.23456789012345e+", "-.5", "5.", "v1.23456789",
                           "1.2.3."}) {
    EXPECT_EQ(RoundNumbers(text, 6), text);
  }
  EXPECT_EQ(RoundNumbers("1.23456789012345e+400", 6), "1.23457e+400");
  // An exponent beyond any int is not read (no overflow): kept as written.
  EXPECT_EQ(RoundNumbers("1.23456789012345e99999999999", 6), "1.23456789012345e99999999999");
  EXPECT_EQ(RoundNumbers("-1.23456789012345e-99999999999", 6), "-1.23456789012345e-99999999999");
}

TEST(RoundNumbers, RoundsHalfAwayFromZeroOnTheDecimalsShown) {
  const struct {
    const char* text;
    int digits;
    const char* rounded;
  } cases[] = {
      {"0.1234565", 6, "0.123457"}, {"-0.1234565", 6, "-0.123457"}, {"0.1234564999", 6, "0.123456"},
      // Carries run through nines into a new leading digit.
      {"9.99999999999999", 14, "10"}, {"999999.99999999", 6, "1e+06"}, {"-9.99999999999999e-05", 6, "-1e-04"},
      // Trailing zeros dropped, as Str drops them.
      {"1.20000000000001", 6, "1.2"}, {"2000.00000000001", 6, "2000"}, {"0.000123456789012", 6, "0.000123457"},
  };
  for (const auto& c : cases) EXPECT_EQ(RoundNumbers(c.text, c.digits), c.rounded) << c.text;
}

TEST(RoundNumbers, AgreesWithStrAtFewerDigits) {
  // Rounding Str's 15 digits to d digits is Str's rule at d digits (the
  // values are chosen away from ties, where rounding twice could differ).
  for (double v : {246.921778526771, -31.1725029060663, 0.0548812517497838, 6.02214076e23,
                   1.23456789012e-7, 12345678.9012345, 8.314472}) {
    const std::string full = Str(v);
    for (int d = 6; d <= 14; ++d) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.*g", d, v);
      EXPECT_EQ(RoundNumbers(full, d), expected) << full << " at " << d;
    }
  }
}

}  // namespace
