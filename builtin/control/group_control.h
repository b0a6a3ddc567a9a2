#pragma once
// "グループ制御": moves, turns and scales the objects of the layers below as one group.
#include <memory>

#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/move_effect.h"
#include "render/control_state.h"

namespace Effect {

class GroupControl : public MoveEffect, public Render::GroupControlState {
 public:
  static constexpr const char* kName = "グループ制御";

  GroupControl();
  std::shared_ptr<EffectBase> create() const override;
  // "対象レイヤー数": how many following layers the group governs (0: all).
  EffectItemLayerRange* getLayerRange() override;
  // Publishes the group's world matrix, its view and whether it stays flat, nested in the
  // enclosing group's (the context's group link) when there is one.
  void controlVideo(EffectContext& context) override;
  // Rz x Ry x Rx x S x T of the items at the context.
  XMath::Matrix getWorldMatrix(const EffectContext& context) const;
  bool isFlatAt(const EffectContext& context) const;

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
