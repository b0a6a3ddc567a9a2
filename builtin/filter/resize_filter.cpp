#include "builtin/filter/resize_filter.h"

namespace Effect {

ResizeFilter::ResizeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      zoom(items, "拡大率", 100.0, 0.0, 10000.0, 0.001),
      x(items, "X", 100.0, 0.0, 10000.0, 0.001),
      y(items, "Y", 100.0, 0.0, 10000.0, 0.001),
      nearest(items, "補間なし", false),
      pixelSize(items, "ピクセル数でサイズ指定", false) {
  label = "変形";
}

std::shared_ptr<EffectBase> ResizeFilter::create() const {
  return std::make_shared<ResizeFilter>();
}

}  // namespace Effect
