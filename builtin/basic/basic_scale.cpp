#include "builtin/basic/basic_scale.h"

namespace Effect {

BasicScale::BasicScale()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      zoom(items, "拡大率", 100.0, 0.0, 10000.0, 0.001),
      x(items, "X", 100.0, 0.0, 10000.0, 0.001),
      y(items, "Y", 100.0, 0.0, 10000.0, 0.001),
      z(items, "Z", 100.0, 0.0, 10000.0, 0.001) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicScale::create() const { return std::make_shared<BasicScale>(); }

}  // namespace Effect
