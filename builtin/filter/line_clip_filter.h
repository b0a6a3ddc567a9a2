#pragma once
// "斜めクリッピング": cuts away a half-plane, or keeps or removes a band, along a line through a
// centre.
#include <memory>

#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class LineClipFilter : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "斜めクリッピング";

  LineClipFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber angle;
  EffectItemNumber blur;
  EffectItemNumber width;
};

}  // namespace Effect
