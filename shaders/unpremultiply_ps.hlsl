// Premultiplied alpha to straight: (rgb / a, a); a transparent pixel becomes (0, 0, 0, 0).
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  return texel.a > 0.0 ? float4(texel.rgb / texel.a, texel.a) : float4(0.0, 0.0, 0.0, 0.0);
}
