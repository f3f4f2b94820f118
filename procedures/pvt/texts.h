// The fixed texts of the procedure windows and how a computed number is
// shown. No Qt here.
#pragma once

#include <array>
#include <cmath>
#include <string>

#include "framework/runtime.h"

namespace pvt {

// U+02DA (ring above), not the degree sign.
inline const std::string kKelvinText = "Kelvin";
inline const std::string kCelsiusText = "\u02DACelsius";
inline const std::string kInK = "in K";
inline const std::string kInCelsius = "in \u02DAC";
// The only message written into an input field.
inline const std::string kPutNumber = "put number";
// Shown in place of a result that solves nothing.
inline const std::string kNoSolution = "no solution";

inline constexpr double kCelsiusOffset = 273.15;

// The gases as the lists name them, by GasIndex.
inline const std::array<std::string, 11> kGasNames = {"H2O", "CO2", "N2", "H2S", "NH3", "H2",
                                                      "O2",  "CO",  "Ar", "CH4", "C2H6"};

// Str of a finite number; "no solution" for a NaN or an infinity, which no
// window or file shows.
inline std::string ResultText(double v) { return std::isfinite(v) ? Str(v) : kNoSolution; }

}  // namespace pvt
