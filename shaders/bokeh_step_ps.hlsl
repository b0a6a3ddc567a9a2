// Lens blur by whole pixels: tap (i, j) is the texel at (x + i, y - 1 - j), (x, y) being
// the pixel moved by the offset; transparent outside the picture.
#include "texel_fetch.hlsli"

float4 bokehTap(Texture2D image, float2 offset, float2 position, int i, int j) {
  const int2 at = int2(floor(position + offset));
  return loadOrClear(image, int2(at.x + i, at.y - 1 - j));
}
#define BOKEH_TAP(from, i, j) bokehTap(texture0, offset, from, i, j)
#include "bokeh.hlsli"
