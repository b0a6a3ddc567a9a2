// What both displacement shaders share: the map read at a pixel, and the area sample of
// the picture (area_sample.hlsli) that they take over the box the map moves the pixel to.
SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);
Texture2D mask : register(t1);

cbuffer constant0 : register(b0) {
  float2 offset;           // added to the pixel's position: the map's centre at 0
  float2 len;              // displacement per unit of map value
  float2 inverseMaskSize;  // 1 / the map's size in pixels
  float angleS;            // the map's rotation, sine
  float angleC;            // and cosine
  int type;                // shader 1: 0 moves the pixel, 1 scales about the centre
};

// The map's value at the pixel and at the next map texel in u, in v and in both: the
// premultiplied map colour less half its alpha, so a half-transparent grey moves nothing.
// The map lies turned by its angle over the picture: the position turns back by it.
void readMap(float2 p, out float2 values[4]) {
  const float2 turned = float2((p.x + 0.5) * angleC + (p.y + 0.5) * angleS,
                               -(p.x + 0.5) * angleS + (p.y + 0.5) * angleC);
  const float2 uv = (turned - 0.5) * inverseMaskSize + 0.5;
  const float2 steps[4] = {float2(0, 0), float2(1, 0), float2(0, 1), float2(1, 1)};
  for (int i = 0; i < 4; ++i) {
    const float4 c = mask.SampleLevel(sampler0, uv + steps[i] * inverseMaskSize, 0);
    values[i] = c.rg - c.a * 0.5;
  }
}

#include "area_sample.hlsli"
