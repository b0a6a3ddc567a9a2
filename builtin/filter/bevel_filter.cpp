#include "builtin/filter/bevel_filter.h"

namespace Effect {

BevelShaders::BevelShaders()
    : FilterShaderSet({"bevel_ps"}, {}, sizeof(BevelConstants)) {}

BevelFilter::BevelFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      width(items, "幅", 4.0, 0.0, 100.0, 1.0),
      height(items, "高さ", 1.0, 0.0, 3.0, 0.01),
      angle(items, "角度", 45.0, -3600.0, 3600.0, 0.01) {
  label = "装飾";
}

std::shared_ptr<EffectBase> BevelFilter::create() const { return std::make_shared<BevelFilter>(); }

}  // namespace Effect
