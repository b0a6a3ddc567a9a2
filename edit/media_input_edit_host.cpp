#include "edit/media_input_edit_host.h"

#include <memory>

#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_event_param.h"

namespace Edit {

namespace {

Effect::MediaTime::Timing timingOf(const Scene& scene) { return {scene.rate, scene.scale}; }

// The event's object as the undo items and the change listeners hold it. Objects are
// always made shared; one that is not gives nothing rather than an exception.
std::shared_ptr<Object> sharedObject(const Effect::EffectEventParam& event) {
  return event.object ? event.object->weak_from_this().lock() : nullptr;
}

}  // namespace

MediaInputEditHost::MediaInputEditHost(EditService& service) : service_(service) {}

Scene* MediaInputEditHost::findHoldingScene(const Object& object) const {
  if (object.layer < 0) return nullptr;
  const auto holds = [&object](const Scene& scene) {
    return scene.getLayerObjects(object.layer).contains(&object);
  };
  if (Scene* current = service_.currentScene().get(); current && holds(*current))
    return current;
  for (const auto& [id, scene] : service_.project.scenes)
    if (scene && holds(*scene)) return scene.get();
  return nullptr;
}

Scene* MediaInputEditHost::findSourceScene(int sceneId) const {
  // The root scene holds every other scene; it is never played inside one.
  if (sceneId <= 0) return nullptr;
  return service_.getScene(sceneId).get();
}

Effect::MediaTime::Timing MediaInputEditHost::sceneTiming(const Scene* scene) const {
  if (scene) return timingOf(*scene);
  if (const Scene* current = service_.currentScene().get()) return timingOf(*current);
  return {};
}

Effect::ObjectFrames MediaInputEditHost::objectFrames(const Object& object) const {
  return object.frames();
}

Effect::MediaTime::Timing MediaInputEditHost::objectTiming(const Object& object) const {
  return sceneTiming(findHoldingScene(object));
}

std::optional<Effect::SceneLength> MediaInputEditHost::sceneLength(int sceneId) const {
  const Scene* scene = findSourceScene(sceneId);
  if (!scene) return std::nullopt;
  // The layer table keeps the last frame up to date at every scope's close. An empty scene
  // reports frame 0 as its last frame as well, so it is told apart by holding no object.
  const int64_t frames = scene->holdsObjects() ? int64_t{scene->lastFrame()} + 1 : 0;
  return Effect::SceneLength{frames, timingOf(*scene)};
}

bool MediaInputEditHost::fixedMovieTimeRange() const {
  return service_.settings.fixedMovieTimeRange != 0;
}

void MediaInputEditHost::recordObjectUpdate(const Effect::EffectEventParam& event) {
  const auto object = sharedObject(event);
  if (!event.scope || !object) return;
  event.scope->beginUndo();
  if (service_.undoService) service_.undoService->pushObjectUpdate(object);
}

void MediaInputEditHost::recordEffectUpdate(const Effect::EffectEventParam& event) {
  if (!event.scope || !event.effect) return;
  event.scope->beginUndo();
  if (service_.undoService) service_.undoService->pushEffectUpdate(event.effect);
}

void MediaInputEditHost::markChanged(const Effect::EffectEventParam& event, bool layers) {
  if (!event.scope) return;
  UpdateSection& scope = *event.scope;
  scope.updateEffectSetting = true;
  scope.notifyObject = true;
  if (auto object = sharedObject(event)) scope.object = std::move(object);
  if (layers) {
    scope.updateLayer = true;
    scope.notifyLayer = true;
  }
}

void MediaInputEditHost::resizeObject(const Effect::EffectEventParam& event, int32_t frames,
                                      bool moveStart) {
  if (!event.object) return;
  Scene* scene = findHoldingScene(*event.object);
  if (!scene) return;
  scene->resizeObject(*event.object, frames, moveStart);
  // The scope's close brings only its own scene's tables up to date; another scene's last
  // frame (its length as a source) must not wait for its next edit.
  if (!event.scope || event.scope->scene.get() != scene) scene->update();
}

void MediaInputEditHost::showToolTip(const std::string& text) { editUi().showToolTip(text); }

void MediaInputEditHost::showSceneInfo(int sceneId) {
  if (const Scene* scene = findSourceScene(sceneId)) scene->showInfoTooltip();
}

}  // namespace Edit
