#pragma once
// "直線移動(時間制御)": straight lines between the points at an even speed along the
// whole path. The object's progress, through the track's easing curve, is a share of the
// path's length, so each section takes time in proportion to its length and the midpoint
// frames do not matter. A position's X, Y and Z are measured together as one point.
#include "effect/movement_base.h"

namespace Effect {

class LinearSpeed : public MovementBase {
 public:
  static constexpr const char* kName = "直線移動(時間制御)";
  LinearSpeed();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
  // The section the value is in after the lookup along the path.
  int getSectionFrame(const EffectItemNumber& track, const SectionPosition& position) const override;
};

}  // namespace Effect
