#pragma once
// "グラデーション": a two-colour gradient laid over the picture with a blend mode; its centre is a
// handle.
#include <memory>

#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class GradationFilter : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "グラデーション";

  GradationFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber angle;
  EffectItemNumber width;
  EffectItemSelect blendMode;
  EffectItemSelect shape;
  EffectItemColor startColor;
  EffectItemColor endColor;
};

}  // namespace Effect
