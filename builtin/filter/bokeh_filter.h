#pragma once
// "レンズブラー": convolves the picture with a figure-shaped kernel, as an out-of-focus lens.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class BokehFilter : public EffectBase {
 public:
  static constexpr const char* kName = "レンズブラー";

  BokehFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber range;
  EffectItemNumber lightStrength;
  EffectItemSelect shape;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
