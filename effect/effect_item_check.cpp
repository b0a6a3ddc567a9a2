#include "effect/effect_item_check.h"

#include "effect/text_conversion.h"

namespace Effect {

EffectItemCheck::EffectItemCheck(EffectItemList& items, std::string_view itemName, bool initial,
                                 bool isShown)
    : EffectItem(items, ItemType::Check, itemName), value(initial), shown(isShown) {}

EffectItemCheck::EffectItemCheck(EffectItemList& items, uint8_t code, std::string_view itemName,
                                 bool initial)
    : EffectItem(items, code, itemName), value(initial), shown(true) {}

void EffectItemCheck::copyFrom(const EffectItem& other) {
  value = sameKind<EffectItemCheck>(other).value;
}

bool EffectItemCheck::equals(const EffectItem& other) const {
  return value == sameKind<EffectItemCheck>(other).value;
}

std::unique_ptr<EffectItem> EffectItemCheck::clone() const {
  return std::make_unique<EffectItemCheck>(*this);
}

std::string EffectItemCheck::toString() const { return value ? "1" : "0"; }

void EffectItemCheck::fromString(std::string_view text) { value = readInteger(text) != 0; }

ControlKind EffectItemCheck::getControlKind() const {
  return shown ? ControlKind::Check : ControlKind::None;
}

EffectItemCheckButton::EffectItemCheckButton(EffectItemList& items, std::string_view itemName,
                                             bool initial, float spanStart, float spanEnd)
    : EffectItemCheck(items, ItemType::CheckButton, itemName, initial),
      start(spanStart),
      end(spanEnd) {}

std::unique_ptr<EffectItem> EffectItemCheckButton::clone() const {
  return std::make_unique<EffectItemCheck>(static_cast<const EffectItemCheck&>(*this));
}

ControlKind EffectItemCheckButton::getControlKind() const { return ControlKind::CheckButton; }

}  // namespace Effect
