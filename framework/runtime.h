// The framework's runtime services that the numerics use: number <-> text,
// double <-> int64 conversion, mathematics and the background-task hook.
// Nothing here depends on Qt.
#pragma once

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace framework {

using BackgroundHook = void (*)();

namespace detail {
// Raised by a ticker thread once per period while a computation runs with a
// hook installed, and left raised while idle so that the next computation's
// first pass starts the ticker; the numeric loops only read it, so a pass
// costs one load and a predicted branch.
extern std::atomic<bool> backgroundDue;
void RunBackgroundHook();
}  // namespace detail

// How often an installed hook gets to process events during a long loop.
inline constexpr std::chrono::milliseconds kDefaultHookPeriod{15};

// Installs the function that processes pending events (the GUI installs one;
// tests and benchmarks run without). RuntimeBackgroundTask calls it at most
// once per `period`; a period of zero calls it on every RuntimeBackgroundTask.
// The hook always runs on the thread that calls RuntimeBackgroundTask.
// nullptr removes the hook.
void SetBackgroundHook(BackgroundHook hook, std::chrono::milliseconds period = kDefaultHookPeriod);
BackgroundHook CurrentBackgroundHook();

// Tells that control has returned to the event loop: the ticker stops until
// the next RuntimeBackgroundTask, so an idle program is not woken.
void BackgroundIdle();
// How many periods the ticker has counted out since the program started.
std::uint64_t BackgroundTicks();

}  // namespace framework

// Called once per pass of every loop of the program's own code, so windows
// stay responsive during long searches.
inline void RuntimeBackgroundTask() {
  if (framework::detail::backgroundDue.load(std::memory_order_relaxed)) [[unlikely]] {
    framework::detail::RunBackgroundHook();
  }
}

// Round to nearest, saturating at the int64 limits; NaN gives 0. Every mole
// fraction with at most twelve decimals times 1e12 becomes exactly its count.
std::int64_t RuntimeCvtReal64ToSInt64(double v);
inline double RuntimeCvtSInt64ToReal64(std::int64_t v) { return static_cast<double>(v); }

// Text to number: leading blanks skipped, the longest decimal prefix read
// ("." as the decimal point, whatever the locale), 0 for anything else and for
// text that would read as NaN or an infinity.
double Val(std::string_view text);

// True when the whole text, blanks around it aside, is one number that Val
// reads as a finite value: "12.5", " -3e2 ". False for "", "abc", "12abc",
// "put number" and "1e999".
bool IsNumber(std::string_view text);

// Number to text: 15 significant digits, %g rules, trailing zeros dropped,
// locale-free; negative zero shows as "0".
std::string Str(double v);

// UTF-8 text to the Windows ANSI encoding (code page 1252), for files meant
// for other programs; a character that code page lacks becomes '?'.
std::string ConvertToWindowsAnsi(std::string_view utf8);

inline double Sqrt(double v) { return std::sqrt(v); }
inline double Log(double v) { return std::log(v); }
inline double Exp(double v) { return std::exp(v); }
inline double Pow(double base, double exponent) { return std::pow(base, exponent); }
inline double Abs(double v) { return std::fabs(v); }
inline double ATan(double v) { return std::atan(v); }
inline double Cos(double v) { return std::cos(v); }
inline double Min(double u, double v) { return u < v ? u : v; }
