#include "builtin/filter/image_loop.h"

namespace Effect {

ImageLoop::ImageLoop()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      columns(items, "横回数", 1.0, 1.0, 100.0, 1.0),
      rows(items, "縦回数", 1.0, 1.0, 100.0, 1.0),
      offsetX(items, "オフセットX", 0.0, -10000.0, 10000.0, 0.001),
      offsetY(items, "オフセットY", 0.0, -10000.0, 10000.0, 0.001),
      separateObjects(items, "個別オブジェクト", false) {
  label = "配置";
}

std::shared_ptr<EffectBase> ImageLoop::create() const { return std::make_shared<ImageLoop>(); }

}  // namespace Effect
