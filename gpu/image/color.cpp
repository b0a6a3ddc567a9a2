#include "gpu/image/color.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace Media::Color {
namespace {

constexpr const char* kInvalidText = "RGB argument is invalid.";
constexpr const char* kInvalidDigit = "invalid stoi argument";

// The text between spaces (character 32 only); blank text is refused.
template <typename Char>
std::basic_string_view<Char> trimmed(std::basic_string_view<Char> text) {
  while (!text.empty() && text.front() == Char{' '}) text.remove_prefix(1);
  while (!text.empty() && text.back() == Char{' '}) text.remove_suffix(1);
  if (text.empty()) throw std::invalid_argument(kInvalidText);
  return text;
}

// Two hexadecimal digits, both required: a stray character is an error, never a shorter
// number, so that a mistyped colour is reported rather than read as another colour.
template <typename Char>
uint8_t readPair(std::basic_string_view<Char> text, std::size_t index) {
  std::array<char, 2> digits{};
  for (std::size_t i = 0; i < 2; ++i) {
    const Char c = text[index * 2 + i];
    // Only ASCII can be a digit; anything wider must not be truncated into one.
    if (static_cast<uint32_t>(c) > 0x7F) throw std::invalid_argument(kInvalidDigit);
    digits[i] = static_cast<char>(c);
  }
  uint8_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + 2, value, 16);
  if (error != std::errc{} || end != digits.data() + 2)
    throw std::invalid_argument(kInvalidDigit);
  return value;
}

template <typename Char>
Rgba parseRgbaText(std::basic_string_view<Char> text) {
  const auto digits = trimmed(text);
  if (digits.size() != 6 && digits.size() != 8) throw std::invalid_argument(kInvalidText);
  std::array<float, 4> channels{0.0f, 0.0f, 0.0f, 1.0f};
  for (std::size_t i = 0; i < digits.size() / 2; ++i)
    channels[i] = static_cast<float>(readPair(digits, i)) / 255.0f;
  return {channels[0], channels[1], channels[2], channels[3]};
}

template <typename Char>
void parseRgbText(std::basic_string_view<Char> text, Rgb8& color) {
  const auto digits = trimmed(text);
  if (digits.size() != 6) return;
  // All three are read before any is stored: a bad digit leaves the colour as it was.
  const Rgb8 parsed{readPair(digits, 0), readPair(digits, 1), readPair(digits, 2)};
  color = parsed;
}

uint8_t toByte(float channel) {
  // Clamped as a float first: lround of a huge or NaN value is undefined.
  const float scaled = channel * 255.0f;
  if (!(scaled > 0.0f)) return 0;
  if (scaled >= 255.0f) return 255;
  return static_cast<uint8_t>(std::lround(scaled));
}

}  // namespace

Hsv rgbToHsv(float red, float green, float blue) {
  float max = 0.0f;
  float spread = 0.0f;
  float sector = 0.0f;
  if (red >= green && red >= blue) {
    max = red;
    spread = red - std::min(green, blue);
    sector = (green - blue) / spread;
  } else if (green >= blue) {
    max = green;
    spread = green - std::min(red, blue);
    sector = (blue - red) / spread + 2.0f;
  } else {
    max = blue;
    spread = blue - std::min(red, green);
    sector = (red - green) / spread + 4.0f;
  }
  // A grey has no spread: its sector is 0/0 and is not used.
  float hue = std::fmod((spread > 0.0f ? sector : 0.0f) / 6.0f, 1.0f);
  if (hue < 0.0f) hue += 1.0f;
  return {hue, max > 0.0f ? spread / max : 0.0f, max};
}

Rgba hsvToRgb(float hue, float saturation, float value) {
  float position = std::fmod(hue, 1.0f) * 6.0f;
  if (position < 0.0f) position += 6.0f;
  const float low = (1.0f - saturation) * value;
  const float span = value - low;
  // Rounding can bring a hue just below 0 up to exactly 6; that and anything else outside
  // sectors 0 ... 4 takes the last sector, which meets sector 0 at red.
  const int sectorIndex = position >= 0.0f && position < 5.0f ? static_cast<int>(position) : 5;
  switch (sectorIndex) {
    case 0: return {value, span * position + low, low, 1.0f};
    case 1: return {span * (2.0f - position) + low, value, low, 1.0f};
    case 2: return {low, value, span * (position - 2.0f) + low, 1.0f};
    case 3: return {low, span * (4.0f - position) + low, value, 1.0f};
    case 4: return {span * (position - 4.0f) + low, low, value, 1.0f};
    default: return {value, low, span * (6.0f - position) + low, 1.0f};
  }
}

Rgb8 toRgb8(float red, float green, float blue) {
  return {toByte(red), toByte(green), toByte(blue)};
}

std::u16string toHexString(Rgb8 color) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text;
  text.reserve(6);
  for (const uint8_t channel : {color.red, color.green, color.blue}) {
    text.push_back(kDigits[channel >> 4]);
    text.push_back(kDigits[channel & 0x0F]);
  }
  return text;
}

Rgba parseRgba(std::string_view text) { return parseRgbaText(text); }
Rgba parseRgbaW(std::u16string_view text) { return parseRgbaText(text); }
void parseRgb(std::string_view text, Rgb8& color) { parseRgbText(text, color); }
void parseRgbW(std::u16string_view text, Rgb8& color) { parseRgbText(text, color); }

}  // namespace Media::Color
