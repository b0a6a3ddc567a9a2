#pragma once
// "ノイズ除去": pulls each pixel towards its similar neighbours.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class NoiseReductionFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ノイズ除去";

  NoiseReductionFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber range;
  EffectItemNumber threshold;
};

}  // namespace Effect
