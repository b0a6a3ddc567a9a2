#pragma once
// "単色化": tints the picture towards one colour.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

class MonochromeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "単色化";

  MonochromeFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemColor color;
  EffectItemCheck keepLuminance;
};

}  // namespace Effect
