#include "builtin/filter/border_blur_filter.h"

namespace Effect {

BorderBlurShaders::BorderBlurShaders()
    : FilterShaderSet({"border_blur_edge_ps", "border_blur_mask_ps", "border_blur_alpha_h_ps",
                       "border_blur_alpha_v_ps"},
                      {}, sizeof(BorderBlurConstants)) {}

BorderBlurFilter::BorderBlurFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 5.0, 0.0, 1000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      alphaBorder(items, "透明度の境界をぼかす", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BorderBlurFilter::create() const {
  return std::make_shared<BorderBlurFilter>();
}

}  // namespace Effect
