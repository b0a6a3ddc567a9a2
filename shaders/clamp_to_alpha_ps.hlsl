// A premultiplied image made valid for 8-bit targets: each channel c becomes min(a, max(c, 0)),
// so that no colour exceeds its pixel's alpha and none is negative.
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  return min(texel.aaaa, max(texel, 0.0));
}
