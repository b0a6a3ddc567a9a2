#pragma once
// "補間移動(時間制御)": the smooth curve through every point, travelled at an even pace
// along the whole path under the track's easing curve, as "直線移動(時間制御)" does for
// straight lines. Both ends continue the curvature of their neighbours; the kind offers
// no acceleration or deceleration.
#include "effect/movement_base.h"

namespace Effect {

class InterpolationSpeed : public MovementBase {
 public:
  static constexpr const char* kName = "補間移動(時間制御)";
  InterpolationSpeed();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
  // The section the value is in after the lookup along the path.
  int getSectionFrame(const EffectItemNumber& track, const SectionPosition& position) const override;
};

}  // namespace Effect
