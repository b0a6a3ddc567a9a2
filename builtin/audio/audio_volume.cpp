#include "builtin/audio/audio_volume.h"

#include "effect/effect_context.h"

namespace Effect {

AudioVolume::AudioVolume()
    : EffectBase(kName, EffectType::Filter, MediaType::Audio, TargetType::Audio),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01),
      balance(items, "左右", 0.0, -100.0, 100.0, 0.01) {
  label = "音声効果";
}

std::shared_ptr<EffectBase> AudioVolume::create() const { return std::make_shared<AudioVolume>(); }


// The samples stay as they are: the gains travel in the context to the output, which mixes
// with them.
OwnedAudio AudioVolume::filterAudio(EffectContext& context, OwnedAudio audio) {
  const float v = static_cast<float>(volume.getValue(context)) * 0.01f;
  const float b = static_cast<float>(balance.getValue(context)) * 0.01f;
  context.audio.gainLeft *= v;
  context.audio.gainRight *= v;
  if (b > 0.0f) context.audio.gainLeft *= 1.0f - b;
  if (b < 0.0f) context.audio.gainRight *= 1.0f + b;
  return audio;
}

}  // namespace Effect
