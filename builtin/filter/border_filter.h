#pragma once
// "縁取り": draws a coloured outline around the opaque part of the picture.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What the shaders of "縁取り" read ("constant0").
struct BorderConstants {
  float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // the border colour, premultiplied
  float offset[2] = {0.0f, 0.0f};  // texel shader: pixels; sampled one: texture units
  float step[2] = {0.0f, 0.0f};    // sampled shader: between neighbours, texture units
  float ratio[2] = {0.0f, 0.0f};   // sampled shader: texture units per pixel
  int32_t range = 0;               // neighbours either side
  float inverseRange = 0.0f;       // 1 / range
  float limit = 0.0f;              // the weighted alpha at which the border is full
  float unused[3] = {0.0f, 0.0f, 0.0f};
};
static_assert(sizeof(BorderConstants) == 64);

// The shaders of "縁取り", loaded on first use.
class BorderShaders : public FilterShaderSet {
 public:
  BorderShaders();
};

class BorderFilter : public ShaderFilter<BorderFilter, BorderShaders> {
 public:
  // The shaders: reading texels at the picture's own size, or sampling a picture of
  // another size.
  enum Shader : std::size_t { kTexelShader, kSampledShader };

  static constexpr const char* kName = "縁取り";

  BorderFilter();
  // The largest size drawn texel by texel; beyond it the outline is drawn from a shrunk copy
  // so that its window stays about twice this wide.
  static constexpr int kTexelRangeLimit = 40;

  std::shared_ptr<EffectBase> create() const override;
  // The picture over its outline, the output larger by the size on every side.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The outline alone, (width + 2 size) x (height + 2 size): the colour where the picture's
  // alpha, weighted down with distance up to the size, reaches the limit that the blur
  // (percent) raises, eased in below it. The colour is premultiplied.
  OwnedImage makeBorder(Media::ResourceBuffer& input, int size, int blur, const float (&color)[4]);
  // The picture reduced by `factor` each way (rows first, then columns), each texel the
  // mean of `factor` texels with the edge repeated.
  static OwnedImage shrink(Media::ResourceBuffer& input, int factor);

  EffectItemNumber size;
  EffectItemNumber blur;
  EffectItemColor color;
};

}  // namespace Effect
