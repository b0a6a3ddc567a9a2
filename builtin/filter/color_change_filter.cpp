#include "builtin/filter/color_change_filter.h"

namespace Effect {

ColorChangeShaders::ColorChangeShaders()
    : FilterShaderSet({"color_change_ps", "color_change_border_ps"}, {},
                      sizeof(ColorChangeFilter::Constants)) {}

ColorChangeFilter::ColorChangeFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      hueRange(items, "色相範囲", 16.0, 0.0, 256.0, 1.0),
      saturationRange(items, "彩度範囲", 96.0, 0.0, 256.0, 1.0),
      borderCorrection(items, "境界補正", 1.0, 0.0, 8.0, 1.0),
      beforeColor(items, "変換前の色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      afterColor(items, "変換後の色", 0xFFFFFF, ItemType::ColorOrNone),
      colorCorrection(items, "色彩補正", false) {
  label = "色調整";
}

std::shared_ptr<EffectBase> ColorChangeFilter::create() const {
  return std::make_shared<ColorChangeFilter>();
}

}  // namespace Effect
