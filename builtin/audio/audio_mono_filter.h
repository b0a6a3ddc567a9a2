#pragma once
// "モノラル化": mixes the two channels of the sound into one.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class AudioMonoFilter : public EffectBase {
 public:
  static constexpr const char* kName = "モノラル化";

  AudioMonoFilter();
  std::shared_ptr<EffectBase> create() const override;
  OwnedAudio filterAudio(EffectContext& context, OwnedAudio audio) override;

  EffectItemNumber ratio;
};

}  // namespace Effect
