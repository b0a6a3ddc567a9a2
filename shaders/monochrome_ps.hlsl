// "単色化": the premultiplied colour's (Y, U, V) moved towards `yuv` (a straight colour, so
// scaled by the texel's alpha) by `level` per component; alpha unchanged.
#include "luma_chroma.hlsli"

Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float4 level;
  float3 yuv;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  float3 ycc = lumaChroma(texel.rgb);
  ycc += level.xyz * (yuv * texel.a - ycc);
  return float4(fromLumaChroma(ycc), texel.a);
}
