#pragma once
// "ルミナンスキー": makes pixels transparent by their luminance.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

// The shaders of "ルミナンスキー" and their constant buffer (LuminanceKeyFilter::Constants).
class LuminanceKeyShaders : public FilterShaderSet {
 public:
  LuminanceKeyShaders();
};

class LuminanceKeyFilter : public ShaderFilter<LuminanceKeyFilter, LuminanceKeyShaders> {
 public:
  static constexpr const char* kName = "ルミナンスキー";

  LuminanceKeyFilter();
  std::shared_ptr<EffectBase> create() const override;
  // Each pixel's coverage scaled by where its luma lies against the reference, by the
  // mode; a new image of the same size.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The shader. Its constants fit the built-in shader list's shared 16-byte buffer, which
  // the draws use: the class has no buffer of its own.
  enum Shader : std::size_t { kKeyShader };
  struct Constants {
    int32_t type = 0;      // a value of LuminanceKeyModeList
    float offset = 0.0f;   // the reference luma
    float range = 0.0f;    // the ramps' width in luma
    float unused = 0.0f;
  };
  static_assert(sizeof(Constants) == 16);

  EffectItemNumber baseLuminance;
  EffectItemNumber luminanceRange;
  EffectItemSelect mode;
};

}  // namespace Effect
