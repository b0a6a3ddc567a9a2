#include "builtin/basic/basic_expand.h"

namespace Effect {

BasicExpand::BasicExpand()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      top(items, "上", 0.0, 0.0, 4000.0, 1.0),
      bottom(items, "下", 0.0, 0.0, 4000.0, 1.0),
      left(items, "左", 0.0, 0.0, 4000.0, 1.0),
      right(items, "右", 0.0, 0.0, 4000.0, 1.0),
      fill(items, "塗りつぶし", false) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicExpand::create() const { return std::make_shared<BasicExpand>(); }

}  // namespace Effect
