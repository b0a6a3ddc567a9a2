// "特定色域変換": the picture ("texture0") recoloured through the key map of "クロマキー"
// ("diffmap"). Where the map's weight w is 0 the pixel takes the target colour (its luma
// scaled as the source colour's luma is to the key's); where w is 1 it stays as it is.
#include "luma_chroma.hlsli"

Texture2D texture0 : register(t0);
Texture2D diffmap : register(t1);

cbuffer constant0 : register(b0) {
  float afterY;
  float afterU;
  float afterV;
  float beforeY;
  float beforeU;
  float beforeV;
  int range;
  float divie;
  float correct;
};

// The colour of a visible texel (premultiplied) moved towards the target by 1 - w.
float4 recolour(float4 texel, float4 m, float w) {
  const float k = m.x * correct;
  const float2 before = float2(beforeU, beforeV);
  // As in the key's colour correction; a k of almost 0 leaves the map's colour as it is
  // rather than dividing by it.
  const float2 uv = k > 1.0e-6 && k < 1.0 ? clamp((m.yz - before) / k + before, -0.5, 0.5) : m.yz;
  const float y = lumaChroma(texel.rgb / texel.a).x;
  // A black pixel against a black key keeps luma 0 instead of 0 / 0.
  const float y0 = y * afterY / max(max(y, beforeY), 1.0e-6);
  const float2 after = float2(afterU, afterV);
  const float3 ycc = float3(y0 + w * (y - y0), after + w * (uv - after));
  return float4(fromLumaChroma(ycc) * texel.a, texel.a);
}
