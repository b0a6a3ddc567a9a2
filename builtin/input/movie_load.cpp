#include "builtin/input/movie_load.h"

#include "builtin/input/input_file_filters.h"
#include "builtin/input/media_cache_access.h"
#include "effect/effect_event_param.h"
#include "media/input/input_service.h"

namespace Effect {

MovieLoad::MovieLoad()
    : EffectBase(kName, EffectType::Input, MediaType::VideoAudio, TargetType::VideoAudio),
      InputMovieEffect({position, speed, &file, nullptr, &loop}, InputMovieEffect::Video),
      position(items, "再生位置", 0.0, 0.0, 20000.0, 0.001),
      speed(items, "再生速度", 100.0, -2000.0, 2000.0, 0.01),
      file(items, "ファイル", "", &InputFileFilters::video()),
      loop(items, "ループ再生", false),
      hasAudio(items, "音声付き", 0, 0, 1, ItemType::HiddenInteger) {
  file.notify = speed.notify = true;
  initPositionItem();
}

std::shared_ptr<EffectBase> MovieLoad::create() const { return std::make_shared<MovieLoad>(); }

bool MovieLoad::canSeparateAudio(int value) const {
  return value == 0 && !file.path.empty() && hasAudio.value != 0;
}

OwnedImage MovieLoad::inputVideo(EffectContext& context) {
  return inputMediaFrame(*this, file.path, context);
}

void MovieLoad::preInputVideo(EffectContext& context) {
  preInputMediaFrame(*this, file.path, context);
}

OwnedAudio MovieLoad::inputAudio(EffectContext& context) {
  return inputMediaAudio(*this, file.path, context);
}

void MovieLoad::preInputAudio(EffectContext& context) {
  preInputMediaAudio(*this, file.path, context);
}

std::string MovieLoad::getDisplayName() const {
  return fileDisplayName(file.path, EffectBase::getDisplayName());
}

bool MovieLoad::editEvent(EffectEventParam& event) {
  const bool handled = handleEditEvent(event);
  if (event.kind == EffectEventParam::ItemChanged || event.kind == EffectEventParam::FileSet) {
    const MediaInfo info = mediaInfo();
    hasAudio.value = info.loaded && info.hasAudio ? 1 : 0;
  }
  return handled;
}

bool MovieLoad::isSupportedFile(const std::string& path) const {
  auto* inputs = Plugin::InputService::instance();
  return inputs && inputs->getInputFile(path, 1) != nullptr;
}

}  // namespace Effect
