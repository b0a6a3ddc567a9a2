#include "builtin/camera/camera_light_bloom.h"

#include <cmath>

#include "effect/effect_context.h"

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

void CameraLightBloom::controlVideo(EffectContext& context) {
  Media::RenderBuffer* frame = context.outputView.target;
  if (!frame) return;
  const float s = static_cast<float>(strength.getValue(context)) * 0.01f;
  const int r = static_cast<int>(std::lround(spread.getValue(context)));
  if (!(s > 0.0f) || r <= 0) return;
  if (!resource_) createResource();
  resource_->apply(*frame, s, r);
}

void CameraLightBloom::createResource() { resource_ = std::make_shared<CommonResource>(); }

void CameraLightBloom::shareResource(const EffectBase& prototype) {
  resource_ = dynamic_cast<const CameraLightBloom&>(prototype).resource_;
}

}  // namespace Effect
