// A box sum of the alpha alone along one axis (ALPHA_AXIS 0 horizontal, 1 vertical), times
// that axis's divisor; the result is black with the mean as alpha. Transparent outside.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int2 range;     // the radius per axis
  float2 divive;  // 1 / (2r + 1) per axis
};

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 pixel = int2(position.xy);
  const int2 axis = ALPHA_AXIS == 0 ? int2(1, 0) : int2(0, 1);
  const int r = range[ALPHA_AXIS];
  float sum = 0.0;
  for (int i = -r; i <= r; ++i) sum += loadOrClear(texture0, pixel + axis * i).a;
  return float4(0, 0, 0, sum * divive[ALPHA_AXIS]);
}
