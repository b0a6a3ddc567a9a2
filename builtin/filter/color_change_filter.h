#pragma once
// "特定色域変換": recolours the pixels of one hue and saturation range into another colour.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ColorChangeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "特定色域変換";

  ColorChangeFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber hueRange;
  EffectItemNumber saturationRange;
  EffectItemNumber borderCorrection;
  EffectItemColor beforeColor;
  EffectItemColor afterColor;
  EffectItemCheck colorCorrection;
};

}  // namespace Effect
