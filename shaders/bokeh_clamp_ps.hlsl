// Lens blur by whole pixels with the edge texels repeated outside the picture.
#include "texel_fetch.hlsli"

float4 bokehTap(Texture2D image, float2 offset, float2 position, int i, int j) {
  uint width, height;
  image.GetDimensions(width, height);
  const int2 at = int2(floor(position + offset));
  return loadOrClear(image, clamp(int2(at.x + i, at.y - 1 - j), int2(0, 0),
                                  int2(width, height) - 1));
}
#define BOKEH_TAP(from, i, j) bokehTap(texture0, offset, from, i, j)
#include "bokeh.hlsli"
