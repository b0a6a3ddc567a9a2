// Colours spread exponentially: e^(saturate(rgb) x base + 1), alpha kept.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float base;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  return float4(exp(saturate(texel.rgb) * base + 1.0), texel.a);
}
