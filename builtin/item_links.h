#pragma once
// Number items that move together (an effect's X, Y and Z): the effect keeps them in a list,
// and each of them points at that list, so that a movement set on one is set on all.
#include <initializer_list>

#include "effect/effect_item_number.h"

namespace Effect {

// Fills `group` with the items, in the given order, and points each item at it.
inline void linkItems(NumberItemList& group, std::initializer_list<EffectItemNumber*> members) {
  group.assign(members);
  for (EffectItemNumber* item : group) item->linkGroup = &group;
}

}  // namespace Effect
