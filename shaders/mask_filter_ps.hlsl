// "マスク" coverage: black whose alpha is the luma of the mask picture, the picture turned
// by the angle (sine, cosine) about its centre at -offset and scaled by inverseMaskSize.
#include "luma_chroma.hlsli"

SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float2 offset;
  float2 inverseMaskSize;
  float angleS;
  float angleC;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 p = position.xy + offset;
  const float2 turned = float2(angleC * p.x + angleS * p.y, -angleS * p.x + angleC * p.y);
  const float4 m = texture0.Sample(sampler0, turned * inverseMaskSize + 0.5);
  return float4(0.0, 0.0, 0.0, lumaChroma(m.rgb).x);
}
