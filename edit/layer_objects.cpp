#include "edit/layer_objects.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "edit/object.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"

namespace Edit {

namespace {

// The layers a control object governs: the value of its first effect's layer range item,
// 0 standing for every layer below.
int32_t controlSpan(const Object& object) {
  if (object.effects.empty() || !object.effects.front()) return LayerObjects::kAllLayersBelow;
  const Effect::EffectItemLayerRange* range = object.effects.front()->getLayerRange();
  if (!range || range->value <= 0) return LayerObjects::kAllLayersBelow;
  return range->value;
}

}  // namespace

LayerObjects::LayerObjects(int32_t index) : layer(std::make_shared<Layer>()) {
  layer->index = index;
}

const LayerObjects& LayerObjects::empty() {
  static const LayerObjects slot(-1);
  return slot;
}

std::shared_ptr<Layer> LayerObjects::resetLayer() {
  auto fresh = std::make_shared<Layer>();
  fresh->index = layer->index;
  layer->index = -1;
  layer = fresh;
  return fresh;
}

bool LayerObjects::overlaps(int64_t start, int64_t end, const Object* ignore) const {
  const int32_t position = index();
  if (!sortFlag && !purgeFlag) {
    // A clean slot is sorted and disjoint: only the objects from the first one that ends
    // at or after `start` can reach into the range.
    for (std::size_t i = lowerBoundObjectEnd(*this, start); i < objects.size(); ++i) {
      const Object& object = *objects[i];
      if (object.start > end) break;
      if (&object != ignore) return true;
    }
    return false;
  }
  for (const auto& object : objects)
    if (object.get() != ignore && object->layer == position && object->start <= end &&
        object->end >= start)
      return true;
  return false;
}

bool LayerObjects::contains(const Object* object) const {
  return std::any_of(
      objects.begin(), objects.end(),
      [object](const std::shared_ptr<Object>& listed) { return listed.get() == object; });
}

void LayerObjects::rebuild(int32_t position) {
  if (purgeFlag) {
    std::erase_if(objects, [position](const std::shared_ptr<Object>& object) {
      return !object || object->layer != position;
    });
    purgeFlag = false;
  }
  if (sortFlag) {
    std::stable_sort(objects.begin(), objects.end(),
                     [](const std::shared_ptr<Object>& a, const std::shared_ptr<Object>& b) {
                       return a->start < b->start;
                     });
    sortFlag = false;
  }
  if (rangeFlag) {
    std::vector<LayerRange> table;
    for (const auto& object : objects)
      if (object->controlFlag) table.push_back({object->start, object->end, controlSpan(*object)});
    rangeTable = std::move(table);
    rangeFlag = false;
  }
}

std::size_t lowerBoundObjectEnd(const LayerObjects& slot, int64_t frame) {
  const auto& objects = slot.objects;
  return static_cast<std::size_t>(
      std::partition_point(
          objects.begin(), objects.end(),
          [frame](const std::shared_ptr<Object>& object) { return object->end < frame; }) -
      objects.begin());
}

std::size_t upperBoundObjectStart(const LayerObjects& slot, int64_t frame) {
  const auto& objects = slot.objects;
  return static_cast<std::size_t>(
      std::partition_point(
          objects.begin(), objects.end(),
          [frame](const std::shared_ptr<Object>& object) { return object->start <= frame; }) -
      objects.begin());
}

std::shared_ptr<Object> findNearestObject(const LayerObjects& slot, int from, int to) {
  const int64_t middle = (int64_t{from} + to) / 2;
  std::shared_ptr<Object> nearest;
  int64_t nearestDistance = std::numeric_limits<int64_t>::max();
  for (std::size_t i = lowerBoundObjectEnd(slot, from); i < slot.objects.size(); ++i) {
    const auto& object = slot.objects[i];
    if (object->start > to) break;
    const int64_t distance =
        std::min(std::llabs(object->end - middle), std::llabs(object->start - middle));
    if (distance < nearestDistance) {
      nearestDistance = distance;
      nearest = object;
    }
  }
  return nearest;
}

}  // namespace Edit
