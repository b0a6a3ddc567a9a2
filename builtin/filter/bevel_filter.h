#pragma once
// "凸エッジ": lights and shades the picture along its edges as if it were raised.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BevelFilter : public EffectBase {
 public:
  static constexpr const char* kName = "凸エッジ";

  BevelFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber width;
  EffectItemNumber height;
  EffectItemNumber angle;
};

}  // namespace Effect
