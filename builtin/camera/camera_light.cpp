#include "builtin/camera/camera_light.h"

namespace Effect {

CameraLight::CameraLight()
    : EffectBase(kName, EffectType::Filter, MediaType::Camera, TargetType::Camera),
      latitude(items, "緯度", 0.0, -3600.0, 3600.0, 0.01),
      longitude(items, "経度", 0.0, -3600.0, 3600.0, 0.01),
      tilt(items, "傾き", 0.0, -3600.0, 3600.0, 0.01),
      brightness(items, "明るさ", 50.0, 0.0, 200.0, 0.01),
      color(items, "色", 0xFFFFFF) {
  label = "カメラ制御";
}

std::shared_ptr<EffectBase> CameraLight::create() const { return std::make_shared<CameraLight>(); }

}  // namespace Effect
