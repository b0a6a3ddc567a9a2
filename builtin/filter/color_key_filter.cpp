#include "builtin/filter/color_key_filter.h"

namespace Effect {

ColorKeyShaders::ColorKeyShaders()
    : FilterShaderSet({"color_key_mask_ps", "color_key_border_ps"}, {},
                      sizeof(ColorKeyFilter::Constants)) {}

ColorKeyFilter::ColorKeyFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      luminanceRange(items, "輝度範囲", 400.0, 0.0, 4096.0, 1.0),
      chromaRange(items, "色差範囲", 400.0, 0.0, 4096.0, 1.0),
      borderCorrection(items, "境界補正", 1.0, 0.0, 80.0, 1.0),
      keyColor(items, "基準色", EffectItemColor::kNoColor, ItemType::ColorOrNone) {
  label = "抽出";
}

std::shared_ptr<EffectBase> ColorKeyFilter::create() const {
  return std::make_shared<ColorKeyFilter>();
}

}  // namespace Effect
