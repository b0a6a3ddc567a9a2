// The picture kept where a blurred alpha mask is at least half covered:
// factor = saturate(2 x mask alpha x texel alpha - 1).
#include "texel_fetch.hlsli"

Texture2D texture0 : register(t0);
Texture2D mask : register(t1);

float4 main(float4 position : SV_Position) : SV_Target {
  const int2 pixel = int2(position.xy);
  const float4 texel = loadOrClear(texture0, pixel);
  return texel * saturate(2.0 * loadOrClear(mask, pixel).a * texel.a - 1.0);
}
