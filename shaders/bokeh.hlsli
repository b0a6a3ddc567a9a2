// The lens blur: a mean of N x N taps weighted by the alpha of the kernel image "mask" at
// (i, j). The taps run right along a row and up from row to row. The including file defines
// BOKEH_TAP(from, i, j), the colour of tap (i, j) for the pixel at `from`.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);
Texture2D mask : register(t1);

cbuffer constant0 : register(b0) {
  float2 offset;
  float2 step;
  float2 ratio;
  int sampleNum;  // N
};

float4 main(float4 position : SV_Position) : SV_Target {
  float4 sum = float4(0, 0, 0, 0);
  float weights = 0.0;
  for (int j = 0; j < sampleNum; ++j)
    for (int i = 0; i < sampleNum; ++i) {
      const float weight = loadOrClear(mask, int2(i, j)).a;
      if (weight == 0.0) continue;
      sum += weight * BOKEH_TAP(position.xy, i, j);
      weights += weight;
    }
  // A kernel without weight leaves the picture unblurred: the tap in the kernel's middle.
  if (weights == 0.0) {
    const int middle = max(sampleNum - 1, 0) / 2;
    return BOKEH_TAP(position.xy, middle, middle);
  }
  return sum / weights;
}
