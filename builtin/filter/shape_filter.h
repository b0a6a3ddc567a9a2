#pragma once
// "シャープ": sharpens the picture with an unsharp mask.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ShapeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "シャープ";

  ShapeFilter();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber strength;
  EffectItemNumber range;
};

}  // namespace Effect
