#pragma once
// "方向ブラー": smears each pixel both ways along one angle.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BlurDirectionFilter : public EffectBase {
 public:
  static constexpr const char* kName = "方向ブラー";

  BlurDirectionFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber range;
  EffectItemNumber angle;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
