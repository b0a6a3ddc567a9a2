// The key map of "クロマキー" (and of "特定色域変換"): from the straight colour's (U, V), its
// hue h = atan2(U, V) / pi against keyH as a distance round the circle, and its saturation
// s = |(U, V)| against keyS. Transparent texels give an empty map.
#include "chroma_key.hlsli"

Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  if (texel.a < kVisibleAlpha) return float4(0.0, 0.0, 0.0, 0.0);
  const float2 uv = lumaChroma(texel.rgb / texel.a).yz;
  // Greys come out of the conversion with rounding noise in (U, V), so a saturation of 1e-5
  // or less (far below what a half-float picture holds as colour) counts as grey: no
  // saturation, and hue 0 (atan2 of two zeros is not defined on GPUs either).
  float s = length(uv);
  if (s <= 1.0e-5) s = 0.0;
  const float hue = s > 0.0 ? atan2(uv.x, uv.y) * 0.31830988618379067 : 0.0;
  const float h = abs(hue - keyH);
  const float dh = h >= 1.0 ? 2.0 - h : h;
  const float hueOut = max(dh - lenH, 0.0);
  // Beyond 1 the distance only matters through x * correct (1 or more: no colour
  // correction); it is held at 1024 so that a grey key (keyS 0) gives no infinity, which the
  // map's half floats could not hold anyway.
  const float saturationOff = min(abs(keyS - s) / max(keyS, 1.0e-6), 1024.0);
  return float4(max(saturationOff, 8.0 * hueOut), uv,
                min(8.0 * (hueOut + max(abs(s - keyS) - lenS, 0.0)), 1.0));
}
