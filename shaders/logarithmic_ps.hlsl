// The inverse of the exponential spread: (ln(rgb) - 1) x baseInverse, alpha kept. The spread
// never gives less than e, so a smaller value holds the transparent black that a blur drew
// in from outside the picture: it gathers to 0, not to a negative colour (or -inf at 0).
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float baseInverse;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  return float4(max(log(max(texel.rgb, 1.0)) - 1.0, 0.0) * baseInverse, texel.a);
}
