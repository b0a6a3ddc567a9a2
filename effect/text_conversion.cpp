#include "effect/text_conversion.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace Effect {

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view skipSpaces(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  return text.substr(i);
}

}  // namespace

bool beginsWithInteger(std::string_view text) {
  text = skipSpaces(text);
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  return i < text.size() && isDigit(text[i]);
}

int32_t readInteger(std::string_view text) {
  text = skipSpaces(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size() || !isDigit(text[i])) throw std::invalid_argument("invalid stoi argument");
  // Accumulates the magnitude; anything past 2^31 is out of range for either sign.
  constexpr int64_t kLimit = int64_t{1} << 31;
  int64_t magnitude = 0;
  bool overflow = false;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kLimit) {
      overflow = true;
      magnitude = kLimit + 1;  // keeps the accumulator bounded while the digits run on
    }
  }
  if (overflow || (!negative && magnitude > kLimit - 1))
    throw std::out_of_range("stoi argument out of range");
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

double readDouble(std::string_view text) {
  text = skipSpaces(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // A number starts with a digit, or with a point followed by a digit.
  const bool startsNumber =
      i < text.size() &&
      (isDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && isDigit(text[i + 1])));
  if (!startsNumber) throw std::invalid_argument("invalid stod argument");
  double value = 0.0;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) throw std::out_of_range("stod argument out of range");
  if (error != std::errc() || end == first || !std::isfinite(value))
    throw std::invalid_argument("invalid stod argument");
  return negative ? -value : value;
}

int32_t roundToInt(double value) {
  if (std::isnan(value)) return 0;
  const double rounded = std::round(value);  // halves away from zero
  if (rounded < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
      rounded > static_cast<double>(std::numeric_limits<int32_t>::max()))
    return 0;
  return static_cast<int32_t>(rounded);
}

}  // namespace Effect
