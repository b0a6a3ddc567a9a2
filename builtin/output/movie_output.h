#pragma once
// "映像再生": draws the picture as the standard drawing does and plays the sound with a volume.
#include <memory>

#include "effect/effect_item_number.h"
#include "effect/output_audio_effect.h"
#include "effect/output_effect_base.h"

namespace Effect {

class MovieOutput : public BasicOutput, public OutputAudioEffect {
 public:
  static constexpr const char* kName = "映像再生";

  MovieOutput();
  std::shared_ptr<EffectBase> create() const override;
  void outputAudio(EffectContext& context, Media::AudioBuffer& target, OwnedAudio& audio) override;

  EffectItemNumber volume;
};

}  // namespace Effect
