#include "builtin/filter/noise_reduction_filter.h"

namespace Effect {

NoiseReductionShaders::NoiseReductionShaders()
    : FilterShaderSet({"noise_reduction_ps"}, {}, 0) {}

NoiseReductionFilter::NoiseReductionFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      range(items, "範囲", 2.0, 1.0, 8.0, 1.0),
      threshold(items, "しきい値", 20.0, 0.0, 200.0, 1.0) {
  label = "加工";
}

std::shared_ptr<EffectBase> NoiseReductionFilter::create() const {
  return std::make_shared<NoiseReductionFilter>();
}

}  // namespace Effect
