#pragma once
// "ぼかし": softens the picture; its blur routine serves every blur of the program.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BokashiFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ぼかし";

  BokashiFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber range;
  EffectItemNumber aspect;
  EffectItemNumber lightStrength;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
