#pragma once
// "ぼかし": softens the picture; its blur routine serves every blur of the program.
//
// The blur applies two box filters per axis: an axis radius R runs as a box of radius
// ceil(R/2) and then one of floor(R/2), vertical before horizontal, which together make a
// trapezoid-shaped kernel reaching R on each side. A box pass runs as a pixel shader (one
// fetch per texel of the window) or, when the two radii sum to 200 or more, as a compute
// shader that walks each row or column with a running sum.
#include <cstdint>
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "builtin/filter/shader_filter.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"

namespace Effect {

// The blur's twelve shaders: the six box passes (BokashiFilter::BoxPass) as pixel shaders,
// then the same six as compute shaders, and their 16-byte constants.
class BoxBlurShaders : public FilterShaderSet {
 public:
  BoxBlurShaders();
};

class BokashiFilter : public ShaderFilter<BokashiFilter, BoxBlurShaders> {
 public:
  static constexpr const char* kName = "ぼかし";

  // The box passes, (horizontal, vertical) pairs for each window; the pixel and the compute
  // shaders of the resource come in this order.
  enum BoxPass : int {
    kGrowHorizontal,         // the window that ends at the pixel: the output is 2r wider
    kGrowVertical,
    kCentredHorizontal,      // the window centred on the pixel, transparent outside
    kCentredVertical,
    kClampedHorizontal,      // the window centred on the pixel, edge texels repeated
    kClampedVertical,
    kBoxPassCount
  };
  // Edge modes of blur: grow by the radii, keep the size with transparency outside, or keep
  // the size repeating the edge. Any other value grows.
  enum Mode : int { kGrow = 0, kKeepTransparent = 1, kKeepEdge = 2 };
  // The radii sum from which blur takes the compute shaders.
  static constexpr int kComputeFrom = 200;

  // The constants every box pass reads.
  struct BoxConstants {
    int32_t width;   // of the pass's output
    int32_t height;
    int32_t range;   // the box radius r
    float divide;    // 1 / (2r + 1)
  };
  static_assert(sizeof(BoxConstants) == 16);

  // The radii per axis that `aspect` leaves of `radius`: a positive aspect shortens the
  // vertical one to trunc((1 - aspect) x radius), a negative one the horizontal one to
  // trunc((1 + aspect) x radius), in single precision and never below 0.
  struct AxisRadii {
    int vertical;
    int horizontal;
  };
  static AxisRadii axisRadii(int radius, float aspect);

  BokashiFilter();
  std::shared_ptr<EffectBase> create() const override;
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  // The blurred image. `aspect` in -1 .. 1 shortens the vertical radius when positive, the
  // horizontal one when negative. Consumes the input; radius 0 (or an empty image) returns
  // it as it is.
  OwnedImage blur(OwnedImage input, int radius, float aspect, int mode);
  // One growing box pass per axis (vertical, then horizontal): the output is 2r larger each
  // way. Radius 0 returns the input.
  OwnedImage boxBlur(OwnedImage input, int radius);
  // One box pass into a new image of width x height through the pixel or the compute
  // shader of `pass`; the compute one runs groupsX x groupsY threads, one per output row or
  // column. Radius 0 returns the input and allocates nothing.
  OwnedImage drawPass(OwnedImage input, BoxPass pass, int width, int height, int radius);
  OwnedImage dispatchPass(OwnedImage input, BoxPass pass, int width, int height, int radius,
                          uint32_t groupsX, uint32_t groupsY);

  EffectItemNumber range;
  EffectItemNumber aspect;
  EffectItemNumber lightStrength;
  EffectItemCheck fixedSize;

 private:
  // One pass of either kind along the axis of `pass`, sized from the input and the mode.
  OwnedImage runPass(OwnedImage input, BoxPass pass, int radius, bool compute);
  // The highlight expansion or compression of the light strength: a draw of one built-in
  // shader that reads its factor from the first float of the constants.
  OwnedImage drawWithFactor(Media::ResourceBuffer& input, int shader, float factor);
};

}  // namespace Effect
