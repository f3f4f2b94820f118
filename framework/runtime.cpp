#include "framework/runtime.h"

#include <charconv>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>
#include <cmath>
#include <limits>

#include <pthread.h>

namespace framework {
namespace {

// The ticker raises backgroundDue once per period while a computation runs:
// armed by the first RuntimeBackgroundTask after the program was idle,
// disarmed when control returns to the event loop (BackgroundIdle). Unarmed
// it waits without a timeout, so an idle program is never woken by it. It
// touches nothing but the flag, so all event processing stays on the
// caller's thread.
class Ticker {
 public:
  ~Ticker() { Stop(); }

  void Start(std::chrono::milliseconds period) {
    Stop();
    thread_ = std::jthread([this, period](std::stop_token stop) { Run(stop, period); });
  }

  void Stop() {
    if (thread_.joinable()) {
      thread_.request_stop();
      thread_.join();
    }
    armed_ = false;
  }

  bool Armed() const { return armed_.load(std::memory_order_relaxed); }

  void Arm() {
    {
      std::lock_guard lock(mutex_);
      armed_ = true;
    }
    wake_.notify_one();
  }

  // The thread sees it at the end of the period it is sleeping, and then
  // waits for the next Arm.
  void Disarm() { armed_ = false; }

  std::uint64_t Ticks() const { return ticks_.load(std::memory_order_relaxed); }

 private:
  void Run(std::stop_token stop, std::chrono::milliseconds period) {
    pthread_setname_np(pthread_self(), "ticker");
    std::unique_lock lock(mutex_);
    while (wake_.wait(lock, stop, [this] { return Armed(); })) {
      wake_.wait_for(lock, stop, period, [] { return false; });
      if (stop.stop_requested()) break;
      if (Armed()) {
        detail::backgroundDue.store(true, std::memory_order_relaxed);
        ticks_.fetch_add(1, std::memory_order_relaxed);
      }
    }
  }

  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::atomic<bool> armed_{false};
  std::atomic<std::uint64_t> ticks_{0};
  std::jthread thread_;
};

Ticker ticker;
std::atomic<BackgroundHook> hook{nullptr};
bool everyCall = false;

}  // namespace

namespace detail {
std::atomic<bool> backgroundDue{false};

void RunBackgroundHook() {
  if (!everyCall) {
    backgroundDue.store(false, std::memory_order_relaxed);
    if (!ticker.Armed()) {
      // A computation begins: its first tick comes one period from now.
      ticker.Arm();
      return;
    }
  }
  // The hook may have been removed since the flag was raised.
  if (BackgroundHook h = hook.load(std::memory_order_relaxed)) h();
}
}  // namespace detail

void SetBackgroundHook(BackgroundHook newHook, std::chrono::milliseconds period) {
  ticker.Stop();
  detail::backgroundDue.store(false, std::memory_order_relaxed);
  hook.store(newHook, std::memory_order_relaxed);
  everyCall = newHook != nullptr && period.count() <= 0;
  if (newHook == nullptr) return;
  if (!everyCall) ticker.Start(period);
  // Periodic: the first RuntimeBackgroundTask arms the ticker.
  detail::backgroundDue.store(true, std::memory_order_relaxed);
}

void BackgroundIdle() {
  if (!ticker.Armed()) return;
  ticker.Disarm();
  // The next computation's first pass arms the ticker again.
  detail::backgroundDue.store(true, std::memory_order_relaxed);
}

std::uint64_t BackgroundTicks() { return ticker.Ticks(); }

BackgroundHook CurrentBackgroundHook() { return hook.load(std::memory_order_relaxed); }

}  // namespace framework

std::int64_t RuntimeCvtReal64ToSInt64(double v) {
  // 2^63 is exactly representable; every double below it in magnitude rounds
  // to a value that fits, so llround is safe inside these bounds.
  constexpr double kTwo63 = 9223372036854775808.0;
  if (std::isnan(v)) return 0;
  if (v >= kTwo63) return std::numeric_limits<std::int64_t>::max();
  if (v < -kTwo63) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(std::llround(v));
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of s of the form [+-]digits[.digits][e[+-]digits]
// (digits before or after the point may be missing, not both).
std::size_t NumberPrefix(std::string_view s) {
  std::size_t i = 0, n = s.size();
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t intDigits = 0;
  while (i < n && IsDigit(s[i])) ++i, ++intDigits;
  std::size_t fracDigits = 0;
  if (i < n && s[i] == '.') {
    std::size_t j = i + 1;
    while (j < n && IsDigit(s[j])) ++j, ++fracDigits;
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t expDigits = 0;
    while (j < n && IsDigit(s[j])) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i;
}

}  // namespace

double Val(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  std::string_view s = text.substr(start);
  std::size_t len = NumberPrefix(s);
  if (len == 0) return 0.0;

  bool negative = false;
  std::string_view body = s.substr(0, len);
  if (body.front() == '+' || body.front() == '-') {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value,
                                   std::chars_format::general);
  // Out of range (1e999, or an underflow past the smallest subnormal) and
  // anything unparsed read as 0: a typed value never enters the numerics as a
  // non-finite number.
  if (ec != std::errc() || !std::isfinite(value)) return 0.0;
  (void)ptr;
  if (negative) value = -value;
  return value + 0.0;  // turns -0 into 0
}

bool IsNumber(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  const std::size_t len = NumberPrefix(text);
  if (len == 0 || len != text.size()) return false;
  // Val reads an out-of-range number as 0; such text is not a number here.
  std::string_view body = text;
  if (body.front() == '+' || body.front() == '-') body.remove_prefix(1);
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value,
                                   std::chars_format::general);
  return ec == std::errc() && ptr == body.data() + body.size() && std::isfinite(value);
}

std::string Str(double v) {
  if (v == 0.0) return "0";
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  if (ec != std::errc()) return "0";
  return std::string(buf, ptr);
}

namespace {

// Code points of bytes 0x80..0x9F in code page 1252 (0 where the byte is
// unassigned); 0xA0..0xFF are Latin-1.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] != 0 && kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string ConvertToWindowsAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    std::size_t n = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (c >= 0x80 && n == 0) {  // a stray continuation byte
      out.push_back('?');
      ++i;
      continue;
    }
    char32_t cp = n == 0 ? c : n == 1 ? (c & 0x1F) : n == 2 ? (c & 0x0F) : (c & 0x07);
    bool ok = i + n < utf8.size() || n == 0;
    for (std::size_t k = 1; ok && k <= n; ++k) {
      const auto d = static_cast<unsigned char>(utf8[i + k]);
      if ((d & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (!ok) {
      out.push_back('?');
      ++i;
      continue;
    }
    out.push_back(ToCp1252(cp));
    i += n + 1;
  }
  return out;
}
