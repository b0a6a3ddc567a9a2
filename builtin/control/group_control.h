#pragma once
// "グループ制御": moves, turns and scales the objects of the layers below as one group.
#include <memory>

#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/move_effect.h"

namespace Effect {

class GroupControl : public MoveEffect {
 public:
  static constexpr const char* kName = "グループ制御";

  GroupControl();
  std::shared_ptr<EffectBase> create() const override;
  // "対象レイヤー数": how many following layers the group governs (0: all).
  EffectItemLayerRange* getLayerRange() override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
  EffectItemNumber rotationX;
  EffectItemNumber rotationY;
  EffectItemNumber rotationZ;
  EffectItemNumber zoom;
  EffectItemLayerRange layerRange;
};

}  // namespace Effect
