#include "builtin/filter/angle_clip_filter.h"

#include "builtin/item_links.h"

namespace Effect {

AngleClipShaders::AngleClipShaders()
    : FilterShaderSet({"angle_clip_outside_ps", "angle_clip_inside_ps"}, {},
                      sizeof(AngleClipFilter::Constants)) {}

AngleClipFilter::AngleClipFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      baseAngle(items, "基準角", 0.0, -3600.0, 3600.0, 0.01),
      rangeAngle(items, "範囲角", 90.0, -360.0, 360.0, 0.01),
      blur(items, "ぼかし", 1.0, 0.0, 2000.0, 1.0),
      centerOnBase(items, "基準角を中央にする", false) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "クリッピング";
}

std::shared_ptr<EffectBase> AngleClipFilter::create() const {
  return std::make_shared<AngleClipFilter>();
}

}  // namespace Effect
