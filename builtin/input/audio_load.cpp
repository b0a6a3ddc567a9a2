#include "builtin/input/audio_load.h"

#include "builtin/input/input_file_filters.h"
#include "builtin/input/media_cache_access.h"
#include "media/input/input_service.h"

namespace Effect {

AudioLoad::AudioLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Audio, TargetType::Audio),
      InputMovieEffect({position, speed, &file, nullptr, &loop}, InputMovieEffect::Audio),
      position(items, "再生位置", 0.0, 0.0, 20000.0, 0.001),
      speed(items, "再生速度", 100.0, -2000.0, 2000.0, 0.01),
      file(items, "ファイル", "", &InputFileFilters::audio()),
      loop(items, "ループ再生", false) {
  file.notify = speed.notify = true;
  initPositionItem();
}

std::shared_ptr<EffectBase> AudioLoad::create() const { return std::make_shared<AudioLoad>(); }

OwnedAudio AudioLoad::inputAudio(EffectContext& context) {
  return inputMediaAudio(*this, file.path, context);
}

void AudioLoad::preInputAudio(EffectContext& context) {
  preInputMediaAudio(*this, file.path, context);
}

std::string AudioLoad::getDisplayName() const {
  return fileDisplayName(file.path, EffectBase::getDisplayName());
}

bool AudioLoad::editEvent(EffectEventParam& event) { return handleEditEvent(event); }

bool AudioLoad::isSupportedFile(const std::string& path) const {
  auto* inputs = Plugin::InputService::instance();
  return inputs && inputs->getInputFile(path, 2) != nullptr;
}

}  // namespace Effect
