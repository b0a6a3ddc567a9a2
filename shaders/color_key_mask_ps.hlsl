// "カラーキー" mask: black, opaque unless each of the straight colour's Y, U and V lies
// within its half-width of the key's. Transparent texels give an empty mask.
#include "color_key.hlsli"
#include "luma_chroma.hlsli"

Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  if (texel.a < kVisibleAlpha) return float4(0.0, 0.0, 0.0, 0.0);
  const bool3 outside = abs(lumaChroma(texel.rgb / texel.a) - key) >= len;
  return float4(0.0, 0.0, 0.0, any(outside) ? 1.0 : 0.0);
}
