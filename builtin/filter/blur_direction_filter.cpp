#include "builtin/filter/blur_direction_filter.h"

namespace Effect {

BlurDirectionFilter::BlurDirectionFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 20.0, 0.0, 1000.0, 1.0),
      angle(items, "角度", 50.0, -3600.0, 3600.0, 0.01),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BlurDirectionFilter::create() const {
  return std::make_shared<BlurDirectionFilter>();
}

}  // namespace Effect
