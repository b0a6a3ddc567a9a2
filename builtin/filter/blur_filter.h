#pragma once
// "放射ブラー": smears each pixel towards a centre, as in a zoom. Its routine also serves the
// flash filter and the scene change, with their own range, centre and size flag.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The radial blur's shader and its 32-byte constants (BlurFilter::RadialConstants).
class RadialBlurShaders : public FilterShaderSet {
 public:
  RadialBlurShaders();
};

class BlurFilter : public ShaderFilter<BlurFilter, RadialBlurShaders> {
 public:
  static constexpr const char* kName = "放射ブラー";

  // The radial shader's constants.
  struct RadialConstants {
    int32_t sampleNum;   // N, texels averaged per pixel
    float sampleStep;    // share of the way to the centre covered by one step
    float center[2];     // in input pixels
    float offset[2];     // input position of the output's first pixel (0 or negative)
    float padding[2];
  };
  static_assert(sizeof(RadialConstants) == 32);

  // Where the radial blur of a w x h image puts its output, and how it samples.
  struct RadialLayout {
    int left = 0, top = 0, right = 0, bottom = 0;  // the output, in input pixels
    int sampleNum = 0;
    float sampleStep = 0.0f;
    float center[2] = {0.0f, 0.0f};  // in input pixels
    float shift[2] = {0.0f, 0.0f};   // subtracted from the picture's centre offset
  };
  // `range` in percent, 0 exclusive to 99 (larger ranges are taken as 99).
  static RadialLayout radialLayout(int width, int height, float range, float centerX,
                                   float centerY, bool fixedSize);

  BlurFilter();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The radial blur of `input` (not consumed) with the shaders of `holder`'s resource:
  // `range` in percent (below 100) of the way to the centre, the centre moved by
  // (centerX, centerY) from the image's middle. Unless `fixedSize`, the image grows so that
  // nothing smeared outwards is cut off, each side at most 16384, and (cx, cy), the
  // picture's centre offset, moves so that the picture stays in place. A range of 0 or less
  // gives a copy of the input.
  static OwnedImage radialBlur(BlurFilter& holder, Media::ResourceBuffer& input, float& cx,
                               float& cy, float range, float centerX, float centerY,
                               bool fixedSize);

  EffectItemNumber range;
  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemCheck fixedSize;
};

}  // namespace Effect
