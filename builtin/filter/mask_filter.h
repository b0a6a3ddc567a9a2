#pragma once
// "マスク": multiplies the picture's coverage by the brightness of a figure, image or scene.
#include <memory>

#include "effect/effect_item_check.h"
#include "effect/effect_item_mask_select.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class MaskFilter : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "マスク";

  MaskFilter();
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
  EffectItemCheck fitOriginalSize;
};

}  // namespace Effect
