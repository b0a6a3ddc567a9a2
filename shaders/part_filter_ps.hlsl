// The part filter's blend: the filtered frame moved by an offset as the first output, and as
// the second output's alpha the brightness of the mask figure, placed, turned and sized in
// the frame; the blend state mixes the two into the frame by that weight.
#include "texel_fetch.hlsli"

SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);
Texture2D mask : register(t1);

cbuffer constant0 : register(b0) {
  int2 offset;             // from a frame pixel to the filtered image's pixel
  float2 offsetMask;       // from a frame pixel to the mask's centre
  float2 inverseMaskSize;  // one over the mask's width and height in frame pixels
  float angleS;            // sine and cosine of the mask's turn
  float angleC;
};

struct Output {
  float4 filtered : SV_Target0;
  float4 weight : SV_Target1;
};

Output main(float4 position : SV_Position) {
  Output result;
  result.filtered = loadOrClear(texture0, int2(position.xy) + offset);

  const float2 q = position.xy + offsetMask;
  const float u = (q.x * angleC + q.y * angleS) * inverseMaskSize.x + 0.5;
  const float v = (q.y * angleC - q.x * angleS) * inverseMaskSize.y + 0.5;
  const float3 shade = mask.Sample(sampler0, float2(u, v)).rgb;
  result.weight = float4(0, 0, 0, dot(shade, float3(0.299, 0.587, 0.114)));
  return result;
}
