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
  // Each tile runs through the rest of the chain and is drawn as an object of its own where
  // it lay in the picture; nothing is handed on.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber columns;
  EffectItemNumber rows;
};

}  // namespace Effect
