#pragma once
// "色調補正": brightness, contrast, hue, luminance and saturation in one pass.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ColorFilter : public EffectBase {
 public:
  static constexpr const char* kName = "色調補正";

  ColorFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber brightness;
  EffectItemNumber contrast;
  EffectItemNumber hue;
  EffectItemNumber luminance;
  EffectItemNumber saturation;
  EffectItemCheck saturate;
};

}  // namespace Effect
