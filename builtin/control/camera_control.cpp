#include "builtin/control/camera_control.h"

#include "builtin/item_links.h"

namespace Effect {

CameraControl::CameraControl()
    : MoveEffect(kName, EffectType::Control, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -100000.0, 100000.0, 0.01),
      y(items, "Y", 0.0, -100000.0, 100000.0, 0.01),
      z(items, "Z", -1024.0, -100000.0, 100000.0, 0.01),
      targetX(items, "目標X", 0.0, -100000.0, 100000.0, 0.01),
      targetY(items, "目標Y", 0.0, -100000.0, 100000.0, 0.01),
      targetZ(items, "目標Z", 0.0, -100000.0, 100000.0, 0.01),
      targetLayer(items, "目標レイヤー", 0.0, 0.0, 1000.0, 1.0),
      roll(items, "傾き", 0.0, -3600.0, 3600.0, 0.01),
      fieldOfView(items, "視野角", 0.0, 0.0, 120.0, 0.01),
      layerRange(items, "対象レイヤー数", 0) {
  linkItems(positionItems, {&x, &y, &z});
  linkItems(targetItems, {&targetX, &targetY, &targetZ});
  targetLayer.zeroText = "---";
  fieldOfView.zeroText = "既定値";
  label = "オブジェクト制御";
  targetType = TargetType::Camera;
}

std::shared_ptr<EffectBase> CameraControl::create() const {
  return std::make_shared<CameraControl>();
}

EffectItemLayerRange* CameraControl::getLayerRange() { return &layerRange; }

void CameraControl::createResource() { resource_ = std::make_shared<CommonResource>(); }

void CameraControl::shareResource(const EffectBase& prototype) {
  resource_ = dynamic_cast<const CameraControl&>(prototype).resource_;
}

}  // namespace Effect
