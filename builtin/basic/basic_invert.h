#pragma once
// "反転": mirrors the picture and inverts its luminance, hue and transparency.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"

namespace Effect {

class BasicInvert : public EffectBase {
 public:
  static constexpr const char* kName = "反転";

  BasicInvert();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemCheck flipVertical;
  EffectItemCheck flipHorizontal;
  EffectItemCheck invertLuminance;
  EffectItemCheck invertHue;
  EffectItemCheck invertAlpha;
};

}  // namespace Effect
