// Removing and reordering the effects of an object's chain.
#include <algorithm>

#include "edit/object.h"
#include "effect/effect_base.h"

namespace Edit {

namespace {

bool isFilter(const std::shared_ptr<Effect::EffectBase>& effect) {
  return effect && effect->effectType == Effect::EffectType::Filter;
}

// The position of the effect in the chain, or -1.
int findEffect(const EffectManager::EffectList& effects, const Effect::EffectBase* effect) {
  for (std::size_t i = 0; i < effects.size(); ++i)
    if (effects[i].get() == effect) return static_cast<int>(i);
  return -1;
}

}  // namespace

void Object::removeEffect(const Effect::EffectBase* effect) {
  if (!effect || effects.empty()) return;
  if (effects.front().get() == effect) {
    if (effects.size() >= 2 && isFilter(effects[0]) && isFilter(effects[1]))
      effects.erase(effects.begin());
    return;
  }
  effects.erase(std::remove_if(effects.begin() + 1, effects.end(),
                               [&](const auto& entry) { return entry.get() == effect; }),
                effects.end());
}

bool Object::canMoveEffectDown(const Effect::EffectBase* effect) const {
  const int at = findEffect(effects, effect);
  if (at < 0 || at + 1 >= static_cast<int>(effects.size())) return false;
  return isFilter(effects[at]) && isFilter(effects[at + 1]);
}

void Object::moveEffectUp(const Effect::EffectBase* effect) {
  const int at = findEffect(effects, effect);
  if (at < 1 || !isFilter(effects[at]) || !isFilter(effects[at - 1])) return;
  std::swap(effects[at], effects[at - 1]);
}

void Object::moveEffectDown(const Effect::EffectBase* effect) {
  if (!canMoveEffectDown(effect)) return;
  const int at = findEffect(effects, effect);
  std::swap(effects[at], effects[at + 1]);
}

}  // namespace Edit
