#pragma once
// "透明度": makes the object more transparent.
#include <memory>

#include "effect/effect_context.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class BasicAlpha : public EffectBase {
 public:
  static constexpr const char* kName = "透明度";

  BasicAlpha();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber transparency;
};

}  // namespace Effect
