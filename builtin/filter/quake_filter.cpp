#include "builtin/filter/quake_filter.h"

namespace Effect {

QuakeFilter::QuakeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", 10.0, -500.0, 500.0, 1.0),
      y(items, "Y", 10.0, -500.0, 500.0, 1.0),
      z(items, "Z", 0.0, -500.0, 500.0, 1.0),
      period(items, "周期", 1.0, 1.0, 100.0, 1.0),
      randomStrength(items, "ランダムに強さを変える", true),
      complex(items, "複雑に振動", false) {
  label = "アニメーション効果";
}

std::shared_ptr<EffectBase> QuakeFilter::create() const { return std::make_shared<QuakeFilter>(); }

}  // namespace Effect
