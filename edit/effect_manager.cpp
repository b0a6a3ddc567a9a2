#include "edit/effect_manager.h"

#include "edit/effect_registry_access.h"
#include "effect/effect_base.h"
#include "system/exception.h"

namespace Edit {

namespace {

// Copies every item value of `source` into the fresh instance `target` of the same kind,
// item by item in list order.
void copyItemValues(Effect::EffectBase& target, const Effect::EffectBase& source) {
  constexpr const char* place = "Edit::EffectManager::copyEffects";
  if (target.items.size() != source.items.size())
    throw System::makeException(place, "different number of items.");
  for (std::size_t i = 0; i < source.items.size(); ++i) {
    if (target.items[i]->typeCode != source.items[i]->typeCode)
      throw System::makeException(place, "different item type.");
    target.items[i]->copyFrom(*source.items[i]);
  }
}

}  // namespace

void EffectManager::copyEffects(EffectManager& target) const {
  EffectList copies;
  copies.reserve(effects.size());
  for (const auto& effect : effects) {
    if (!effect) continue;
    auto copy = createEffectByName(effect->name ? effect->name : "");
    copyItemValues(*copy, *effect);
    copy->disable = effect->disable;
    copy->hide = effect->hide;
    copy->lock = effect->lock;
    copies.push_back(std::move(copy));
  }
  target.effects = std::move(copies);
  target.controlFlag = controlFlag;
}

}  // namespace Edit
