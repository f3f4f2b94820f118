#include "framework/fit_text.h"

#include <cstdlib>

namespace framework {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiAlnum(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// A character that glues a digit to a word or to another number.
bool IsWordChar(char c) { return IsAsciiAlnum(c) || c == '_' || c == '.'; }

// A number as written: its significant digits (no leading zeros) and the
// decimal exponent of the first of them.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
  bool exponentForm = false;
  bool outOfRange = false;  // an exponent above kLargestExponent
};

// A number with a larger exponent (no double has one) is left as written, and
// reading its exponent never overflows.
constexpr int kLargestExponent = 9999;

// Length of the number at `s[i]`, or 0 when none starts there.
std::size_t NumberLength(std::string_view s, std::size_t i) {
  if (i > 0 && IsWordChar(s[i - 1])) return 0;
  std::size_t j = i;
  if (j < s.size() && s[j] == '-') ++j;
  const std::size_t intStart = j;
  while (j < s.size() && IsDigit(s[j])) ++j;
  if (j == intStart) return 0;  // Str writes "0.5", never ".5"
  if (j + 1 < s.size() && s[j] == '.' && IsDigit(s[j + 1])) {
    ++j;
    while (j < s.size() && IsDigit(s[j])) ++j;
  }
  if (j < s.size() && (s[j] == 'e' || s[j] == 'E')) {
    std::size_t k = j + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    const std::size_t expStart = k;
    while (k < s.size() && IsDigit(s[k])) ++k;
    if (k > expStart) j = k;
  }
  // A point that ends a sentence is no decimal point: "... is 1.5."
  const bool fullStop = j < s.size() && s[j] == '.' && (j + 1 == s.size() || !IsWordChar(s[j + 1]));
  if (j < s.size() && IsWordChar(s[j]) && !fullStop) return 0;  // "12abc", "1.2.3"
  return j - i;
}

Decimal Parse(std::string_view n) {
  Decimal d;
  std::size_t i = 0;
  if (n[i] == '-') d.negative = true, ++i;
  int pointAt = -1;  // digits written before the point
  int written = 0;
  int firstSignificant = -1;
  for (; i < n.size() && n[i] != 'e' && n[i] != 'E'; ++i) {
    if (n[i] == '.') {
      pointAt = written;
      continue;
    }
    if (firstSignificant < 0 && n[i] == '0') {
      ++written;
      continue;
    }
    if (firstSignificant < 0) firstSignificant = written;
    d.digits.push_back(n[i]);
    ++written;
  }
  if (pointAt < 0) pointAt = written;
  int exp10 = 0;
  if (i < n.size()) {
    d.exponentForm = true;
    std::size_t k = i + 1;
    const bool minus = n[k] == '-';
    if (n[k] == '+' || n[k] == '-') ++k;
    for (; k < n.size() && !d.outOfRange; ++k) {
      exp10 = exp10 * 10 + (n[k] - '0');
      d.outOfRange = exp10 > kLargestExponent;
    }
    if (minus) exp10 = -exp10;
  }
  d.exponent = firstSignificant < 0 ? 0 : pointAt - firstSignificant - 1 + exp10;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Rounds to `keep` significant digits, half away from zero.
void Round(Decimal& d, std::size_t keep) {
  if (d.digits.size() <= keep) return;
  const bool up = d.digits[keep] >= '5';
  d.digits.resize(keep);
  if (up) {
    std::size_t k = keep;
    while (k > 0 && d.digits[k - 1] == '9') d.digits[--k] = '0';
    if (k == 0) {
      d.digits.insert(d.digits.begin(), '1');
      d.digits.pop_back();
      ++d.exponent;
    } else {
      ++d.digits[k - 1];
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

// %g at precision `precision`, trailing zeros dropped, at least two exponent
// digits: what Str writes at that precision.
std::string Write(const Decimal& d, int precision) {
  std::string out = d.negative ? "-" : "";
  const std::string& m = d.digits;
  const int x = d.exponent;
  if (d.exponentForm || x < -4 || x >= precision) {
    out.push_back(m[0]);
    if (m.size() > 1) {
      out.push_back('.');
      out.append(m, 1);
    }
    out.append(x < 0 ? "e-" : "e+");
    const std::string e = std::to_string(std::abs(x));
    if (e.size() < 2) out.push_back('0');
    out.append(e);
  } else if (x < 0) {
    out.append("0.");
    out.append(static_cast<std::size_t>(-x - 1), '0');
    out.append(m);
  } else {
    const auto whole = static_cast<std::size_t>(x) + 1;
    out.append(m, 0, whole);
    if (m.size() <= whole) {
      out.append(whole - m.size(), '0');
    } else {
      out.push_back('.');
      out.append(m, whole);
    }
  }
  return out;
}

}  // namespace

std::string RoundNumbers(std::string_view text, int digits) {
  const auto keep = static_cast<std::size_t>(digits < 1 ? 1 : digits);
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = NumberLength(text, i);
    if (n == 0) {
      out += text[i++];
      continue;
    }
    const std::string_view number = text.substr(i, n);
    i += n;
    Decimal d = Parse(number);
    if (d.digits.size() <= keep || d.outOfRange) {
      out += number;  // nothing to round: as written
      continue;
    }
    Round(d, keep);
    out += Write(d, digits);
  }
  return out;
}

std::string FitText(std::string_view text, const std::function<int(std::string_view)>& width, int room) {
  int narrowest = width(text);
  if (narrowest <= room) return std::string(text);
  std::string fallback(text), previous(text);
  for (int digits = 14; digits >= kFewestFitDigits; --digits) {
    std::string rounded = RoundNumbers(text, digits);
    if (rounded == previous) continue;
    const int w = width(rounded);
    if (w <= room) return rounded;
    if (w < narrowest) narrowest = w, fallback = rounded;
    previous = std::move(rounded);
  }
  return fallback;
}

}  // namespace framework
