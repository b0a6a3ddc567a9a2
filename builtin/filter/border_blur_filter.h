#pragma once
// "境界ぼかし": fades the picture towards transparency near its border.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

// Constants of the border blur's shaders: the fade reads the ranges, the alpha sums the
// range and the divisor of their axis.
struct BorderBlurConstants {
  int32_t range[2];
  float divide[2];  // 1 / (2r + 1) per axis, for the alpha sums
};
static_assert(sizeof(BorderBlurConstants) == 16);

// The border blur's four shaders, in this order: the fade towards the border, the alpha
// mask cut, and the horizontal and vertical box sums of the alpha. One 16-byte buffer serves
// them all (BorderBlurConstants; the mask cut reads none).
class BorderBlurShaders : public FilterShaderSet {
 public:
  BorderBlurShaders();
};

class BorderBlurFilter : public ShaderFilter<BorderBlurFilter, BorderBlurShaders> {
 public:
  static constexpr const char* kName = "境界ぼかし";

  BorderBlurFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture faded towards its rectangular border by the radii of "範囲" and "縦横比",
  // or, with "透明度の境界をぼかす", cut where its blurred alpha falls below half; the size
  // stays.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber range;
  EffectItemNumber aspect;
  EffectItemCheck alphaBorder;
};

}  // namespace Effect
