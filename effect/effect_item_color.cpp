#include "effect/effect_item_color.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "effect/text_conversion.h"
#include "system/format.h"
#include "system/text.h"

namespace Effect {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Exactly six hex digits, spaces around them trimmed: 0xRRGGBB.
uint32_t parseRgb(std::string_view text) {
  std::string trimmed(text);
  System::trimSpaces(trimmed);
  if (trimmed.size() != 6) throw std::invalid_argument("RGB argument is invalid.");
  uint32_t rgb = 0;
  for (char c : trimmed) {
    const int digit = hexDigit(c);
    if (digit < 0) throw std::invalid_argument("RGB argument is invalid.");
    rgb = rgb << 4 | static_cast<uint32_t>(digit);
  }
  return rgb;
}

// Four hex digits, low byte first, as a signed 16-bit value.
int readLowFirst16(std::string_view digits) {
  int d[4];
  for (int k = 0; k < 4; ++k) {
    d[k] = hexDigit(digits[k]);
    if (d[k] < 0) throw std::invalid_argument("RGB argument is invalid.");
  }
  const int low = d[0] * 16 + d[1];
  const int high = d[2] * 16 + d[3];
  return static_cast<int16_t>(static_cast<uint16_t>(high << 8 | low));
}

uint8_t toByte(float value) {
  const long rounded = std::lround(value);  // halves away from zero
  return static_cast<uint8_t>(std::clamp<long>(rounded, 0, 255));
}

}  // namespace

EffectItemColor::EffectItemColor(EffectItemList& items, std::string_view itemName, uint32_t rgb,
                                 uint8_t code)
    : EffectItem(items, code, itemName) {
  setRgb(rgb);
  none = code == ItemType::ColorOrNone && (rgb & 0xFFFFFF) == kNoColor;
}

void EffectItemColor::setRgb(uint32_t rgb) {
  red = static_cast<uint8_t>(rgb >> 16);
  green = static_cast<uint8_t>(rgb >> 8);
  blue = static_cast<uint8_t>(rgb);
}

void EffectItemColor::copyFrom(const EffectItem& other) {
  const auto& source = sameKind<EffectItemColor>(other);
  red = source.red;
  green = source.green;
  blue = source.blue;
  none = source.none;
}

bool EffectItemColor::equals(const EffectItem& other) const {
  const auto& source = sameKind<EffectItemColor>(other);
  return red == source.red && green == source.green && blue == source.blue &&
         none == source.none;
}

std::unique_ptr<EffectItem> EffectItemColor::clone() const {
  return std::make_unique<EffectItemColor>(*this);
}

std::string EffectItemColor::toString() const {
  if (none) return "";
  return System::formatString("%02x%02x%02x", red, green, blue);
}

void EffectItemColor::fromString(std::string_view text) {
  if (text.empty()) {
    setRgb(0);
    none = true;
    return;
  }
  setRgb(parseRgb(text));
  none = false;
}

void EffectItemColor::fromScriptString(std::string_view text) {
  if (!beginsWithInteger(text)) {
    fromString(text);
    return;
  }
  setRgb(static_cast<uint32_t>(readInteger(text)));
  none = false;
}

void EffectItemColor::loadKvoParameter(std::string_view text, std::string_view key,
                                       std::string_view, bool currentForm) {
  if (key.starts_with("no_")) {
    if (readInteger(text) > 0) {
      setRgb(0);
      none = true;
    }
    return;
  }
  if (key.starts_with("color_yc")) {
    if (text.size() != 12) return;
    const float y = static_cast<float>(readLowFirst16(text.substr(0, 4)));
    const float cb = static_cast<float>(readLowFirst16(text.substr(4, 4)));
    const float cr = static_cast<float>(readLowFirst16(text.substr(8, 4)));
    red = toByte((y + 1.402f * cr) * 255.0f / 4096.0f);
    green = toByte((y - 0.344f * cb - 0.714f * cr) * 255.0f / 4096.0f);
    blue = toByte((y + 1.722f * cb) * 255.0f / 4096.0f);
    none = false;
    return;
  }
  if (currentForm)
    fromScriptString(text);
  else
    fromString(text);
}

ControlKind EffectItemColor::getControlKind() const { return ControlKind::Color; }

}  // namespace Effect
