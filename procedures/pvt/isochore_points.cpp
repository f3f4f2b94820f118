#include "procedures/pvt/isochore_points.h"

#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/pvt/texts.h"

namespace pvt {

IsochoreRange IsochoreTemperatures(std::string_view minimum, std::string_view maximum,
                                   std::string_view interval) {
  IsochoreRange range;
  RangeFaults& f = range.faults;
  const bool minNumber = IsNumber(minimum), maxNumber = IsNumber(maximum);
  const double Tmin = Val(minimum) + kCelsiusOffset;
  const double Tmax = Val(maximum) + kCelsiusOffset;
  const double step = Val(interval);

  // 0 K itself is refused: its first row would divide by sqrt(0).
  f.minimum = !minNumber || !(Tmin > 0);
  // Each check is made whatever the others found, so one press marks every
  // faulty field.
  f.maximum = !maxNumber || !(Tmin < Tmax);
  f.interval = !IsNumber(interval) || !(step > 0) || !(Tmin + step > Tmin);
  if (!f.interval && !f.minimum && !f.maximum) {
    // (Tmax - Tmin) / step counts the steps; one more point stands at Tmin.
    f.interval = !((Tmax - Tmin) / step < static_cast<double>(kMaxIsochorePoints));
  }
  if (f.Any()) return range;

  double T = Tmin - step;
  // Bounded by the count: the check above keeps the points below it; a sum
  // that stops moving, or strays past it, fails the step instead.
  for (std::size_t pass = 0; pass <= kMaxIsochorePoints; ++pass) {
    const double next = T + step;
    if (!(next > T)) break;  // stalled: refused below
    T = next;
    if (range.kelvins.empty() && !(T > 0)) {
      // A step that dwarfs the minimum can round the first point to 0 K.
      f.minimum = true;
      return range;
    }
    if (!(T <= Tmax)) return range;
    range.kelvins.push_back(T);
  }
  range.kelvins.clear();
  f.interval = true;
  return range;
}

std::string IsochoreFileName(double V) { return Str(V) + ".txt"; }

std::vector<std::string> IsochoreHeader(std::int32_t model) {
  std::vector<std::string> lines{"Modified Redlich-Kwong equation of state"};
  switch (model) {
    case Globals::Brennick1977: lines.push_back("reference: Brennick (1977)"); break;
    case Globals::Brennick1981: lines.push_back("reference: Brennick (1981)"); break;
    case Globals::Ostrem1999: lines.push_back("reference: Ostrem (1999)"); break;
    default: break;
  }
  lines.push_back("Temperature, Pressure");
  lines.push_back("(Celsius), (MPa)");
  return lines;
}

std::string IsochoreLine(double kelvin, double pressure) {
  return Str(kelvin - kCelsiusOffset) + ", " + ResultText(pressure);
}

}  // namespace pvt
