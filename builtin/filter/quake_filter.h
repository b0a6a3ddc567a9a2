#pragma once
// "振動": shakes the object by moving its position offset.
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

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
  EffectItemNumber period;
  EffectItemCheck randomStrength;
  EffectItemCheck complex;
};

}  // namespace Effect
