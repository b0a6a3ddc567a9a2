#include "builtin/basic/basic_alpha.h"

namespace Effect {

BasicAlpha::BasicAlpha()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      transparency(items, "透明度", 0.0, 0.0, 100.0, 0.01) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicAlpha::create() const { return std::make_shared<BasicAlpha>(); }

}  // namespace Effect

namespace Effect {

OwnedImage BasicAlpha::filterVideo(EffectContext& context, OwnedImage image) {
  context.outputView.opacity *= static_cast<float>(1.0 - transparency.getValue(context) * 0.01);
  return image;
}

}  // namespace Effect
