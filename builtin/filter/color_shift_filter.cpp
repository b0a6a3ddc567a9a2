#include "builtin/filter/color_shift_filter.h"

#include "builtin/choice_lists.h"

namespace Effect {

ColorShiftShaders::ColorShiftShaders()
    : FilterShaderSet({"color_shift_ps"}, {}, sizeof(ColorShiftConstants)) {}

ColorShiftFilter::ColorShiftFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      shift(items, "ずれ幅", 5.0, 0.0, 2000.0, 0.1),
      angle(items, "角度", 90.0, -3600.0, 3600.0, 0.01),
      strength(items, "強さ", 100.0, 0.0, 100.0, 1.0),
      kind(items, "色ずれの種類", 0, ColorShiftTypeList()) {
  label = "光効果";
}

std::shared_ptr<EffectBase> ColorShiftFilter::create() const {
  return std::make_shared<ColorShiftFilter>();
}

}  // namespace Effect
