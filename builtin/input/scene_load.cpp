#include "builtin/input/scene_load.h"

#include "builtin/input/media_cache_access.h"
#include "edit/edit_service.h"
#include "edit/scene.h"
#include "render/cache_keys.h"

namespace Effect {

SceneLoad::SceneLoad()
    : EffectBase(kName, EffectType::Input, MediaType::VideoAudio, TargetType::VideoAudio),
      InputMovieEffect({position, speed, nullptr, &scene, &loop}, InputMovieEffect::Video),
      position(items, "再生位置", 0.0, 0.0, 20000.0, 0.001),
      speed(items, "再生速度", 100.0, -2000.0, 2000.0, 0.01),
      scene(items, "シーン", 0),
      loop(items, "ループ再生", false) {
  scene.notify = speed.notify = true;
  initPositionItem();
}

std::shared_ptr<EffectBase> SceneLoad::create() const { return std::make_shared<SceneLoad>(); }

bool SceneLoad::canSeparateAudio(int value) const { return value == 0; }

std::string SceneLoad::sourceName() const {
  // Scene 0 (the root) is never a source.
  return scene.value == 0 ? std::string() : Cache::getSceneFileName(scene.value);
}

OwnedImage SceneLoad::inputVideo(EffectContext& context) {
  return inputMediaFrame(*this, sourceName(), context);
}

void SceneLoad::preInputVideo(EffectContext& context) {
  preInputMediaFrame(*this, sourceName(), context);
}

OwnedAudio SceneLoad::inputAudio(EffectContext& context) {
  return inputMediaAudio(*this, sourceName(), context);
}

void SceneLoad::preInputAudio(EffectContext& context) {
  preInputMediaAudio(*this, sourceName(), context);
}

std::string SceneLoad::getDisplayName() const {
  if (scene.value != 0) {
    if (const Edit::EditService* edit = Edit::EditService::instance())
      if (auto found = edit->getScene(scene.value); found && !found->name.empty())
        return found->name;
  }
  return EffectBase::getDisplayName();
}

bool SceneLoad::editEvent(EffectEventParam& event) { return handleEditEvent(event); }

}  // namespace Effect
