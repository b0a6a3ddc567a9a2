#pragma once
// "発光": adds blurred copies of the bright parts onto the picture.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BloomFilter : public EffectBase {
 public:
  static constexpr const char* kName = "発光";

  BloomFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemNumber threshold;
  EffectItemNumber spreadSpeed;
  EffectItemColor lightColor;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
