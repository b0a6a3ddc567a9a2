#pragma once
// "波紋": displaces pixels radially in travelling rings around a centre.
#include <memory>

#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class RippleFilter : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "波紋";

  RippleFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber centerX;
  EffectItemNumber centerY;
  EffectItemNumber width;
  EffectItemNumber height;
  EffectItemNumber speed;
  EffectItemInteger count;
  EffectItemInteger interval;
  EffectItemInteger amplification;
};

}  // namespace Effect
