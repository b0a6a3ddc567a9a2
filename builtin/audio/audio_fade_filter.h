#pragma once
// "音量フェード": fades the sound in and out at the object's ends.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class AudioFadeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "音量フェード";

  AudioFadeFilter();
  std::shared_ptr<EffectBase> create() const override;
  OwnedAudio filterAudio(EffectContext& context, OwnedAudio audio) override;

  EffectItemNumber fadeIn;
  EffectItemNumber fadeOut;
};

}  // namespace Effect
