#include "builtin/basic/basic_move.h"

#include "builtin/item_links.h"

namespace Effect {

BasicMove::BasicMove()
    : MoveXYZAnchorEffect(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -100000.0, 100000.0, 0.01),
      y(items, "Y", 0.0, -100000.0, 100000.0, 0.01),
      z(items, "Z", 0.0, -100000.0, 100000.0, 0.01) {
  linkItems(positionItems, {&x, &y, &z});
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicMove::create() const { return std::make_shared<BasicMove>(); }

void BasicMove::setAnchor(EffectContext&, const EffectEntry&, int, int) {}

XMath::Vector BasicMove::getAnchorPosition(EffectContext&, double) {
  return {0.0f, 0.0f, 0.0f, 1.0f};
}

}  // namespace Effect

namespace Effect {

OwnedImage BasicMove::filterVideo(EffectContext& context, OwnedImage image) {
  context.outputView.x += static_cast<float>(x.getValue(context));
  context.outputView.y += static_cast<float>(y.getValue(context));
  context.outputView.z += static_cast<float>(z.getValue(context));
  return image;
}

}  // namespace Effect
