#pragma once
// "ランダム移動": a value that wanders between the track's first and second value. Every
// period of frames, counted from the object's first frame, the track heads for a new
// random target, along a smooth curve through the targets. The targets come from a fixed
// sequence of the cell number and the track's place in its link group, so a render gives
// the same motion every time and in every object, while a position's X, Y and Z wander
// independently. The period is the kind's one parameter ("設定"), 15 frames by default.
#include <cstdint>
#include <span>

#include "effect/movement_base.h"

namespace Effect {

class RandomMove : public MovementBase {
 public:
  static constexpr const char* kName = "ランダム移動";
  static constexpr double kDefaultPeriod = 15.0;
  RandomMove();
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;
  // No path is drawn: the targets are not points the user placed.
  bool isTrajectoryVisible(const EffectItemNumber& track) const override;

  // The random 64-bit word of a cell for a seed: the one generator of every effect and
  // script that draws random numbers, so a frame renders the same every time.
  static uint64_t randomWord(int64_t cell, int64_t seed);
  // The random fraction 0..1 of a cell for a seed.
  static float randomFraction(int64_t cell, int64_t seed);
  // Several fractions of a cell for a seed: the first is randomFraction's, each further one
  // comes from scrambling again the value that gave the one before.
  static void randomFractions(int64_t cell, int64_t seed, std::span<float> fractions);
};

}  // namespace Effect
