#pragma once
// "フェード": fades the object in and out over its first and last seconds.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class FadeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "フェード";

  FadeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // Scales the object's opacity by how far it is into its fade-in and from its end; the
  // picture itself passes on untouched.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber fadeIn;
  EffectItemNumber fadeOut;
};

}  // namespace Effect
