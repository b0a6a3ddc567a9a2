#pragma once
// "振動": shakes the object by moving its position offset.
#include <cstdint>
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class QuakeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "振動";

  QuakeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // Adds the shake of the context's frame to the object's position; the picture passes
  // on untouched.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shake at `frames` frames after the object's first: a swing of `period` frames each
  // way (complex: the sum of swings of period, period / 2, ... 1 with halving weights),
  // scaled per axis by random strengths of the swing and `seed` when `randomStrength`.
  struct Shake {
    double x = 0.0, y = 0.0, z = 0.0;
  };
  static Shake shakeAt(int64_t frames, int period, const Shake& amplitude, bool randomStrength,
                       bool complex, uint32_t seed);
  // What sets one object's shake apart from another's: its last and first frame, its part
  // index and its layer.
  static uint32_t shakeSeed(int lastFrame, int firstFrame, int partIndex, int layer);

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
  EffectItemNumber period;
  EffectItemCheck randomStrength;
  EffectItemCheck complex;
};

}  // namespace Effect
