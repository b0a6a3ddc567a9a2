// One box pass of the blur as a pixel shader: the output pixel is the mean of the input
// texels in a window along one axis, one fetch per texel.
//
// The including file defines BOX_AXIS (int2(1, 0) horizontal, int2(0, 1) vertical), the
// window's ends BOX_FIRST and BOX_LAST in radii (-2 and 0: the window that ends at the
// pixel, for the passes that grow the image; -1 and 1: the window centred on it), and
// BOX_CLAMP (1: texels past the edge repeat the edge texel; 0: they are transparent).
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int width;     // of the output
  int height;
  int range;     // the box radius r
  float divive;  // 1 / (2r + 1)
};

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 pixel = int2(position.xy);
  const int2 last = int2(width, height) - 1;
  float4 sum = float4(0, 0, 0, 0);
  for (int i = BOX_FIRST * range; i <= BOX_LAST * range; ++i) {
    int2 at = pixel + BOX_AXIS * i;
#if BOX_CLAMP
    at = clamp(at, int2(0, 0), last);
#endif
    sum += loadOrClear(texture0, at);
  }
  return sum * divive;
}
