// Mirrors the picture: each pixel takes the texel at its position times `step` plus
// `offset`, so a step of -1 with an offset of the last index reverses that axis.
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  int2 offset;
  int2 step;
};

float4 main(float4 position : SV_Position) : SV_Target {
  return loadOrClear(texture0, int2(position.xy) * step + offset);
}
