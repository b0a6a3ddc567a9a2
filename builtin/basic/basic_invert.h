#pragma once
// "反転": mirrors the picture and inverts its luminance, hue and transparency.
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"

namespace Effect {

// The three stages' shaders: mirror, colour, alpha. Their constants go into the shared
// 16-byte buffer of the built-in shader list.
class InvertShaders : public FilterShaderSet {
 public:
  InvertShaders();
};

class BasicInvert : public ShaderFilter<BasicInvert, InvertShaders> {
 public:
  static constexpr const char* kName = "反転";

  BasicInvert();
  std::shared_ptr<EffectBase> create() const override;
  // Runs the mirror, colour and alpha stages whose checks are set, in this order, each into
  // a new picture of the same size; with no check set the picture comes back untouched.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemCheck flipVertical;
  EffectItemCheck flipHorizontal;
  EffectItemCheck invertLuminance;
  EffectItemCheck invertHue;
  EffectItemCheck invertAlpha;
};

}  // namespace Effect
