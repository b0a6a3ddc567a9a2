#include "builtin/filter/flash_filter.h"

#include "builtin/choice_lists.h"

namespace Effect {

FlashFilter::FlashFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      x(items, "X", 0.0, -2000.0, 2000.0, 0.1),
      y(items, "Y", 0.0, -2000.0, 2000.0, 0.1),
      composite(items, "合成モード", 0, FlashCompositeList()),
      lightColor(items, "光色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      fixedSize(items, "サイズ固定", false) {
  label = "光効果";
}

std::shared_ptr<EffectBase> FlashFilter::create() const { return std::make_shared<FlashFilter>(); }

}  // namespace Effect
