#include "effect/effect_item_button.h"

namespace Effect {

EffectItemButton::EffectItemButton(EffectItemList& items, std::string_view itemName,
                                   float spanStart, float spanEnd)
    : EffectItem(items, ItemType::Button, itemName), start(spanStart), end(spanEnd) {}

void EffectItemButton::copyFrom(const EffectItem& other) { sameKind<EffectItemButton>(other); }

bool EffectItemButton::equals(const EffectItem& other) const {
  sameKind<EffectItemButton>(other);
  return true;
}

std::unique_ptr<EffectItem> EffectItemButton::clone() const {
  return std::make_unique<EffectItemButton>(*this);
}

std::string EffectItemButton::toString() const { return ""; }

void EffectItemButton::fromString(std::string_view) {}

ControlKind EffectItemButton::getControlKind() const { return ControlKind::Button; }

}  // namespace Effect
