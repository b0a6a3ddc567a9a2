#pragma once
// "発光": adds blurred copies of the bright parts onto the picture.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/owned_buffer.h"

namespace Effect {

class BloomFilter : public EffectBase {
 public:
  static constexpr const char* kName = "発光";

  BloomFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The bright parts (optionally recoloured) blurred at four growing radii and added onto
  // the picture, which grows by the spread on every side unless its size is fixed.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // Blurs `layer` with the registered "ぼかし" (growing by the radius, or keeping its size
  // with transparency outside when `sizeFixed`) and adds it onto the middle of `target`.
  static void addGlowLayer(Media::ResourceBuffer& target, OwnedImage layer, int radius,
                           bool sizeFixed);

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemNumber threshold;
  EffectItemNumber spreadSpeed;
  EffectItemColor lightColor;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
