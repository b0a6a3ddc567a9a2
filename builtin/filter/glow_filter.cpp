#include "builtin/filter/glow_filter.h"

#include "builtin/choice_lists.h"

namespace Effect {

GlowShaders::GlowShaders()
    : FilterShaderSet({"glow_ps"}, {}, sizeof(StreakConstants)) {}

GlowFilter::GlowFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 40.0, 0.0, 500.0, 0.01),
      spread(items, "拡散", 50.0, 0.0, 500.0, 1.0),
      angle(items, "角度", 25.0, -3600.0, 3600.0, 0.01),
      threshold(items, "しきい値", 80.0, 0.0, 200.0, 0.1),
      ratio(items, "比率", 100.0, 0.0, 100.0, 0.1),
      blur(items, "ぼかし", 1.0, 0.0, 50.0, 1.0),
      shape(items, "形状", 1, GlowShapeList()),
      lightColor(items, "光色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      lightOnly(items, "光成分のみ", false),
      fixedSize(items, "サイズ固定", false) {
  label = "光効果";
}

std::shared_ptr<EffectBase> GlowFilter::create() const { return std::make_shared<GlowFilter>(); }

}  // namespace Effect
