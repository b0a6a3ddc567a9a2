#pragma once
// "拡散光": lays a blurred, brightened copy of the picture over itself.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class DiffusionFilter : public EffectBase {
 public:
  static constexpr const char* kName = "拡散光";

  DiffusionFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
