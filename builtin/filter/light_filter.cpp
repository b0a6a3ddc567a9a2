#include "builtin/filter/light_filter.h"

namespace Effect {

LightFilter::LightFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 300.0, 0.1),
      spread(items, "拡散", 25.0, 0.0, 500.0, 1.0),
      ratio(items, "比率", 0.0, -100.0, 100.0, 0.1),
      backlight(items, "逆光", false),
      color(items, "色", 0xFFFFFF) {
  label = "光効果";
}

std::shared_ptr<EffectBase> LightFilter::create() const { return std::make_shared<LightFilter>(); }

}  // namespace Effect
