#pragma once
// "境界ぼかし": fades the picture towards transparency near its border.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BorderBlurFilter : public EffectBase {
 public:
  static constexpr const char* kName = "境界ぼかし";

  BorderBlurFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber range;
  EffectItemNumber aspect;
  EffectItemCheck alphaBorder;
};

}  // namespace Effect
