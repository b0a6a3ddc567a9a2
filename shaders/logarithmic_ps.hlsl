// The inverse of the exponential spread: (ln(rgb) - 1) x baseInverse, alpha kept.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float baseInverse;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  return float4((log(texel.rgb) - 1.0) * baseInverse, texel.a);
}
