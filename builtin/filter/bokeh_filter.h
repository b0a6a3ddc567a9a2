#pragma once
// "レンズブラー": convolves the picture with a figure-shaped kernel, as an out-of-focus lens.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

struct BokehConstants {
  float offset[2];  // added to the pixel (after the ratio for the sampling shader)
  float step[2];    // the sampling shader's step per tap (x) and per row (y, upwards)
  float ratio[2];   // the sampling shader's scale of the pixel position
  int32_t sampleNum;  // N: taps per row and rows
  float padding;
};
static_assert(sizeof(BokehConstants) == 32);

// The lens blur's three shaders, in this order: by whole pixels with transparency
// outside, by whole pixels with the edges repeated, and by bilinear samples at a scale; and
// their 32-byte constants (BokehConstants).
class BokehShaders : public FilterShaderSet {
 public:
  BokehShaders();
};

class BokehFilter : public ShaderFilter<BokehFilter, BokehShaders> {
 public:
  static constexpr const char* kName = "レンズブラー";

  BokehFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture's highlights spread exponentially, convolved with the figure of "形状" of
  // the radius "範囲", and gathered back by the logarithm: bright parts bloom into the
  // figure's shape as an out-of-focus lens renders them.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The figure kernels whose side 2r + 1 is at most this run texel by texel; larger ones
  // sample a reduced picture with at most this many taps per side.
  static constexpr int kDirectSide = 80;

  // `input` convolved with the figure `figure` drawn filled into a (2 radius + 1) square;
  // the picture grows by the radius on every side unless `fixedSize` (then the edges
  // repeat). Consumes the input; radius 0 returns it.
  OwnedImage bokeh(OwnedImage input, int figure, int radius, bool fixedSize);
  // `input` reduced by `factor` both ways, each texel the mean of `factor` texels per axis
  // (the last row and column repeated past the edge): rows first, then columns. A factor of
  // 1 or less returns the input.
  static OwnedImage shrink(OwnedImage input, int factor);

  EffectItemNumber range;
  EffectItemNumber lightStrength;
  EffectItemSelect shape;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
