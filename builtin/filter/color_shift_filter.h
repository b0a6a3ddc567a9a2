#pragma once
// "色ずれ": displaces two of the colour channels in opposite directions.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class ColorShiftFilter : public EffectBase {
 public:
  static constexpr const char* kName = "色ずれ";

  ColorShiftFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber shift;
  EffectItemNumber angle;
  EffectItemNumber strength;
  EffectItemSelect kind;
};

}  // namespace Effect
