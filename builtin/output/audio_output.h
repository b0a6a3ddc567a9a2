#pragma once
// "音声再生": plays the object's sound with a volume and a balance.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/output_audio_effect.h"

namespace Effect {

class AudioOutput : public EffectBase, public OutputAudioEffect {
 public:
  static constexpr const char* kName = "音声再生";

  AudioOutput();
  std::shared_ptr<EffectBase> create() const override;
  void outputAudio(EffectContext& context, Media::AudioBuffer& target, OwnedAudio& audio) override;

  EffectItemNumber volume;
  EffectItemNumber balance;
};

}  // namespace Effect
