// The constants of "クロマキー" and the step its applying shaders share. The key map that
// they read as "diffmap" holds per pixel x: how far the pixel's saturation and hue lie from
// the key's, yz: the pixel's (U, V), alpha: the coverage the key leaves.
#include "luma_chroma.hlsli"

cbuffer constant0 : register(b0) {
  float keyH;
  float keyS;
  float lenH;
  float lenS;
  float keyU;
  float keyV;
  int range;
  float divie;
  float correct;
  float transparent;
};

// The texel keyed by `factor`; where the map says the pixel lies near the key's colour
// (0.001 <= x * correct < 1), its colour difference is first pushed away from the key's so
// that a fringe of the key colour does not tint what stays.
float4 keyed(float4 texel, float4 m, float factor) {
  const float c = m.x * correct;
  if (!(c >= 0.001 && c < 1.0) || texel.a < kVisibleAlpha) return texel * factor;
  const float2 key = float2(keyU, keyV);
  const float2 uv = clamp((m.yz - key) / c + key, -0.5, 0.5);
  const float y = lumaChroma(texel.rgb / texel.a).x;
  return float4(fromLumaChroma(float3(y, uv)) * texel.a, texel.a) * factor;
}
