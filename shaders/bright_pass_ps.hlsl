// The bright part of the input for a glow: weighted by how far its luma is above the
// threshold, limited.
Texture2D texture0 : register(t0);

cbuffer constant0 : register(b0) {
  float threshold;
  float ratio;
  float limit;
};

float4 main(float4 position : SV_Position) : SV_Target {
  const float4 texel = texture0.Load(int3(position.xy, 0));
  const float luma = dot(texel.rgb, float3(0.299, 0.587, 0.114));
  const float weight = max(luma - threshold, 0.0) * ratio;
  return float4(min(texel.rgb * weight, limit), min(weight, 1.0));
}
