#include "effect/effect_item_string.h"

namespace Effect {

EffectItemString::EffectItemString(EffectItemList& items, std::string_view itemName,
                                   std::string_view initial, uint8_t code)
    : EffectItem(items, code, itemName), value(initial) {}

void EffectItemString::copyFrom(const EffectItem& other) {
  value = sameKind<EffectItemString>(other).value;
}

bool EffectItemString::equals(const EffectItem& other) const {
  return value == sameKind<EffectItemString>(other).value;
}

std::unique_ptr<EffectItem> EffectItemString::clone() const {
  return std::make_unique<EffectItemString>(*this);
}

std::string EffectItemString::toString() const { return value; }

void EffectItemString::fromString(std::string_view text) { value = text; }

ControlKind EffectItemString::getControlKind() const { return ControlKind::String; }

}  // namespace Effect
