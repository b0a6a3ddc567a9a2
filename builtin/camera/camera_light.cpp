#include "builtin/camera/camera_light.h"

#include "builtin/camera/camera_light_record.h"
#include "effect/effect_context.h"
#include "gpu/render_buffer.h"

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

void CameraLight::preInputVideo(EffectContext& context) {
  Media::RenderBuffer* frame = context.outputView.target;
  if (!frame) return;
  frame->lightSources.push_back(CameraLightRecord::parallel(
      static_cast<float>(latitude.getValue(context)),
      static_cast<float>(longitude.getValue(context)), static_cast<float>(tilt.getValue(context)),
      static_cast<float>(brightness.getValue(context)), color.rgb()));
}

}  // namespace Effect
