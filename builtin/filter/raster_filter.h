#pragma once
// "ラスター": shifts each row or column along a travelling sine wave.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class RasterFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ラスター";

  RasterFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber amplitude;
  EffectItemNumber wavelength;
  EffectItemNumber cycle;
  EffectItemCheck vertical;
  EffectItemCheck randomAmplitude;
};

}  // namespace Effect
