#pragma once
// Colour conversions between the forms the program uses: RGB floats, HSV floats, three
// bytes and hexadecimal text. The colour window, palettes, colour parameters, scripts and
// text tags share them, so that a colour reads and prints the same everywhere.
//
// Floats are nominally 0 ... 1; a hue is a fraction of a full turn, in [0, 1). Hexadecimal
// text is two digits per channel, red first, without "#". "Wide" text is UTF-16, the form of
// the window toolkit's strings.
#include <cstdint>
#include <string>
#include <string_view>

namespace Media::Color {

struct Hsv {
  float hue = 0.0f;
  float saturation = 0.0f;
  float value = 0.0f;
};

struct Rgba {
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  float alpha = 1.0f;
};

struct Rgb8 {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// Grey (no spread between the channels) has hue 0; black has saturation 0.
Hsv rgbToHsv(float red, float green, float blue);
// Any hue is taken modulo one turn (1.25 is 0.25, -0.25 is 0.75). Alpha is 1.
Rgba hsvToRgb(float hue, float saturation, float value);
// Each channel times 255, rounded half away from zero, clamped to 0 ... 255.
Rgb8 toRgb8(float red, float green, float blue);
// Six lower-case digits, "ff0010" for (255, 0, 16).
std::u16string toHexString(Rgb8 color);

// Spaces (character 32 only) around the digits are ignored. Six digits give red, green and
// blue with alpha 1; eight give alpha too. Blank text or another length throws
// std::invalid_argument "RGB argument is invalid."; a character that is not a hexadecimal
// digit throws std::invalid_argument "invalid stoi argument".
Rgba parseRgba(std::string_view text);
Rgba parseRgbaW(std::u16string_view text);
// Six digits are read into `color`; another length leaves it as it was. Blank text and
// characters that are not hexadecimal digits throw as parseRgba does.
void parseRgb(std::string_view text, Rgb8& color);
void parseRgbW(std::u16string_view text, Rgb8& color);

}  // namespace Media::Color
