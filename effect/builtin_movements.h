#pragma once
// The movement kinds the effect framework needs itself: the single value of a track without
// movement, the two values of a media input's playback range, and the straight line
// between points (with its accelerate and decelerate options).
#include "effect/movement_base.h"

namespace Effect {

// "移動無し": one value for the whole object.
class NoMove : public MovementBase {
 public:
  static constexpr const char* kName = "移動無し";
  NoMove();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
};

// "再生範囲": the start and end of a media input's playback; the position is the first.
// Offered only by the media inputs, never in the general movement menu.
class MovieRange : public MovementBase {
 public:
  static constexpr const char* kName = "再生範囲";
  MovieRange();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
};

// "直線移動": from each point's value to the next at constant speed. Acceleration starts
// the first section at rest, deceleration ends the last one at rest; the sections between
// stay linear.
class LinearMove : public MovementBase {
 public:
  static constexpr const char* kName = "直線移動";
  LinearMove();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
};

}  // namespace Effect
