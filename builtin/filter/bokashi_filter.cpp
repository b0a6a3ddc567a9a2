#include "builtin/filter/bokashi_filter.h"

namespace Effect {

BokashiFilter::BokashiFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 5.0, 0.0, 1000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      lightStrength(items, "光の強さ", 0.0, 0.0, 60.0, 0.1),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BokashiFilter::create() const {
  return std::make_shared<BokashiFilter>();
}

}  // namespace Effect
