#include "builtin/filter/gradation_filter.h"

#include "builtin/choice_lists.h"
#include "builtin/item_links.h"

namespace Effect {

GradationShaders::GradationShaders()
    : FilterShaderSet({"gradation_ps"}, {},
                      sizeof(GradationFilter::Constants)) {}

GradationFilter::GradationFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      angle(items, "角度", 0.0, -3600.0, 3600.0, 0.01),
      width(items, "幅", 100.0, 0.0, 2000.0, 1.0),
      blendMode(items, "合成モード", 0, BlendModeList()),
      shape(items, "形状", 0, GradationShapeList()),
      startColor(items, "開始色", 0xFFFFFF, ItemType::ColorOrNone),
      endColor(items, "終了色", EffectItemColor::kNoColor, ItemType::ColorOrNone) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "色調整";
}

std::shared_ptr<EffectBase> GradationFilter::create() const {
  return std::make_shared<GradationFilter>();
}

}  // namespace Effect
