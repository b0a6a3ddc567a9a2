#include "builtin/output/audio_mix.h"

#include "effect/effect_context.h"
#include "effect/output_audio_effect.h"
#include "media/audio/audio_buffer.h"

namespace Effect {

void mixScaled(const EffectContext& context, Media::AudioBuffer& target,
               const Media::AudioBuffer& sound, float leftFactor, float rightFactor) {
  EffectContext scaled = context;
  scaled.audio.gainLeft *= leftFactor;
  scaled.audio.gainRight *= rightFactor;
  const bool stereoOut = target.channels() == 2;
  const bool stereoIn = sound.channels() == 2;
  OutputAudioEffect::mixAudio(
      scaled,
      {target.getChannelData(0), stereoOut ? target.getChannelData(1) : nullptr,
       target.sampleCount()},
      {sound.getChannelData(0), stereoIn ? sound.getChannelData(1) : nullptr, sound.sampleCount()});
}

}  // namespace Effect
