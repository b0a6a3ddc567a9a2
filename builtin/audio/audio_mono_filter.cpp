#include "builtin/audio/audio_mono_filter.h"

#include "effect/effect_context.h"
#include "media/audio/audio_buffer.h"

namespace Effect {

AudioMonoFilter::AudioMonoFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Audio, TargetType::Audio),
      ratio(items, "比率", 0.0, -100.0, 100.0, 0.01) {
  label = "音声効果";
}

std::shared_ptr<EffectBase> AudioMonoFilter::create() const {
  return std::make_shared<AudioMonoFilter>();
}


// m = a x first + b x second on both channels; the sum is not halved (at 0 the result is left
// + right). A one-channel buffer serves as both channels.
OwnedAudio AudioMonoFilter::filterAudio(EffectContext& context, OwnedAudio audio) {
  if (!audio) return audio;
  const float p = static_cast<float>(ratio.getValue(context)) * 0.01f;
  const float a = p < 0.0f ? 1.0f + p : 1.0f;
  const float b = p > 0.0f ? 1.0f - p : 1.0f;
  float* first = audio->getChannelData(0);
  float* second = audio->getChannelData(1);
  const int count = audio->sampleCount();
  for (int k = 0; k < count; ++k) {
    const float m = a * first[k] + b * second[k];
    first[k] = m;
    second[k] = m;
  }
  return audio;
}

}  // namespace Effect
