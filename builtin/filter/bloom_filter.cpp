#include "builtin/filter/bloom_filter.h"

namespace Effect {

BloomFilter::BloomFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 500.0, 0.1),
      spread(items, "拡散", 250.0, 10.0, 1000.0, 1.0),
      threshold(items, "しきい値", 80.0, 0.0, 200.0, 0.1),
      spreadSpeed(items, "拡散速度", 0.0, 0.0, 60.0, 1.0),
      lightColor(items, "光色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      fixedSize(items, "サイズ固定", false) {
  label = "光効果";
}

std::shared_ptr<EffectBase> BloomFilter::create() const { return std::make_shared<BloomFilter>(); }

}  // namespace Effect
