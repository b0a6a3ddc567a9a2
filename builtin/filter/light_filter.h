#pragma once
// "ライト": adds a coloured light made from a blur of the picture's own shape.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class LightFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ライト";

  LightFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemNumber ratio;
  EffectItemCheck backlight;
  EffectItemColor color;
};

}  // namespace Effect
