#include "builtin/filter/wipe_filter.h"

#include "builtin/drawing_lists.h"

namespace Effect {

WipeFilter::WipeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      wipeIn(items, "イン", 0.5, 0.0, 10.0, 0.01),
      wipeOut(items, "アウト", 0.5, 0.0, 10.0, 0.01),
      blur(items, "ぼかし", 2.0, 0.0, 100.0, 1.0),
      kind(items, "ワイプの種類", 0, transitionChoices()),
      keepAspect(items, "縦横比固定", true),
      invertIn(items, "反転(イン)", false),
      invertOut(items, "反転(アウト)", false) {
  label = "切り替え効果";
}

std::shared_ptr<EffectBase> WipeFilter::create() const { return std::make_shared<WipeFilter>(); }

}  // namespace Effect
