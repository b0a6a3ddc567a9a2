#include "edit/layer_object_manager.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "edit/edit_limits.h"
#include "edit/object.h"
#include "system/exception.h"

namespace Edit {

namespace {

[[noreturn]] void throwLayerOutOfRange(const char* place, int64_t layer) {
  throw System::makeFormattedException(place, "layer index out of range.", "layer=%lld",
                                       static_cast<long long>(layer));
}

// Checks what a new object is given; throws before anything changes.
void checkNewObject(const LayerObjectManager& table, const char* place, int layer, int start,
                    int end) {
  if (!isValidLayer(layer)) throwLayerOutOfRange(place, layer);
  if (!isValidFrame(start) || !isValidFrame(end) || end < start)
    throw System::makeFormattedException(place, "frame out of range.", "start=%d end=%d", start,
                                         end);
  if (table.getLayerObjects(layer).overlaps(start, end, nullptr))
    throw System::makeFormattedException(place, "object overlaps another object.",
                                         "layer=%d start=%d end=%d", layer, start, end);
}

}  // namespace

LayerObjectManager::LayerObjectManager() { layers_.push_back(std::make_unique<LayerObjects>(0)); }

LayerObjectManager::~LayerObjectManager() = default;

void LayerObjectManager::update() {
  int32_t lastLayer = 0;
  int32_t lastFrame = 0;
  for (std::size_t i = 0; i < layers_.size(); ++i) {
    LayerObjects& slot = *layers_[i];
    slot.rebuild(static_cast<int32_t>(i));
    if (!slot.objects.empty()) {
      lastFrame = std::max(lastFrame, slot.objects.back()->end);
      lastLayer = static_cast<int32_t>(i);
    }
  }
  lastUsedLayer_ = lastLayer;
  lastFrame_ = lastFrame;
}

const LayerObjects& LayerObjectManager::getLayerObjects(int layer) const {
  if (layer < 0 || layer >= layerCount()) return LayerObjects::empty();
  return *layers_[static_cast<std::size_t>(layer)];
}

bool LayerObjectManager::holdsObjects() const {
  for (std::size_t i = 0; i < layers_.size(); ++i)
    for (const auto& object : layers_[i]->objects)
      if (object->layer == static_cast<int32_t>(i)) return true;
  return false;
}

void LayerObjectManager::forEachObject(const std::function<void(Object&)>& callback) const {
  for (std::size_t i = 0; i < layers_.size(); ++i)
    for (const auto& object : layers_[i]->objects)
      if (object->layer == static_cast<int32_t>(i)) callback(*object);
}

LayerObjects* LayerObjectManager::editLayerObjects(int layer) {
  if (layer < 0 || layer >= layerCount()) return nullptr;
  return layers_[static_cast<std::size_t>(layer)].get();
}

LayerObjects& LayerObjectManager::ensureLayer(int layer) {
  if (!isValidLayer(layer)) throwLayerOutOfRange("Edit::LayerObjectManager::ensureLayer", layer);
  while (layerCount() <= layer) layers_.push_back(std::make_unique<LayerObjects>(layerCount()));
  return *layers_[static_cast<std::size_t>(layer)];
}

std::shared_ptr<Layer> LayerObjectManager::insertLayer(int position,
                                                       std::shared_ptr<Layer> record) {
  constexpr const char* place = "Edit::LayerObjectManager::insertLayer";
  const int64_t target = int64_t{lastUsedLayer_} + 1;
  if (!isValidLayer(position)) throwLayerOutOfRange(place, position);
  if (!isValidLayer(target)) throwLayerOutOfRange(place, target);
  ensureLayer(static_cast<int>(std::max<int64_t>(target, position)));
  moveLayer(static_cast<int>(target), position);
  LayerObjects& slot = *layers_[static_cast<std::size_t>(position)];
  if (!record) return slot.resetLayer();
  slot.layer->index = -1;
  record->index = position;
  slot.layer = record;
  return record;
}

std::shared_ptr<Layer> LayerObjectManager::deleteLayer(int layer) {
  if (!isValidLayer(layer)) throwLayerOutOfRange("Edit::LayerObjectManager::deleteLayer", layer);
  LayerObjects& slot = ensureLayer(layer);
  for (const auto& object : slot.objects)
    if (object->layer == layer) object->layer = -1;
  slot.objects.clear();
  slot.purgeFlag = false;
  slot.rangeTable.clear();
  slot.rangeFlag = false;
  // The emptied slot goes behind the used layers; a layer past them is already there.
  const int destination = std::max(layer, static_cast<int>(lastUsedLayer_));
  moveLayer(layer, destination);
  return layers_[static_cast<std::size_t>(std::min(destination, layerCount() - 1))]->resetLayer();
}

bool LayerObjectManager::moveLayer(int from, int to) {
  if (from == to || from < 0 || to < 0 || from >= layerCount() || to >= layerCount()) return false;
  const int step = from < to ? 1 : -1;
  for (int at = from; at != to; at += step) {
    const int next = at + step;
    auto& here = layers_[static_cast<std::size_t>(at)];
    auto& there = layers_[static_cast<std::size_t>(next)];
    // Only the objects that still lie on a slot follow it; one that is leaving the slot
    // (listed until the next update) keeps the layer it moved to.
    for (const auto& object : here->objects)
      if (object->layer == at) object->layer = next;
    for (const auto& object : there->objects)
      if (object->layer == next) object->layer = at;
    std::swap(here->layer->index, there->layer->index);
    std::swap(here, there);
  }
  return true;
}

void LayerObjectManager::clear() {
  for (const auto& slot : layers_) {
    for (const auto& object : slot->objects) object->layer = -1;
    slot->layer->index = -1;
  }
  layers_.clear();
  layers_.push_back(std::make_unique<LayerObjects>(0));
  update();
}

bool LayerObjectManager::canPlaceObject(int64_t layer, int64_t start, int64_t end,
                                        const Object* ignore) const {
  if (!isValidLayer(layer) || !isValidFrame(start) || !isValidFrame(end) || end < start)
    return false;
  return !getLayerObjects(static_cast<int>(layer)).overlaps(start, end, ignore);
}

std::shared_ptr<Object> LayerObjectManager::createObject(std::string_view effectName, int layer,
                                                         int start, int end) {
  checkNewObject(*this, "Edit::LayerObjectManager::createObject", layer, start, end);
  LayerObjects& slot = ensureLayer(layer);
  auto object = std::make_shared<Object>(layer, start, end);
  slot.objects.push_back(object);
  slot.sortFlag = true;
  try {
    object->setEffectByName(effectName, nullptr);
  } catch (...) {
    std::erase(slot.objects, object);
    object->layer = -1;
    throw;
  }
  if (object->controlFlag) slot.rangeFlag = true;
  return object;
}

std::shared_ptr<Object> LayerObjectManager::createEmptyObject(int layer, int start, int end) {
  checkNewObject(*this, "Edit::LayerObjectManager::createEmptyObject", layer, start, end);
  LayerObjects& slot = ensureLayer(layer);
  auto object = std::make_shared<Object>(layer, start, end);
  slot.objects.push_back(object);
  slot.sortFlag = true;
  slot.rangeFlag = true;
  return object;
}

void LayerObjectManager::moveObjectToLayer(const std::shared_ptr<Object>& object, int layer) {
  if (!isValidLayer(layer))
    throwLayerOutOfRange("Edit::LayerObjectManager::moveObjectToLayer", layer);
  LayerObjects& slot = ensureLayer(layer);
  if (object->layer == layer && slot.contains(object.get())) {
    // Already there: only its frames may have changed.
    markSort(*object);
    return;
  }
  markPurge(*object);
  object->layer = layer;
  slot.sortFlag = true;
  if (object->controlFlag) slot.rangeFlag = true;
  // A slot lists an object once: one that left this slot in the same scope is still
  // listed and only comes back.
  if (!slot.contains(object.get())) slot.objects.push_back(object);
}

void LayerObjectManager::findNeighbours(const Object& object, const Object*& previous,
                                        const Object*& next) const {
  previous = nullptr;
  next = nullptr;
  const LayerObjects& slot = getLayerObjects(object.layer);
  for (const auto& other : slot.objects) {
    if (other.get() == &object || other->layer != object.layer) continue;
    if (other->start < object.start) {
      if (!previous || other->start > previous->start) previous = other.get();
    } else if (!next || other->start < next->start) {
      next = other.get();
    }
  }
}

void LayerObjectManager::resizeObject(Object& object, int length, bool atStart) {
  if (!object.boundaries.empty()) return;
  const int64_t frames = length >= 2 ? int64_t{length} - 1 : 0;
  const int64_t start = object.start;
  const int64_t end = object.end;
  if (start + frames == end) return;
  if (frames < end - start) {
    if (atStart)
      object.start = clampFrame(end - frames);
    else
      object.end = clampFrame(start + frames);
  } else {
    const Object* previous = nullptr;
    const Object* next = nullptr;
    findNeighbours(object, previous, next);
    if (atStart) {
      const int64_t earliest = previous ? int64_t{previous->end} + 1 : 0;
      object.start = clampFrame(std::max(end - frames, earliest));
    } else {
      const int64_t latest = next ? int64_t{next->start} - 1 : kMaxFrame;
      object.end = clampFrame(std::min(start + frames, latest));
    }
  }
  markSort(object);
}

void LayerObjectManager::scaleObjectLength(Object& object, int length) {
  const Object* previous = nullptr;
  const Object* next = nullptr;
  findNeighbours(object, previous, next);
  const int64_t start = object.start;
  const int64_t latest = next ? int64_t{next->start} - 1 : kMaxFrame;
  const int64_t newEnd = std::min(start + std::max(length, 1) - 1, latest);
  if (newEnd == object.end) return;

  const float scale = static_cast<float>(newEnd - start) /
                      static_cast<float>(std::max<int64_t>(int64_t{object.end} - start, 1));
  // Single-precision scaling may round a boundary up to or past the new end; each one is
  // kept where the boundaries after it still fit, one frame apart, before the end.
  const auto count = static_cast<int64_t>(object.boundaries.size());
  const int64_t room = std::max(newEnd - start, count + 1);
  int64_t previousBoundary = 0;
  for (int64_t i = 0; i < count; ++i) {
    int32_t& boundary = object.boundaries[static_cast<std::size_t>(i)];
    const auto scaled = static_cast<int64_t>(std::trunc(static_cast<float>(boundary) * scale));
    const int64_t value = std::min(std::max(previousBoundary + 1, scaled), room - (count - i));
    boundary = static_cast<int32_t>(value);
    previousBoundary = value;
  }
  object.end = clampFrame(std::max(start + previousBoundary + 1, newEnd));
  markSort(object);
}

void LayerObjectManager::forEachLayerRange(int layer, int from, int to,
                                           const LayerRangeCallback& callback) const {
  const int last = std::min(layer, layerCount());
  for (int i = 0; i < last; ++i) {
    const auto& table = layers_[static_cast<std::size_t>(i)]->rangeTable;
    auto entry = std::partition_point(
        table.begin(), table.end(),
        [from](const LayerObjects::LayerRange& range) { return range.end < from; });
    for (; entry != table.end(); ++entry) {
      if (entry->start > to) break;
      const int64_t reach = int64_t{i} + entry->span;
      if (reach < layer) continue;
      callback(entry->start, entry->end, reach == layer);
    }
  }
}

void LayerObjectManager::getObjectRange(ObjectRange& out, const ObjectList& objects) {
  out = ObjectRange{};
  bool first = true;
  for (const auto& object : objects) {
    if (first) {
      out.minLayer = out.maxLayer = object->layer;
      out.minStart = object->start;
      out.maxEnd = object->end;
      first = false;
    } else {
      out.minLayer = std::min(out.minLayer, object->layer);
      out.maxLayer = std::max(out.maxLayer, object->layer);
      out.minStart = std::min(out.minStart, object->start);
      out.maxEnd = std::max(out.maxEnd, object->end);
    }
    auto [entry, added] = out.layers.try_emplace(object->layer, object->start, object->end);
    if (!added) {
      entry->second.first = std::min(entry->second.first, object->start);
      entry->second.second = std::max(entry->second.second, object->end);
    }
  }
}

void LayerObjectManager::markSort(const Object& object) {
  if (LayerObjects* slot = editLayerObjects(object.layer)) {
    slot->sortFlag = true;
    if (object.controlFlag) slot->rangeFlag = true;
  }
}

void LayerObjectManager::markPurge(const Object& object) {
  if (LayerObjects* slot = editLayerObjects(object.layer)) {
    slot->purgeFlag = true;
    if (object.controlFlag) slot->rangeFlag = true;
  }
}

void LayerObjectManager::markRange(const Object& object) {
  if (LayerObjects* slot = editLayerObjects(object.layer)) slot->rangeFlag = true;
}

void LayerObjectManager::removeObject(Object& object) {
  markPurge(object);
  object.layer = -1;
}

}  // namespace Edit
