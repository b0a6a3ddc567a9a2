#include "builtin/output/audio_output.h"

#include "builtin/output/audio_mix.h"

namespace Effect {

AudioOutput::AudioOutput()
    : EffectBase(kName, EffectType::Output, MediaType::Audio, TargetType::Audio),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01),
      balance(items, "左右", 0.0, -100.0, 100.0, 0.01) {}

std::shared_ptr<EffectBase> AudioOutput::create() const { return std::make_shared<AudioOutput>(); }

void AudioOutput::outputAudio(EffectContext& context, Media::AudioBuffer& target,
                              OwnedAudio& audio) {
  if (!audio) return;
  const float v = static_cast<float>(volume.getValue(context)) * 0.01f;
  const float b = static_cast<float>(balance.getValue(context)) * 0.01f;
  float left = v;
  float right = v;
  if (b > 0.0f) left *= 1.0f - b;
  if (b < 0.0f) right *= 1.0f + b;
  mixScaled(context, target, *audio, left, right);
}

}  // namespace Effect
