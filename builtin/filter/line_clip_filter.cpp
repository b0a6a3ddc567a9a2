#include "builtin/filter/line_clip_filter.h"

#include "builtin/item_links.h"

namespace Effect {

LineClipShaders::LineClipShaders()
    : FilterShaderSet({"line_clip_edge_ps", "line_clip_band_ps"}, {},
                      sizeof(LineClipFilter::Constants)) {}

LineClipFilter::LineClipFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      angle(items, "角度", 0.0, -3600.0, 3600.0, 0.01),
      blur(items, "ぼかし", 1.0, 0.0, 2000.0, 1.0),
      width(items, "幅", 0.0, -2000.0, 2000.0, 1.0) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "クリッピング";
}

std::shared_ptr<EffectBase> LineClipFilter::create() const {
  return std::make_shared<LineClipFilter>();
}

}  // namespace Effect
