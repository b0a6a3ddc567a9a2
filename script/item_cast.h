#pragma once
// A parameter item as the class its kind code names.
#include "effect/effect_item.h"
#include "system/exception.h"

namespace Plugin {

// Throws "invalid effect item type." when the item is of another class.
template <class Item>
const Item& itemAs(const Effect::EffectItem& item) {
  const auto* typed = dynamic_cast<const Item*>(&item);
  if (!typed) throw System::makeException("Effect::EffectItem::to", "invalid effect item type.");
  return *typed;
}

}  // namespace Plugin
