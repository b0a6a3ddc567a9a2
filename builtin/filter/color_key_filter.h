#pragma once
// "カラーキー": makes the pixels close to a chosen colour transparent.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ColorKeyFilter : public EffectBase {
 public:
  static constexpr const char* kName = "カラーキー";

  ColorKeyFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber luminanceRange;
  EffectItemNumber chromaRange;
  EffectItemNumber borderCorrection;
  EffectItemColor keyColor;
};

}  // namespace Effect
