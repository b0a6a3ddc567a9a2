#include "builtin/camera/camera_light_ambient.h"

#include "builtin/camera/camera_light_record.h"
#include "effect/effect_context.h"
#include "gpu/render_buffer.h"

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

void CameraLightAmbient::preInputVideo(EffectContext& context) {
  Media::RenderBuffer* frame = context.outputView.target;
  if (!frame) return;
  frame->lightSources.push_back(
      CameraLightRecord::ambient(static_cast<float>(brightness.getValue(context)), color.rgb()));
}

}  // namespace Effect
