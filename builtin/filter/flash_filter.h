#pragma once
// "閃光": turns the picture into a radial burst of light around a centre.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class FlashFilter : public EffectBase {
 public:
  static constexpr const char* kName = "閃光";

  // The values of "合成モード".
  enum Composite : int { kFront, kBehind, kLightOnly };
  // The radial blur's range that makes the burst, in percent of the way to the centre.
  static constexpr float kBurstRange = 75.0f;

  FlashFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture smeared by the registered radial blur out from the centre moved by "X",
  // "Y", tinted and weakened by "光色" and "強さ", with the picture in front of the light,
  // behind it or left out; the centre offset moves so that the picture stays in place.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber strength;
  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemSelect composite;
  EffectItemColor lightColor;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
