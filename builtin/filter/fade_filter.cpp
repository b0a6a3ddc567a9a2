#include "builtin/filter/fade_filter.h"

namespace Effect {

FadeFilter::FadeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      fadeIn(items, "イン", 0.5, 0.0, 10.0, 0.01),
      fadeOut(items, "アウト", 0.5, 0.0, 10.0, 0.01) {
  label = "切り替え効果";
}

std::shared_ptr<EffectBase> FadeFilter::create() const { return std::make_shared<FadeFilter>(); }

}  // namespace Effect
