#pragma once
// "ディスプレイスメントマップ": moves, scales or rotates pixels by amounts read from a map image
// placed over the picture.
#include <memory>

#include "effect/effect_item_check.h"
#include "effect/effect_item_mask_select.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class DisplacementFilter : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "ディスプレイスメントマップ";

  DisplacementFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber rotation;
  EffectItemNumber size;
  EffectItemNumber aspect;
  EffectItemNumber blur;
  EffectItemNumber moveX;
  EffectItemNumber moveY;
  EffectItemNumber scale;
  EffectItemNumber scaleAspect;
  EffectItemNumber turn;
  EffectItemSelect method;
  EffectItemMaskSelect map;
  EffectItemCheck fitSceneLength;
  EffectItemCheck fitOriginalSize;
};

}  // namespace Effect
