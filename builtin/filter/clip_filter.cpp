#include "builtin/filter/clip_filter.h"

namespace Effect {

ClipFilter::ClipFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      top(items, "上", 0.0, 0.0, 4000.0, 1.0),
      bottom(items, "下", 0.0, 0.0, 4000.0, 1.0),
      left(items, "左", 0.0, 0.0, 4000.0, 1.0),
      right(items, "右", 0.0, 0.0, 4000.0, 1.0),
      moveCenter(items, "中心の位置を変更", false) {
  label = "クリッピング";
}

std::shared_ptr<EffectBase> ClipFilter::create() const { return std::make_shared<ClipFilter>(); }

}  // namespace Effect
