#pragma once
// "扇クリッピング": cuts away a fan around a centre.
#include <memory>

#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class AngleClipFilter : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "扇クリッピング";

  AngleClipFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber baseAngle;
  EffectItemNumber rangeAngle;
  EffectItemNumber blur;
  EffectItemCheck centerOnBase;
};

}  // namespace Effect
