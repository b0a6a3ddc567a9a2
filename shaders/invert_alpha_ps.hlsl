// Inverts the transparency: the straight colour keeps its hue at alpha 1 - alpha, and a
// fully transparent pixel, which has no colour, becomes opaque white.
Texture2D texture0 : register(t0);

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(int2(position.xy), 0));
  if (texel.a < 0.001) return float4(1, 1, 1, 1);
  const float alpha = 1.0 - texel.a;
  return float4(texel.rgb / texel.a * alpha, alpha);
}
