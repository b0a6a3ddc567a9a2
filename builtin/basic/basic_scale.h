#pragma once
// "拡大率": scales the object, as a whole and per axis.
#include <memory>

#include "effect/effect_context.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BasicScale : public EffectBase {
 public:
  static constexpr const char* kName = "拡大率";

  BasicScale();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber zoom;
  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
};

}  // namespace Effect
