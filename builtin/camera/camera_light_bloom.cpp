#include "builtin/camera/camera_light_bloom.h"

namespace Effect {

CameraLightBloom::CameraLightBloom()
    : EffectBase(kName, EffectType::Filter, MediaType::Camera, TargetType::Camera),
      strength(items, "強さ", 100.0, 0.0, 500.0, 0.1),
      spread(items, "拡散", 400.0, 0.0, 2000.0, 1.0) {
  label = "カメラ制御";
}

std::shared_ptr<EffectBase> CameraLightBloom::create() const {
  return std::make_shared<CameraLightBloom>();
}

}  // namespace Effect
