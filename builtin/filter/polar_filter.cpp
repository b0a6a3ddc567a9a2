#include "builtin/filter/polar_filter.h"

namespace Effect {

PolarShaders::PolarShaders()
    : FilterShaderSet({"polar_ps"}, {}, sizeof(PolarConstants)) {}

PolarFilter::PolarFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerWidth(items, "中心幅", 0.0, 0.0, 2000.0, 1.0),
      zoom(items, "拡大率", 100.0, 100.0, 800.0, 0.01),
      rotation(items, "回転", 0.0, -3600.0, 3600.0, 0.01),
      swirl(items, "渦巻", 0.0, -8.0, 8.0, 0.001) {
  label = "変形";
}

std::shared_ptr<EffectBase> PolarFilter::create() const { return std::make_shared<PolarFilter>(); }

}  // namespace Effect
