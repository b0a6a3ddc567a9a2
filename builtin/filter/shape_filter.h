#pragma once
// "シャープ": sharpens the picture with an unsharp mask.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_number.h"

namespace Effect {

// What "シャープ"'s shader reads ("constant0"), in the shared 16-byte buffer; the blurred
// picture is the second input.
struct SharpenConstants {
  float level = 0.0f;  // how far the picture moves away from the blur
  float unused[3] = {0.0f, 0.0f, 0.0f};
};
static_assert(sizeof(SharpenConstants) == 16);

// The shaders of "シャープ", loaded on first use.
class SharpenShaders : public FilterShaderSet {
 public:
  SharpenShaders();
};

class ShapeFilter : public ShaderFilter<ShapeFilter, SharpenShaders> {
 public:
  static constexpr const char* kName = "シャープ";

  ShapeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // The picture pushed away from its blur (the registered "ぼかし" at the range, edges
  // repeated), kept within each pixel's alpha; a new image of the same size. Without
  // strength the picture comes back as it is.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber strength;
  EffectItemNumber range;
};

}  // namespace Effect
