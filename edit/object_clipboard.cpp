#include "edit/object_clipboard.h"

#include <algorithm>
#include <unordered_map>

#include "edit/edit_command_scope.h"
#include "edit/edit_limits.h"
#include "edit/edit_service.h"
#include "edit/group.h"
#include "edit/layer_object_manager.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"

namespace Edit {

namespace {

Scene* currentScene() {
  EditService* service = EditService::instance();
  return service ? service->currentScene().get() : nullptr;
}

}  // namespace

void ObjectClipboard::clear() {
  objects.clear();
  range = ObjectRange{};
}

void ObjectClipboard::addCopy(const std::shared_ptr<Object>& object) {
  auto copy = std::make_shared<Object>(object->layer, object->start, object->end);
  copy->clipping = object->clipping;
  copy->camera = object->camera;
  copy->boundaries = object->boundaries;
  // The copy only remembers which group its source was in; it is no member of it.
  copy->group = object->group;
  object->copyEffects(*copy);
  objects.push_back(std::move(copy));
}

bool ObjectClipboard::pasteAt(int layer, int frame) {
  Scene* scene = currentScene();
  if (objects.empty() || !scene) return false;
  LayerObjectManager::getObjectRange(range, objects);
  const int64_t layerOffset = int64_t{layer} - range.minLayer;
  int64_t frameOffset = int64_t{frame} - range.minStart;
  for (bool collided = true; collided;) {
    collided = false;
    if (frameOffset + range.maxEnd > kMaxFrame) return false;
    for (const auto& [clipLayer, frames] : range.layers) {
      const auto [first, last] = frames;
      const LayerObjects& slot = scene->getLayerObjects(
          static_cast<int>(std::clamp<int64_t>(clipLayer + layerOffset, -1, kLayerLimit)));
      // Walk back from the last object that starts inside the pasted frames while objects
      // still reach into them; the first one found pushes the paste behind it.
      for (std::size_t i = upperBoundObjectStart(slot, frameOffset + last); i > 0; --i) {
        const Object& object = *slot.objects[i - 1];
        if (object.end < frameOffset + first) break;
        if (object.start <= frameOffset + last) {
          frameOffset = int64_t{object.end} - first + 1;
          collided = true;
          break;
        }
      }
      if (collided) break;
    }
  }
  if (layerOffset < -kLayerLimit || layerOffset > kLayerLimit) return false;
  return paste(static_cast<int>(layerOffset), static_cast<int>(frameOffset));
}

bool ObjectClipboard::canPasteAt(int frameOffset, int& layerOffset) const {
  Scene* scene = currentScene();
  if (!scene) return true;
  ObjectRange clip;
  LayerObjectManager::getObjectRange(clip, objects);
  for (const auto& [clipLayer, frames] : clip.layers) {
    const int64_t target = int64_t{clipLayer} + layerOffset;
    if (!isValidLayer(target)) continue;
    if (scene->getLayerObjects(static_cast<int>(target))
            .overlaps(int64_t{frameOffset} + frames.first, int64_t{frameOffset} + frames.second,
                      nullptr)) {
      ++layerOffset;
      return false;
    }
  }
  return true;
}

bool ObjectClipboard::paste(int layerOffset, int frameOffset) {
  EditService* service = EditService::instance();
  if (objects.empty() || !service) return false;
  Scene& scene = *service->currentScene();

  // Everything is checked and every chain copied before the scope opens, so the paste
  // either happens whole or not at all.
  std::vector<const Object*> order;
  for (const auto& source : objects) {
    const int64_t layer = int64_t{source->layer} + layerOffset;
    const int64_t start = int64_t{source->start} + frameOffset;
    const int64_t end = int64_t{source->end} + frameOffset;
    if (!scene.canPlaceObject(layer, start, end, nullptr)) return false;
    order.push_back(source.get());
  }
  std::sort(order.begin(), order.end(), [](const Object* a, const Object* b) {
    return a->layer != b->layer ? a->layer < b->layer : a->start < b->start;
  });
  for (std::size_t i = 1; i < order.size(); ++i)
    if (order[i]->layer == order[i - 1]->layer && order[i]->start <= order[i - 1]->end)
      return false;
  std::vector<EffectManager> chains(objects.size());
  for (std::size_t i = 0; i < objects.size(); ++i) objects[i]->copyEffects(chains[i]);

  Undo::UndoService* undo = service->undoService;
  EditCommand::CommandStep step(*service, EditCommand::Refresh::Layers |
                                              EditCommand::Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    // Each clipboard group becomes one new group.
    std::unordered_map<const Group*, std::shared_ptr<Group>> newGroups;
    for (std::size_t i = 0; i < objects.size(); ++i) {
      const Object& source = *objects[i];
      auto pasted = scope.scene->createEmptyObject(
          source.layer + layerOffset, source.start + frameOffset, source.end + frameOffset);
      pasted->clipping = source.clipping;
      pasted->camera = source.camera;
      pasted->boundaries = source.boundaries;
      pasted->effects = std::move(chains[i].effects);
      pasted->controlFlag = chains[i].controlFlag;
      if (undo) undo->pushObjectCreate(pasted);
      if (source.group) {
        auto& group = newGroups[source.group.get()];
        if (!group) group = std::make_shared<Group>();
        if (undo) undo->pushObjectGroup(pasted);
        pasted->joinGroup(group);
      }
    }
  });
  return true;
}

}  // namespace Edit
