#include "builtin/basic/basic_angle.h"

namespace Effect {

BasicAngle::BasicAngle()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -3600.0, 3600.0, 0.01),
      y(items, "Y", 0.0, -3600.0, 3600.0, 0.01),
      z(items, "Z", 0.0, -3600.0, 3600.0, 0.01) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicAngle::create() const { return std::make_shared<BasicAngle>(); }

}  // namespace Effect

namespace Effect {

OwnedImage BasicAngle::filterVideo(EffectContext& context, OwnedImage image) {
  context.outputView.rotationX += static_cast<float>(x.getValue(context));
  context.outputView.rotationY += static_cast<float>(y.getValue(context));
  context.outputView.rotationZ += static_cast<float>(z.getValue(context));
  return image;
}

}  // namespace Effect
