#include "builtin/input/movie_load.h"

#include "builtin/input/input_file_filters.h"

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

}  // namespace Effect
