#pragma once
// "ノイズ": multiplies the picture by animated fractal noise.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class NoiseFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ノイズ";

  NoiseFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber speedX;
  EffectItemNumber speedY;
  EffectItemNumber changeSpeed;
  EffectItemNumber cycleX;
  EffectItemNumber cycleY;
  EffectItemNumber threshold;
  EffectItemInteger seed;
  EffectItemSelect composite;
  EffectItemSelect kind;
};

}  // namespace Effect
