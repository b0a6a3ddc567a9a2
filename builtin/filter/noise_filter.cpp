#include "builtin/filter/noise_filter.h"

#include "builtin/choice_lists.h"

namespace Effect {

NoiseShaders::NoiseShaders()
    : FilterShaderSet({"noise_ps"}, {}, sizeof(NoiseConstants)) {}

NoiseFilter::NoiseFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 200.0, 0.1),
      speedX(items, "速度X", 0.0, -800.0, 800.0, 0.1),
      speedY(items, "速度Y", 0.0, -800.0, 800.0, 0.1),
      changeSpeed(items, "変化速度", 0.0, 0.0, 800.0, 0.1),
      cycleX(items, "周期X", 1.0, 0.0, 100.0, 0.01),
      cycleY(items, "周期Y", 1.0, 0.0, 100.0, 0.01),
      threshold(items, "しきい値", 0.0, 0.0, 100.0, 0.1),
      seed(items, "シード", 0, 0, 100),
      composite(items, "合成モード", 0, NoiseCompositeList()),
      kind(items, "ノイズの種類", 0, NoiseTypeList()) {
  label = "加工";
}

std::shared_ptr<EffectBase> NoiseFilter::create() const { return std::make_shared<NoiseFilter>(); }

}  // namespace Effect
