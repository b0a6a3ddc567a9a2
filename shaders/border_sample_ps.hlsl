// The border read from a picture of another size: as the texel version, with bilinear
// samples from the pixel's place in that picture, a step apart.
#include "border_weight.hlsli"

SamplerState sampler0 : register(s0);
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  const float2 centre = position.xy * ratio + offset;
  float sum = 0.0;
  for (int y = -range; y <= range; ++y)
    for (int x = -range; x < range; ++x)
      sum += texture0.SampleLevel(sampler0, centre + float2(x, y) * step, 0).a *
             neighbourWeight(x, y);
  return borderColor(sum);
}
