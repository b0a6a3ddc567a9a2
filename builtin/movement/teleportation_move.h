#pragma once
// "瞬間移動": the value jumps at each point. A section shows the value of the point that
// starts it, from its first frame to its last; the last point's value is never shown.
#include "effect/movement_base.h"

namespace Effect {

class TeleportationMove : public MovementBase {
 public:
  static constexpr const char* kName = "瞬間移動";
  TeleportationMove();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
  // Only the points before the last have a value that is shown.
  bool hasEndValue(const EffectItemNumber& track, int pointIndex) const override;
};

}  // namespace Effect
