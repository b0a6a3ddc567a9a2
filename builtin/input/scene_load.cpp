#include "builtin/input/scene_load.h"

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

}  // namespace Effect
