#include "edit/selection.h"

#include <algorithm>

#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"

namespace Edit {

namespace {

bool onLockedLayer(const Object& object, const Scene& scene) {
  return scene.getLayerObjects(object.layer).layer->locked;
}

}  // namespace

void Selection::add(const std::shared_ptr<Object>& object, const Scene& scene) {
  if (!object) return;
  if (object->selected) {
    clickedSelected = object.get();
    return;
  }
  if (onLockedLayer(*object, scene)) return;
  if (object->controlFlag) hasControl = true;
  maxLayer = objects.empty() ? object->layer : std::max(maxLayer, object->layer);
  clickedSelected = nullptr;
  object->selected = true;
  objects.push_back(object);
}

bool Selection::addWithGroup(const std::shared_ptr<Object>& object, const Scene& scene) {
  if (!object || object->selected) return false;
  if (!object->group) {
    add(object, scene);
    return true;
  }
  // Every member on the timeline, in layer and frame order.
  for (const auto& member : Group::getObjects(object->group, scene)) add(member, scene);
  return true;
}

void Selection::clear() {
  for (const auto& object : objects) object->selected = false;
  objects.clear();
  clickedSelected = nullptr;
  hasControl = false;
  maxLayer = 0;
}

bool Selection::dropRemoved() {
  const auto removed =
      std::count_if(objects.begin(), objects.end(),
                    [](const std::shared_ptr<Object>& object) { return object->layer == -1; });
  if (removed == 0) return false;
  std::vector<std::shared_ptr<Object>> kept;
  for (auto& object : objects) {
    if (object->layer == -1)
      object->selected = false;
    else
      kept.push_back(std::move(object));
  }
  objects = std::move(kept);
  clickedSelected = nullptr;
  hasControl = std::any_of(objects.begin(), objects.end(),
                           [](const auto& object) { return object->controlFlag; });
  maxLayer = 0;
  for (const auto& object : objects) maxLayer = std::max(maxLayer, object->layer);
  return true;
}

}  // namespace Edit
