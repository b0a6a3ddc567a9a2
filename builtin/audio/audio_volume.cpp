#include "builtin/audio/audio_volume.h"

namespace Effect {

AudioVolume::AudioVolume()
    : EffectBase(kName, EffectType::Filter, MediaType::Audio, TargetType::Audio),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01),
      balance(items, "左右", 0.0, -100.0, 100.0, 0.01) {
  label = "音声効果";
}

std::shared_ptr<EffectBase> AudioVolume::create() const { return std::make_shared<AudioVolume>(); }

}  // namespace Effect
