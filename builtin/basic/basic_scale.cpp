#include "builtin/basic/basic_scale.h"

namespace Effect {

BasicScale::BasicScale()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      zoom(items, "拡大率", 100.0, 0.0, 10000.0, 0.001),
      x(items, "X", 100.0, 0.0, 10000.0, 0.001),
      y(items, "Y", 100.0, 0.0, 10000.0, 0.001),
      z(items, "Z", 100.0, 0.0, 10000.0, 0.001) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicScale::create() const { return std::make_shared<BasicScale>(); }

}  // namespace Effect

namespace Effect {

OwnedImage BasicScale::filterVideo(EffectContext& context, OwnedImage image) {
  const float whole = static_cast<float>(zoom.getValue(context) * 0.01);
  OutputView& view = context.outputView;
  view.scaleX *= whole;
  view.scaleY *= whole;
  view.scaleZ *= whole;
  view.scaleX *= static_cast<float>(x.getValue(context) * 0.01);
  view.scaleY *= static_cast<float>(y.getValue(context) * 0.01);
  view.scaleZ *= static_cast<float>(z.getValue(context) * 0.01);
  return image;
}

}  // namespace Effect
