#pragma once
// "補間移動": a smooth curve through every point, a position's X, Y and Z bent together.
// Each section keeps its own frames; the progress inside a section is warped by the
// lengths of the neighbouring sections so that the speed carries over each midpoint
// without a jump, however long the two sections around it are. Acceleration and
// deceleration (both on when the kind is chosen) start and end the motion at rest; without
// them the ends continue the curvature of their neighbours.
#include "effect/movement_base.h"

namespace Effect {

class InterpolationMove : public MovementBase {
 public:
  static constexpr const char* kName = "補間移動";
  InterpolationMove();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
};

}  // namespace Effect
