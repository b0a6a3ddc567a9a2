#pragma once
// What every "ライトブルーム(カメラ制御)" shares: the two box-blur shaders (along x, along y)
// and their constant buffer, and the glow they add to a frame.

#include "builtin/filter/filter_shader_set.h"

namespace Media {
class RenderBuffer;
class ResourceBuffer;
}  // namespace Media

namespace Effect {

// The blur shaders' "constant0".
struct BloomBlurConstants {
  int32_t range = 0;    // texels on each side
  float divive = 0.0f;  // 1 / (2 range + 1): the mean of the box
  float unused[2] = {};
};
static_assert(sizeof(BloomBlurConstants) == 16);

class LightBloomResource {
 public:
  LightBloomResource();
  ~LightBloomResource();
  LightBloomResource(const LightBloomResource&) = delete;
  LightBloomResource& operator=(const LightBloomResource&) = delete;

  // Adds the glow of the frame's over-bright pixels (luma above 1) to the frame: the bright
  // part blurred with boxes of radius spread/16 (twice), then spread/8, spread/4 and
  // spread/2, each stage added with weight spread x strength / 800. Nothing for a strength
  // or spread of 0 or less, or a frame without texture.
  void apply(Media::RenderBuffer& frame, float strength, int spread);

  // Blurs `image` in place by a box of `range` texels on each side (none for 0), through
  // `scratch` of the same size.
  void blur(Media::ResourceBuffer& image, Media::ResourceBuffer& scratch, int range);

 private:
  // blur() with the set's lock held.
  void blurLoaded(Media::ResourceBuffer& image, Media::ResourceBuffer& scratch, int range);

  // One glow at a time: the constants are written just before the draws that read them.
  FilterShaderSet shaders_{{"bloom_blur_h_ps", "bloom_blur_v_ps"}, {}, sizeof(BloomBlurConstants)};
};

}  // namespace Effect
