#include "builtin/control/group_control.h"

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
