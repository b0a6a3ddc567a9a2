#include "builtin/control/group_control.h"

#include "gpu/render_buffer.h"
#include "render/transform.h"

#include "builtin/item_links.h"

namespace Effect {

GroupControl::GroupControl()
    : MoveEffect(kName, EffectType::Control, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -100000.0, 100000.0, 0.01),
      y(items, "Y", 0.0, -100000.0, 100000.0, 0.01),
      z(items, "Z", 0.0, -100000.0, 100000.0, 0.01),
      rotationX(items, "X軸回転", 0.0, -3600.0, 3600.0, 0.01),
      rotationY(items, "Y軸回転", 0.0, -3600.0, 3600.0, 0.01),
      rotationZ(items, "Z軸回転", 0.0, -3600.0, 3600.0, 0.01),
      zoom(items, "拡大率", 100.0, 0.0, 10000.0, 0.001),
      layerRange(items, "対象レイヤー数", 0) {
  linkItems(positionItems, {&x, &y, &z});
  label = "オブジェクト制御";
}

std::shared_ptr<EffectBase> GroupControl::create() const {
  return std::make_shared<GroupControl>();
}

EffectItemLayerRange* GroupControl::getLayerRange() { return &layerRange; }

}  // namespace Effect

namespace Effect {

XMath::Matrix GroupControl::getWorldMatrix(const EffectContext& context) const {
  const auto value = [&](const EffectItemNumber& item) {
    return static_cast<float>(item.getValue(context));
  };
  const float scale = value(zoom) * 0.01f;
  XMath::Matrix world = XMath::rotationZ(XMath::toRadians(value(rotationZ)));
  world = XMath::multiply(world, XMath::rotationY(XMath::toRadians(value(rotationY))));
  world = XMath::multiply(world, XMath::rotationX(XMath::toRadians(value(rotationX))));
  world = XMath::multiply(world, XMath::scaling(scale, scale, scale));
  return XMath::multiply(world, XMath::translation(value(x), value(y), value(z)));
}

bool GroupControl::isFlatAt(const EffectContext& context) const {
  const auto value = [&](const EffectItemNumber& item) {
    return static_cast<float>(item.getValue(context));
  };
  return value(zoom) == 100.0f && value(z) == 0.0f && value(rotationZ) == 0.0f &&
         value(rotationY) == 0.0f && value(rotationX) == 0.0f;
}

void GroupControl::controlVideo(EffectContext& context) {
  const XMath::Matrix own = getWorldMatrix(context);
  if (const auto* enclosing = Render::published<Render::GroupControlState>(
          context.outputView.groupControl);
      enclosing && enclosing != this) {
    worldMatrix = XMath::multiply(own, enclosing->worldMatrix);
    viewMatrix = enclosing->viewMatrix;
    isFlat = enclosing->isFlat && isFlatAt(context);
    return;
  }
  worldMatrix = own;
  // The group's own perspective: its vanishing point is the group's position, and points at
  // z = 0 keep their place and size on screen.
  Effect::OutputView view;
  view.x = static_cast<float>(x.getValue(context));
  view.y = static_cast<float>(y.getValue(context));
  const Media::RenderBuffer* frame = context.outputView.target;
  viewMatrix = Render::getDefaultView(view, frame ? static_cast<unsigned>(frame->width()) : 0u,
                                      frame ? static_cast<unsigned>(frame->height()) : 0u);
  isFlat = isFlatAt(context);
}

}  // namespace Effect
