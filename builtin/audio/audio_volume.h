#pragma once
// "音量調整": the volume and balance the object's sound is played with.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"

namespace Effect {

class AudioVolume : public EffectBase {
 public:
  static constexpr const char* kName = "音量調整";

  AudioVolume();
  std::shared_ptr<EffectBase> create() const override;
  OwnedAudio filterAudio(EffectContext& context, OwnedAudio audio) override;

  EffectItemNumber volume;
  EffectItemNumber balance;
};

}  // namespace Effect
