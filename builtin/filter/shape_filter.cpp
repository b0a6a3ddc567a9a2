#include "builtin/filter/shape_filter.h"

namespace Effect {

SharpenShaders::SharpenShaders()
    : FilterShaderSet({"sharpen_ps"}, {}, 0) {}

ShapeFilter::ShapeFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 50.0, 0.0, 800.0, 0.1),
      range(items, "範囲", 5.0, 0.0, 100.0, 1.0) {
  label = "加工";
}

std::shared_ptr<EffectBase> ShapeFilter::create() const { return std::make_shared<ShapeFilter>(); }

}  // namespace Effect
