#pragma once
// "放射ブラー": smears each pixel towards a centre, as in a zoom.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BlurFilter : public EffectBase {
 public:
  static constexpr const char* kName = "放射ブラー";

  BlurFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber range;
  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
