#include "edit/effect_edit_access.h"

#include "edit/edit_command_movement.h"
#include "edit/edit_command_object.h"
#include "edit/edit_service.h"
#include "edit/legacy_track_convert.h"
#include "edit/scene.h"

namespace Edit {

void EffectEditAccess::createObject(std::string_view effectName, int layer, int frame) {
  EditCommand::createObject(effectName, layer, frame);
}

void EffectEditAccess::setEffect(const std::shared_ptr<Object>& object,
                                 std::string_view effectName, Effect::EffectBase* afterEffect,
                                 bool replace) {
  EditCommand::setEffect(object, effectName, afterEffect, replace);
}

void EffectEditAccess::loadObject(const std::string& path, int layer, int frame) {
  EditCommand::loadObject(path, layer, frame);
}

void EffectEditAccess::loadEffect(const std::shared_ptr<Object>& object, const std::string& path,
                                  Effect::EffectBase* afterEffect, bool replace) {
  EditCommand::loadEffect(object, path, afterEffect, replace);
}

void EffectEditAccess::runPresetColorUpdate(const std::function<void()>& change) {
  auto scope = EditService::instance()->beginUpdate();
  scope.notifyObject = true;
  change();
  scope.close();
}

std::optional<std::string> EffectEditAccess::sceneName(int32_t sceneId) const {
  const EditService* service = EditService::instance();
  const auto scene = service ? service->getScene(sceneId) : nullptr;
  if (!scene) return std::nullopt;
  return scene->name;
}

std::optional<int32_t> EffectEditAccess::findSceneByName(std::string_view name) const {
  const EditService* service = EditService::instance();
  if (!service) return std::nullopt;
  for (const auto& scene : service->project.getSortedScenes())
    if (scene->name == name) return scene->id;
  return std::nullopt;
}

std::optional<Effect::EditAccess::SceneSpan> EffectEditAccess::sceneSpan(int32_t sceneId) const {
  const EditService* service = EditService::instance();
  const auto scene = service ? service->getScene(sceneId) : nullptr;
  if (!scene) return std::nullopt;
  return SceneSpan{scene->lastFrame(), {scene->rate, scene->scale}};
}

std::string EffectEditAccess::convertLegacyTrack(std::string_view legacyText) {
  return ProjectConvert::convertTrackParameter(legacyText);
}

}  // namespace Edit
