// The light filter's box windows: sums of 2 range + 1 texels along a row or a column,
// positions outside the picture counting as transparent black.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float4 color;   // the light's colour
  int range;      // the window's radius
  float divive;   // the weight of one texel: strength over the window's length
};

// The sum of the window that starts `first` radii before the pixel along `axis`.
float4 windowSum(float4 position, int2 axis, int first) {
  const int2 start = int2(position.xy) + axis * (first * range);
  float4 sum = float4(0, 0, 0, 0);
  for (int i = 0; i <= 2 * range; ++i) sum += loadOrClear(texture0, start + axis * i);
  return sum;
}
