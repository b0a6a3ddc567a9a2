#include "builtin/camera/camera_light_ambient.h"

namespace Effect {

CameraLightAmbient::CameraLightAmbient()
    : EffectBase(kName, EffectType::Filter, MediaType::Camera, TargetType::Camera),
      brightness(items, "明るさ", 50.0, 0.0, 200.0, 0.01),
      color(items, "色", 0xFFFFFF) {
  label = "カメラ制御";
}

std::shared_ptr<EffectBase> CameraLightAmbient::create() const {
  return std::make_shared<CameraLightAmbient>();
}

}  // namespace Effect
