#pragma once
// "拡散光": lays a blurred, brightened copy of the picture over itself.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

struct DiffusionConstants {
  int32_t offset[2];  // the frame position of the picture's first pixel
  float level;        // scale of the result
  float padding;
};
static_assert(sizeof(DiffusionConstants) == 16);

// The diffusion light's shader and its 16-byte constants (DiffusionConstants).
class DiffusionShaders : public FilterShaderSet {
 public:
  DiffusionShaders();
};

class DiffusionFilter : public ShaderFilter<DiffusionFilter, DiffusionShaders> {
 public:
  static constexpr const char* kName = "拡散光";

  DiffusionFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture with a copy blurred by "拡散" laid over it at the level of "強さ"; the
  // image grows by the blur unless "サイズ固定".
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber strength;
  EffectItemNumber spread;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
