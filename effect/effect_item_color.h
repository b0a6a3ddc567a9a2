#pragma once
// A colour item: red, green and blue bytes. Code 14 may also hold "no colour".
#include "effect/effect_item.h"

namespace Effect {

class EffectItemColor : public EffectItem {
 public:
  // The colour that stands for "no colour" in the built-in defaults (black).
  static constexpr uint32_t kNoColor = 0x000000;

  // `rgb` is 0xRRGGBB. A code 14 item whose default is kNoColor starts as "none"; a code 7
  // item never does.
  EffectItemColor(EffectItemList& items, std::string_view name, uint32_t rgb,
                  uint8_t typeCode = ItemType::Color);
  EffectItemColor(const EffectItemColor&) = default;

  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  // "" when none, else six lower-case hex digits "rrggbb".
  std::string toString() const override;
  // "" sets none (and black); any other text must be six hex digits (spaces around them
  // allowed) and clears none; anything else throws "RGB argument is invalid." and keeps
  // the colour.
  void fromString(std::string_view text) override;
  // A text that begins with a decimal number is the colour 0xRRGGBB as that number; any
  // other text as fromString.
  void fromScriptString(std::string_view text) override;
  // Legacy keys: "no_..." carries the none switch, "color_yc..." a YCbCr colour of twelve
  // hex digits; other keys an RGB colour.
  void loadKvoParameter(std::string_view text, std::string_view key, std::string_view effectName,
                        bool currentForm) override;
  ControlKind getControlKind() const override;

  uint32_t rgb() const { return uint32_t{red} << 16 | uint32_t{green} << 8 | blue; }
  void setRgb(uint32_t rgb);

  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool none = false;  // no colour chosen
};

}  // namespace Effect
