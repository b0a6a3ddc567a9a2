#pragma once
// On/off items: the check box, and the toggle button that shares its row with others.
#include "effect/effect_item.h"

namespace Effect {

class EffectItemCheck : public EffectItem {
 public:
  EffectItemCheck(EffectItemList& items, std::string_view name, bool value, bool shown = true);
  EffectItemCheck(const EffectItemCheck&) = default;

  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  // "1" or "0".
  std::string toString() const override;
  // A decimal integer (leading white space allowed); any non-zero value is true. A text
  // that is no number throws "invalid stoi argument" and keeps the value.
  void fromString(std::string_view text) override;
  ControlKind getControlKind() const override;

  bool value;
  bool shown;  // only a shown check gets a row

 protected:
  EffectItemCheck(EffectItemList& items, uint8_t typeCode, std::string_view name, bool value);
};

// A check shown as a toggle button over a share of its row, so that several buttons can
// stand in one row.
class EffectItemCheckButton : public EffectItemCheck {
 public:
  EffectItemCheckButton(EffectItemList& items, std::string_view name, bool value, float start,
                        float end);
  EffectItemCheckButton(const EffectItemCheckButton&) = default;

  // A plain check.
  std::unique_ptr<EffectItem> clone() const override;
  ControlKind getControlKind() const override;

  float start;  // fractions of the row's width
  float end;
};

}  // namespace Effect
