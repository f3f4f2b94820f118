// How a text too wide for its control is drawn: the numbers in it are rounded
// to fewer significant digits, as a spreadsheet's General format fits a number
// to its column, before anything is drawn smaller. Only the drawing changes;
// the text a control holds keeps every digit. No Qt here.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace framework {

// Fewest significant digits a rounded number keeps.
inline constexpr int kFewestFitDigits = 6;

// `text` with every number in it that has more than `digits` significant
// digits rounded to `digits` (half away from zero) and written as Str writes
// numbers: %g rules at that precision, trailing zeros dropped; a number in
// exponent form stays in exponent form. A number is a run
// [-]digits[.digits][e[+-]digits] that is not part of a word ("H2O", "C2H6"
// hold none; a full stop may end it). A number with an exponent beyond 9999
// and everything else are kept byte for byte.
std::string RoundNumbers(std::string_view text, int digits);

// The text to draw in `room` pixels, where `width` measures a text: `text`
// itself when it fits; else its rounded form with the most digits (14 down to
// kFewestFitDigits) that fits; else the narrowest rounded form, which the
// caller then draws smaller. A text without numbers comes back unchanged.
std::string FitText(std::string_view text, const std::function<int(std::string_view)>& width, int room);

}  // namespace framework
