// Straight alpha to premultiplied: (rgb x a, a).
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  return float4(texel.rgb * texel.a, texel.a);
}
