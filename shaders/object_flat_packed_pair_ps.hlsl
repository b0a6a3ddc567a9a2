// A picture still in packed pixel pairs drawn flat with no blend mode where every pixel
// covers at most about one texel, linearly filtered: the colour conversion runs here, on the
// pixels the draw samples, instead of in a full-frame pass into a working-format copy first.
// The four pixels around the coordinate are weighed as linear filtering weighs them.
#include "packed_pair_sample.hlsli"

float4 main(float4 position : SV_Position, [[vk::location(0)]] float3 texcoord : TEXCOORD) : SV_Target {
  const float2 corner = texcoord.xy * float2(size) - 0.5;
  const float2 first = floor(corner);
  const float2 weight = corner - first;
  const int2 p = int2(first);
  const float4 top = lerp(pixelColour(p), pixelColour(p + int2(1, 0)), weight.x);
  const float4 bottom = lerp(pixelColour(p + int2(0, 1)), pixelColour(p + int2(1, 1)), weight.x);
  return lerp(top, bottom, weight.y) * texcoord.z;
}
