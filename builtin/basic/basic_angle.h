#pragma once
// "回転": turns the object about its three axes.
#include <memory>

#include "effect/effect_context.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BasicAngle : public EffectBase {
 public:
  static constexpr const char* kName = "回転";

  BasicAngle();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
};

}  // namespace Effect
