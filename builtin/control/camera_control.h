#pragma once
// "カメラ制御": puts the layers below under a 3-D camera placed at X, Y, Z and looking at a target.
#include <memory>

#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/move_effect.h"

namespace Effect {

class CameraControl : public MoveEffect {
 public:
  static constexpr const char* kName = "カメラ制御";

  CameraControl();
  std::shared_ptr<EffectBase> create() const override;
  // "対象レイヤー数": how many following layers the camera governs (0: all).
  EffectItemLayerRange* getLayerRange() override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
  EffectItemNumber targetX;
  EffectItemNumber targetY;
  EffectItemNumber targetZ;
  EffectItemLayerObject targetLayer;
  EffectItemNumber roll;
  EffectItemNumber fieldOfView;
  EffectItemLayerRange layerRange;

  // The target offset "目標X", "目標Y", "目標Z": moved together like the position.
  NumberItemList targetItems;
};

}  // namespace Effect
