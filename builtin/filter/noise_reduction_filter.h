#pragma once
// "ノイズ除去": pulls each pixel towards its similar neighbours.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What "ノイズ除去"'s shader reads ("constant0"), in the shared 16-byte buffer.
struct NoiseReductionConstants {
  int32_t range = 0;   // neighbours either side
  float level = 0.0f;  // how far the summed differences move the pixel
  float limit = 0.0f;  // threshold of a small difference
  float unused = 0.0f;
};
static_assert(sizeof(NoiseReductionConstants) == 16);

// The shaders of "ノイズ除去", loaded on first use.
class NoiseReductionShaders : public FilterShaderSet {
 public:
  NoiseReductionShaders();
};

class NoiseReductionFilter : public ShaderFilter<NoiseReductionFilter, NoiseReductionShaders> {
 public:
  static constexpr const char* kName = "ノイズ除去";

  NoiseReductionFilter();
  std::shared_ptr<EffectBase> create() const override;
  // Each visible pixel pulled towards the neighbours within the range that differ from it
  // by little; a new image of the same size. Without strength or threshold nothing would
  // move, and the picture comes back as it is.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber strength;
  EffectItemNumber range;
  EffectItemNumber threshold;
};

}  // namespace Effect
