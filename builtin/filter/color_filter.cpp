#include "builtin/filter/color_filter.h"

namespace Effect {

ColorShaders::ColorShaders()
    : FilterShaderSet({"color_correct_ps"}, {},
                      sizeof(ColorFilter::Constants)) {}

ColorFilter::ColorFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      brightness(items, "明るさ", 100.0, 0.0, 200.0, 0.01),
      contrast(items, "コントラスト", 100.0, 0.0, 200.0, 0.01),
      hue(items, "色相", 0.0, -3600.0, 3600.0, 0.01),
      luminance(items, "輝度", 100.0, 0.0, 200.0, 0.01),
      saturation(items, "彩度", 100.0, 0.0, 200.0, 0.01),
      saturate(items, "飽和する", true) {
  label = "色調整";
}

std::shared_ptr<EffectBase> ColorFilter::create() const { return std::make_shared<ColorFilter>(); }

}  // namespace Effect
