#pragma once
// "閃光": turns the picture into a radial burst of light around a centre.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class FlashFilter : public EffectBase {
 public:
  static constexpr const char* kName = "閃光";

  FlashFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemSelect composite;
  EffectItemColor lightColor;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
