#pragma once
// "オブジェクト分割": cuts the picture into a grid of tiles drawn as separate objects.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ObjectDivide : public EffectBase {
 public:
  static constexpr const char* kName = "オブジェクト分割";

  ObjectDivide();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber columns;
  EffectItemNumber rows;
};

}  // namespace Effect
