#pragma once
// The number readers of item texts. Item texts come from project, alias and legacy object
// files that users pass around, so every reader checks what it reads and fails with the
// standard library's exception types and texts:
//   std::invalid_argument "invalid stoi argument" / "invalid stod argument" when the text
//   does not begin with a number, std::out_of_range "stoi argument out of range" /
//   "stod argument out of range" when the number does not fit.
// Like the standard conversions they skip leading white space and ignore what follows the
// number ("12px" reads 12).
#include <cstdint>
#include <string_view>

namespace Effect {

// A decimal integer: optional sign, then digits.
int32_t readInteger(std::string_view text);

// A finite decimal number: optional sign, digits with an optional point, optional exponent.
// "nan" and "inf" are not numbers here: a value read from a file must never carry a NaN
// or an infinity into the calculations that follow.
double readDouble(std::string_view text);

// Rounds to the nearest integer, halves away from zero (2.5 gives 3, -2.5 gives -3); a
// value that is not a number or does not fit 32 bits gives 0.
int32_t roundToInt(double value);

// True when the text, after leading white space, begins with an optional sign and a digit.
bool beginsWithInteger(std::string_view text);

}  // namespace Effect
