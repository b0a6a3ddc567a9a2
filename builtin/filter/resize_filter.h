#pragma once
// "リサイズ": resamples the picture to a new size.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

class ResizeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "リサイズ";

  ResizeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture resampled to its new size; the very input when the size stays, none when a
  // side would vanish.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber zoom;
  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemCheck nearest;
  EffectItemCheck pixelSize;
};

}  // namespace Effect
