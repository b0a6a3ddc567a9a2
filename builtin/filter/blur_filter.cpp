#include "builtin/filter/blur_filter.h"

namespace Effect {

BlurFilter::BlurFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 20.0, 0.0, 80.0, 0.01),
      x(items, "X", 0.0, -2000.0, 2000.0, 0.1),
      y(items, "Y", 0.0, -2000.0, 2000.0, 0.1),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BlurFilter::create() const { return std::make_shared<BlurFilter>(); }

}  // namespace Effect
