#pragma once
// "クロマキー": makes the pixels of a chosen hue and saturation transparent.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ChromaKeyFilter : public EffectBase {
 public:
  static constexpr const char* kName = "クロマキー";

  ChromaKeyFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber hueRange;
  EffectItemNumber saturationRange;
  EffectItemNumber borderCorrection;
  EffectItemColor keyColor;
  EffectItemCheck colorCorrection;
  EffectItemCheck transparencyCorrection;
};

}  // namespace Effect
