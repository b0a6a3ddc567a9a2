#include "builtin/filter/drop_shadow_filter.h"

namespace Effect {

DropShadowFilter::DropShadowFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", -40.0, -1000.0, 1000.0, 1.0),
      y(items, "Y", 24.0, -1000.0, 1000.0, 1.0),
      density(items, "濃さ", 40.0, 0.0, 100.0, 0.1),
      spread(items, "拡散", 10.0, 0.0, 500.0, 1.0),
      color(items, "影色", 0x000000),
      separateObject(items, "影を別オブジェクトで描画", false) {
  label = "装飾";
}

std::shared_ptr<EffectBase> DropShadowFilter::create() const {
  return std::make_shared<DropShadowFilter>();
}

}  // namespace Effect
