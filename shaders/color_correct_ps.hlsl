// "色調補正" on the straight colour: in (Y, U, V) the luma scaled, the colour difference
// turned by `hue` radians and scaled by `chroma` (when processYUV), then each channel times
// `contrast` plus `brightness`, and clamped to [0, 1] when processSaturate. Transparent
// texels pass unchanged.
#include "luma_chroma.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float brightness;
  float contrast;
  float hue;
  float luminance;
  float chroma;
  int processSaturate;
  int processYUV;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  if (texel.a < kVisibleAlpha) return texel;
  float3 rgb = texel.rgb / texel.a;
  if (processYUV != 0) {
    const float3 ycc = lumaChroma(rgb);
    const float c = cos(hue), s = sin(hue);
    const float2 uv = float2(ycc.y * c - ycc.z * s, ycc.z * c + ycc.y * s) * chroma;
    rgb = fromLumaChroma(float3(ycc.x * luminance, uv));
  }
  rgb = rgb * contrast + brightness;
  float a = texel.a;
  if (processSaturate != 0) {
    rgb = saturate(rgb);
    a = saturate(a);
  }
  return float4(rgb * a, a);
}
