#include "edit/point_values.h"

#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/movement_base.h"

namespace Edit {

namespace {

// Calls `action` for every number item of every effect of the chain, in chain and item
// order.
template <class Action>
void forEachNumberItem(const EffectManager& chain, Action action) {
  for (const auto& effect : chain.effects) {
    if (!effect) continue;
    for (Effect::EffectItem* item : effect->items) {
      if (item->typeCode != Effect::ItemType::Number) continue;
      if (auto* number = dynamic_cast<Effect::EffectItemNumber*>(item)) action(*number);
    }
  }
}

// Whether the item keeps one value per point of its object.
bool followsPoints(const Effect::EffectItemNumber& item) {
  return item.movement && item.movement->valueCount < 0 &&
         !(item.flags & Effect::EffectItemNumber::FlagIgnoreMidpoints);
}

}  // namespace

void insertPointValues(Object& object, int section, const SectionValueMap* values) {
  forEachNumberItem(
      object, [&](Effect::EffectItemNumber& item) { item.insertSectionValue(section, values); });
}

void checkPointValues(const Object& object) {
  forEachNumberItem(object, [](Effect::EffectItemNumber& item) {
    if (followsPoints(item)) item.clampValueIndex(0);  // throws for a track without values
  });
}

void erasePointValues(Object& object, int pointIndex) {
  forEachNumberItem(object, [&](Effect::EffectItemNumber& item) {
    // A track keeps at least one value, whatever it held before.
    if (!followsPoints(item) || item.values.size() < 2) return;
    item.values.erase(item.values.begin() + item.clampValueIndex(pointIndex));
  });
}

void setPointValues(Object& object, int pointIndex, const SectionValueMap& values) {
  forEachNumberItem(
      object, [&](Effect::EffectItemNumber& item) { item.setSectionValue(pointIndex, &values); });
}

void EffectManager::setSectionNum(Effect::EffectBase& effect, int sectionCount) {
  const int points = sectionCount < 1 ? 2 : sectionCount + 1;
  for (Effect::EffectItem* item : effect.items) {
    if (item->typeCode != Effect::ItemType::Number) continue;
    if (auto* number = dynamic_cast<Effect::EffectItemNumber*>(item)) number->resizeValues(points);
  }
}

void EffectManager::copySectionValues(SectionValueMap& out, Scene& scene,
                                      const std::shared_ptr<Object>& object, int frame,
                                      bool straight) const {
  Effect::EffectContext context;
  context.scene = &scene;
  context.layerIndex = object->layer;
  context.frame = frame;
  context.time = frame;
  context.setObject(object, object->frames());
  const Effect::SectionPosition& position = context.sectionPosition;

  forEachNumberItem(*this, [&](Effect::EffectItemNumber& item) {
    const Effect::MovementBase* movement = item.movement;
    if (!movement) return;
    if (!movement->timeControl) {
      out[&item] = {item.getValue(context), -1};
    } else if (straight) {
      // The straight line between the two points of the section that holds the frame.
      const int section = position.sectionIndex;
      const double from = item.getDisplayValue(section);
      const double to = item.getDisplayValue(section + 1);
      out[&item] = {from + position.framesInSection / position.sectionLength * (to - from), -1};
    } else {
      out[&item] = {item.getValue(context), movement->getSectionFrame(item, position)};
    }
  });
}

}  // namespace Edit
