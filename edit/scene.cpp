#include "edit/scene.h"

#include <algorithm>

#include "edit/object.h"
#include "effect/effect_base.h"
#include "system/translate_service.h"

namespace Edit {

namespace {

std::string translatedName(const char* word) {
  const auto* service = Translate::TranslateService::instance();
  if (!service || !Translate::isLanguageActive()) return word;
  return std::string(service->translate(Translate::TranslateService::TextKind::Name, word));
}

// Whether an effect of media type `media` answers a search for `kind`.
bool suitsKind(int media, int kind) {
  if (kind == media || kind == Scene::AnyMedia) return true;
  if ((media == 1 || media == 2) && kind == Scene::VideoOrAudio) return true;
  return media == 3 && kind != Scene::Camera;
}

}  // namespace

std::string getDefaultSceneName(int32_t id) {
  if (id == 0) return translatedName("Root");
  return translatedName("Scene") + std::to_string(id);
}

Scene::Scene(int32_t sceneId, int32_t order)
    : name(getDefaultSceneName(sceneId)), id(sceneId), displayOrder(order) {}

std::shared_ptr<Object> Scene::findObject(int layer, int frame, int kind) const {
  const LayerObjects& slot = getLayerObjects(layer);
  if (slot.index() < 0 || slot.layer->hidden) return {};
  const std::size_t position = lowerBoundObjectEnd(slot, frame);
  if (position >= slot.objects.size()) return {};
  const std::shared_ptr<Object>& object = slot.objects[position];
  if (object->start > frame || object->effects.empty() || !object->effects.front()) return {};
  const Effect::EffectBase& first = *object->effects.front();
  if (first.effectType == Effect::EffectType::Filter) {
    if (std::all_of(object->effects.begin(), object->effects.end(),
                    [](const auto& effect) { return !effect || effect->disable; }))
      return {};
  } else if (first.disable) {
    return {};
  }
  if (!suitsKind(first.mediaType, kind)) return {};
  return object;
}

std::vector<std::shared_ptr<Object>> Scene::targetObjects() const {
  if (!selection.empty()) return selection.objects;
  if (focusObject && focusObject->layer != -1) return {focusObject};
  return {};
}

bool Scene::anyTargetObject(const std::function<bool(Object*)>& predicate) const {
  if (!selection.empty())
    return std::any_of(
        selection.objects.begin(), selection.objects.end(),
        [&](const std::shared_ptr<Object>& object) { return predicate(object.get()); });
  return focusObject && focusObject->layer != -1 && predicate(focusObject.get());
}

}  // namespace Edit
