// The points of an isochore, shared by its table and its export file: the
// check of the three typed range fields and the temperatures of the points.
// No Qt here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pvt {

// More points than this are refused: the table and the file stay small and
// every loop over the points ends.
inline constexpr std::size_t kMaxIsochorePoints = 100000;

// Which of the three fields failed its check.
struct RangeFaults {
  bool minimum = false;
  bool maximum = false;
  bool interval = false;  // also for a step that makes too many points
  bool Any() const { return minimum || maximum || interval; }
};

struct IsochoreRange {
  RangeFaults faults;
  // The temperatures of the points in K, rising; empty when a check failed.
  std::vector<double> kelvins;
};

// Checks the minimum and maximum (degrees Celsius) and the step (degrees) as
// typed, and lists the points: T = (minimum + 273.15) - step, then T = T + step
// as a running sum for as long as T <= maximum + 273.15.
// A field fails when its text is not a number; the minimum also when it is
// not above 0 K; the maximum when it is not above the minimum; the step when
// it is not above 0, too small to change the minimum, too small to move the
// running sum on, or makes more than kMaxIsochorePoints points.
IsochoreRange IsochoreTemperatures(std::string_view minimum, std::string_view maximum,
                                   std::string_view interval);

// The export file: its name for molar volume V, its header lines for a
// parameter set (the reference line is left out for an unknown set) and the
// line of one point. The file's text is UTF-8 here; the writer converts it.
std::string IsochoreFileName(double V);
std::vector<std::string> IsochoreHeader(std::int32_t model);
std::string IsochoreLine(double kelvin, double pressure);

}  // namespace pvt
