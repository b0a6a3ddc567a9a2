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

  EffectItemNumber range;
  EffectItemNumber lightStrength;
  EffectItemSelect shape;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
