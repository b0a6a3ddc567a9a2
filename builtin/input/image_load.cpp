#include "builtin/input/image_load.h"

#include "builtin/input/input_file_filters.h"

namespace Effect {

ImageLoad::ImageLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video),
      file(items, "ファイル", "", &InputFileFilters::image()),
      number(items, "表示番号", 0.0, 0.0, 10000.0, 1.0),
      sequence(items, "連番ファイル", false) {
  file.notify = sequence.notify = true;
}

std::shared_ptr<EffectBase> ImageLoad::create() const { return std::make_shared<ImageLoad>(); }

}  // namespace Effect
