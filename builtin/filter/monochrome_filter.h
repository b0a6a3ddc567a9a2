#pragma once
// "単色化": tints the picture towards one colour.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The shaders of "単色化" and their constant buffer (MonochromeFilter::Constants).
class MonochromeShaders : public FilterShaderSet {
 public:
  MonochromeShaders();
};

class MonochromeFilter : public ShaderFilter<MonochromeFilter, MonochromeShaders> {
 public:
  static constexpr const char* kName = "単色化";

  MonochromeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // Luma and colour difference moved towards the colour's by the strength (the luma kept
  // when asked); a new image of the same size. Without strength the picture comes back.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shader.
  enum Shader : std::size_t { kMonochromeShader };
  // Its "constant0".
  struct Constants {
    float level[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // share towards the colour per Y, U, V
    float yuv[3] = {0.0f, 0.0f, 0.0f};          // the colour, straight (Y, U, V)
    float unused = 0.0f;
  };
  static_assert(sizeof(Constants) == 32);

  EffectItemNumber strength;
  EffectItemColor color;
  EffectItemCheck keepLuminance;
};

}  // namespace Effect
