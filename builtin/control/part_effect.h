#pragma once
// "部分フィルタ": applies the filters of the layers below to the frame drawn so far, only inside
// (or outside) a mask figure it places.
#include <memory>

#include "effect/effect_item_check.h"
#include "effect/effect_item_mask_select.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class PartEffect : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "部分フィルタ";

  PartEffect();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber rotation;
  EffectItemNumber size;
  EffectItemNumber aspect;
  EffectItemNumber blur;
  EffectItemMaskSelect mask;
  EffectItemCheck fitSceneLength;
  EffectItemCheck invert;
};

}  // namespace Effect
