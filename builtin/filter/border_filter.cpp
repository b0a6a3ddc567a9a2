#include "builtin/filter/border_filter.h"

namespace Effect {

// The shaders in the order of the Shader numbers.
BorderShaders::BorderShaders()
    : FilterShaderSet({"border_texel_ps", "border_sample_ps"}, {}, sizeof(BorderConstants)) {}

BorderFilter::BorderFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      size(items, "サイズ", 5.0, 0.0, 500.0, 1.0),
      blur(items, "ぼかし", 5.0, 0.0, 100.0, 1.0),
      color(items, "縁色", 0xFFFFFF) {
  label = "装飾";
}

std::shared_ptr<EffectBase> BorderFilter::create() const {
  return std::make_shared<BorderFilter>();
}

}  // namespace Effect
