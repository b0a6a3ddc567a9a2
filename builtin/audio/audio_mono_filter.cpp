#include "builtin/audio/audio_mono_filter.h"

namespace Effect {

AudioMonoFilter::AudioMonoFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Audio, TargetType::Audio),
      ratio(items, "比率", 0.0, -100.0, 100.0, 0.01) {
  label = "音声効果";
}

std::shared_ptr<EffectBase> AudioMonoFilter::create() const {
  return std::make_shared<AudioMonoFilter>();
}

}  // namespace Effect
