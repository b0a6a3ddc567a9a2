#include "builtin/filter/ripple_filter.h"

#include "builtin/item_links.h"

namespace Effect {

RippleShaders::RippleShaders()
    : FilterShaderSet({"ripple_ps"}, {}, sizeof(RippleConstants)) {}

RippleFilter::RippleFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      width(items, "幅", 30.0, 1.0, 400.0, 0.1),
      height(items, "高さ", 15.0, -400.0, 400.0, 0.1),
      speed(items, "速度", 150.0, -2000.0, 2000.0, 0.1),
      count(items, "波紋数", 0, 0, 100),
      interval(items, "波紋間隔", 0, 0, 100),
      amplification(items, "増幅減衰回数", 0, -100, 100) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "変形";
}

std::shared_ptr<EffectBase> RippleFilter::create() const {
  return std::make_shared<RippleFilter>();
}

}  // namespace Effect
