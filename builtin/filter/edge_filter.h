#pragma once
// "エッジ抽出": draws the edges of the picture in one colour.
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

// The shaders of "エッジ抽出" and their constant buffer (EdgeFilter::Constants).
class EdgeShaders : public FilterShaderSet {
 public:
  EdgeShaders();
};

class EdgeFilter : public ShaderFilter<EdgeFilter, EdgeShaders> {
 public:
  static constexpr const char* kName = "エッジ抽出";

  EdgeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The edges of the luma when its check is set, else of the coverage when that one is,
  // else of the whole colour; drawn into a new image of the same size.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;
  // Keeps the two edge checks exclusive: the one just switched on switches the other off.
  bool editEvent(EffectEventParam& event) override;

  // The shaders, in creation order: edges of the colour (Y, U and V), of the luma, of the
  // coverage.
  enum Shader : std::size_t { kColorShader, kLumaShader, kAlphaShader };
  // Their "constant0". A gradient's magnitude is the length of the unnormalised Prewitt pair.
  struct Constants {
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // premultiplied
    float limit = 0.0f;  // magnitude below which nothing is drawn
    float ratio = 0.0f;  // coverage per magnitude above the limit
    float unused[2] = {0.0f, 0.0f};
  };
  static_assert(sizeof(Constants) == 32);

  EffectItemNumber strength;
  EffectItemNumber threshold;
  EffectItemColor color;
  EffectItemCheck luminanceEdges;
  EffectItemCheck alphaEdges;
};

}  // namespace Effect
